#!/usr/bin/env bash
# The main job. Until the console edition lands this builds the tools and shows what they offer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"
build/release/tools/vextool --help
