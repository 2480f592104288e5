#!/usr/bin/env bash
# Runs a command with a private, initialised wine64 prefix and a virtual display.
set -euo pipefail
if [ -z "${DISPLAY:-}" ] && command -v xvfb-run >/dev/null; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
export WINEPREFIX=${WINEPREFIX:-$PWD/build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1 || true
  /usr/lib/wine/wineserver -w || true
fi
# One server and one set of the prefix's services for the whole command. The first program of a
# session starts the services, and they inherit its output: a test's pipe would stay open until
# they quit, and a server that quits between two programs resets the connection of one starting
# just then. Started here, they hold /dev/null and live until the command ends.
/usr/lib/wine/wineserver -p
trap '/usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT
/usr/lib/wine/wine64 wineboot </dev/null >/dev/null 2>&1 || true
status=0
"$@" || status=$?
exit "$status"
