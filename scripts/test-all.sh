#!/usr/bin/env bash
# Builds every preset and runs every suite: fuzz smoke runs, the i686 Setup.exe, the wine64 suite,
# the sanitizer suite and the native suite (last, so the run ends with CTest's summary).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
jobs=$(nproc)

step() { printf '\n==== %s ====\n' "$*"; }

step "fuzz: build and run each target for a few seconds"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"
scripts/run-fuzzers.sh build/fuzz

step "win32: Setup.exe for i686, static runtime"
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$jobs"
scripts/check-imports.sh build/win32

step "win64: the test suites under wine64"
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j "$jobs"
scripts/with-wine.sh ctest --preset win64 -j "$jobs"

step "asan: the native suites under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"
ctest --preset asan -j "$jobs"

step "debug: the native suites"
cmake --preset debug >/dev/null
cmake --build --preset debug -j "$jobs"
ctest --preset debug -j "$jobs"
