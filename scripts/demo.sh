#!/usr/bin/env bash
# The main job: a whole update of a staged Vexorand machine from version 5.3 to 5.4 by the console
# edition of Setup, in a fresh temporary folder that stays for you to look at afterwards.
#
# It builds `setup` and `vextool` (release preset), stages the old installation from demo/old
# with parameter files made by `vextool dat build`, packs demo/new into a makeself installer,
# appends that payload to `setup` with `vextool pkg build`, runs the package non-interactively
# with the answers of demo/answers.txt and reports what changed on the machine.
#
#   DEMO_BUILD_DIR=DIR   use the programs of an existing build folder instead of building
#   DEMO_LANG=zh|ru      the language of the run (default zh)
#   DEMO_CLEAN_UP=1      remove the temporary folder at the end (the tests do)
#   DEMO_STAGE_ONLY=1    stop before running the package (the update benchmark runs it)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
demo="$repo/demo"
lang=${DEMO_LANG:-zh}

step() { printf '\n==== %s ====\n' "$*"; }

if [ -n "${DEMO_BUILD_DIR:-}" ]; then
  build=$DEMO_BUILD_DIR
else
  step "Building setup and vextool (release)"
  # Only the two programs: no test suites or benchmarks, so nothing else needs installing.
  "$repo/scripts/install-deps.sh" --demo
  build="$repo/build/demo"
  (cd "$repo" && cmake --preset release -B "$build" -DSETUP_BUILD_TESTS=OFF \
    -DSETUP_BUILD_BENCHMARKS=OFF >/dev/null &&
    cmake --build "$build" --target setup vextool -j "$(nproc)")
fi
setup="$build/console/setup"
vextool="$build/tools/vextool"
for tool in "$setup" "$vextool" makeself cc; do
  command -v "$tool" >/dev/null || { echo "demo: $tool is missing" >&2; exit 1; }
done

started=$(date +%s%N)
work=$(mktemp -d "${TMPDIR:-/tmp}/vexorand-demo.XXXXXX")
machine="$work/machine"
control="$machine/c/Program Files/Pelmo/Control"
cd "$work"  # vextool and setup write their logs here

step "1. Staging a machine with Vexorand 5.3 in $machine"
mkdir "$machine"
cp -R "$demo/old/." "$machine/"
# The controller blocks are laid out by the C header that vextool derives from vexorand.fmt.
# Run in the installation, whose Lang\Lang.ini names the string file of the {@n} comments.
(cd "$control" && "$vextool" fmt header vexorand.fmt) >"$work/vexorand_layout.h"
cc -std=c11 -Wall -Werror -I"$work" "$demo/controller_block.c" -o "$work/controller_block"
# Its {@120} comment comes from the string file of the language Lang\Lang.ini names.
(cd "$control" && "$vextool" fmt layout --json vexorand.fmt) |
  grep -o '"name":"m_dwOptions"[^}]*"comment":"[^"]*"' |
  sed 's/.*"comment":/m_dwOptions comment from the string file: /'

for configuration in Mill_A:mill Lathe_B:lathe; do
  name=${configuration%%:*}
  "$work/controller_block" "${configuration#*:}" >"$work/$name.bin"
  printf 'VX-%s-0042' "$name" >"$work/$name-info.bin"
  mkdir -p "$control/config/$name"
  "$vextool" dat build -o "$control/config/$name/vexorand.dat" \
    CMachineInfo="$work/$name-info.bin" CController="$work/$name.bin" >/dev/null
  cp "$control/config/$name/vexorand.dat" "$control/config/$name/vexorand.dat.bak"
  count=$("$vextool" dat dump "$control/config/$name/vexorand.dat" --fmt "$control/vexorand.fmt" \
    --lang-dir "${control#"$work"/}" |
    grep ' = ' | grep -vc '^m__df_')
  echo "config\\$name\\vexorand.dat: $count controller parameters"
done

step "2. Packing Vexorand 5.4 into a self-extracting installer (makeself)"
cp -R "$demo/new" "$work/payload"
makeself --quiet --nox11 --noprogress "$work/payload" "$work/vexorand-5.4.run" "Vexorand 5.4" \
  ./install.sh
ls -l "$work/vexorand-5.4.run" | awk '{print $5 " bytes: " $NF}'

step "3. Building the package: setup + payload + trailer (vextool pkg build)"
package="$machine/c/Users/Operator/Downloads/VexorandSetup-5.4"
mkdir -p "$(dirname "$package")"
"$vextool" pkg build --setup "$setup" --payload "$work/vexorand-5.4.run" -o "$package"
chmod +x "$package"
"$vextool" pkg verify "$package"
if [ "${DEMO_STAGE_ONLY:-0}" = 1 ]; then
  echo "Staged in $work"
  exit 0
fi

step "4. Running the package: $package --root ... --lang $lang --answers demo/answers.txt"
set +e
"$package" --root "$machine" --lang "$lang" --answers "$demo/answers.txt" 2>&1 |
  tee "$work/setup-output.txt"
status=${PIPESTATUS[0]}
set -e
echo "exit status $status"

step "Report"
"$demo/report.sh" "$machine" "$work/setup-output.txt" "$vextool" 2>"$work/report-errors.txt"
# A warning in the report means the demo itself called a tool wrongly.
if [ -s "$work/report-errors.txt" ]; then
  cat "$work/report-errors.txt" >&2
  echo "demo: the report has warnings" >&2
  status=1
fi

# The same migration offline, from the backup the update made to the 5.4 installation as its
# installer laid it down: the preview must promise what the update did, and a run of it must
# write the very amendment files the update wrote.
step "6. Preview of the same migration: vextool migrate --dry-run"
backup=$(cd "$work" && ls -d "machine/d/Backup/Pelmo "*/ | head -1)
fresh=fresh-5.4  # relative to $work, where the demo runs
cp -R "$demo/new/Pelmo" "$fresh"
"$vextool" migrate --from "$backup" --to "$fresh" --dry-run >"$work/preview.txt"
awk '/^configuration /{print} /^  (parameters|carried|dropped|not carried|left)/{print}' "$work/preview.txt"
diff -r "$demo/new/Pelmo" "$fresh" >/dev/null || { echo "demo: the dry run wrote" >&2; exit 1; }
"$vextool" migrate --from "$backup" --to "$fresh" >/dev/null
for configuration in Mill_A Lathe_B; do

  if cmp -s "$fresh/Control/config/$configuration/amend.dat" \
    "$control/config/$configuration/amend.dat"; then
    echo "  $configuration: the preview agrees with the update (amend.dat identical)"
  else
    echo "demo: the preview of $configuration disagrees with the update" >&2
    status=1
  fi
done
elapsed=$((($(date +%s%N) - started) / 100000000))
printf '\nThe demo took %d.%d s.' $((elapsed / 10)) $((elapsed % 10))
if [ "${DEMO_CLEAN_UP:-0}" = 1 ]; then
  cd / && rm -rf "$work"
  echo
else
  printf ' The staged machine stays in %s\n' "$machine"
fi
exit "$status"
