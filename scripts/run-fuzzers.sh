#!/usr/bin/env bash
# Runs every libFuzzer target of a build folder for a bounded time, seeded from fuzz/corpus/<name>.
set -euo pipefail
build=${1:?build folder}
seconds=${FUZZ_SECONDS:-10}
shopt -s nullglob
for target in "$build"/fuzz/*_fuzzer; do
  name=$(basename "$target")
  corpus=$(mktemp -d)
  seeds=fuzz/corpus/${name%_fuzzer}
  [ -d "$seeds" ] && cp -r "$seeds"/. "$corpus"/
  echo "-- $name (${seconds}s)"
  "$target" -max_total_time="$seconds" -print_final_stats=0 "$corpus" 2>&1 | tail -n 2
  rm -rf "$corpus"
done
