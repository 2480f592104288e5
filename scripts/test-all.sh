#!/usr/bin/env bash
# Checks the tree's format and naming, builds every preset and runs every suite: fuzz smoke runs,
# the i686 Setup.exe, the wine64 suite and the end-to-end update of the i686 Setup.exe under
# 32-bit wine (a 32-bit and a 64-bit prefix), the sanitizer suite, the optimised build's suite
# (what the console edition ships as), and the native debug suite (last, so the run ends with
# CTest's summary).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
jobs=$(nproc)

step() { printf '\n==== %s ====\n' "$*"; }
build() { cmake --preset "$1" >/dev/null && cmake --build --preset "$1" -j "$jobs"; }

step "format: every source file as clang-format writes it"
git ls-files -z '*.cpp' '*.h' ':!tests/layers/fixture' | xargs -0 clang-format --dry-run --Werror

step "fuzz: build and run each target for a few seconds"
build fuzz
scripts/run-fuzzers.sh build/fuzz

step "win32: Setup.exe for i686, static runtime (the one that ships, and the one the wine check runs)"
build win32
scripts/check-imports.sh build/win32

step "debug: native build (the tools the wine check stages with)"
build debug

step "naming: locals, parameters and members of the tree's own translation units (.clang-tidy)"
run-clang-tidy -p build/debug -quiet -j "$jobs" "^$PWD/" >build/naming.log 2>&1 ||
  { grep -E "(warning|error):" build/naming.log; echo "naming check failed (build/naming.log)"; exit 1; }

step "win64: the suites under wine64, and the i686 Setup.exe's whole update in a 32-bit and a 64-bit prefix"
build win64
scripts/with-wine.sh ctest --preset win64 -j "$jobs"

step "asan: the native suites under AddressSanitizer and UndefinedBehaviorSanitizer"
build asan
ctest --preset asan -j "$jobs"

step "release: the native suites of the optimised build"
build release
ctest --preset release -j "$jobs"

step "debug: the native suites"
ctest --preset debug -j "$jobs"
