#!/usr/bin/env bash
# Fails when a Windows executable of the build imports a DLL that Windows does not ship.
set -euo pipefail
build=${1:?build folder}
allowed='^(kernel32|user32|gdi32|shell32|shlwapi|advapi32|setupapi|comctl32|comdlg32|ole32|oleaut32|msvcrt|ws2_32|version|uxtheme)\.dll$'
status=0
shopt -s nullglob
for exe in "$build"/ui/*.exe "$build"/tools/*.exe; do
  for dll in $(i686-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ {print tolower($3)}'); do
    if ! [[ $dll =~ $allowed ]]; then
      echo "$exe imports $dll"
      status=1
    fi
  done
  echo "$(basename "$exe"): imports only system DLLs"
done
exit $status
