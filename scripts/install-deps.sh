#!/usr/bin/env bash
# Installs the Debian packages the builds and tests need, once; a no-op when all are present.
#   --demo   only what scripts/demo.sh needs: the native compiler, CMake and makeself
set -euo pipefail

if [ "${1:-}" = --demo ]; then
  packages=(cmake ninja-build ccache g++ makeself)
else
  packages=(
    cmake ninja-build ccache g++ clang libclang-rt-14-dev clang-format
    libgtest-dev libgmock-dev googletest libbenchmark-dev zlib1g-dev libssl-dev
    g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
    wine64 xvfb xdotool fonts-wqy-microhei imagemagick makeself nsis
  )
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
