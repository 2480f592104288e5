#!/usr/bin/env bash
# Installs the Debian packages the builds and tests need, once; a no-op when all are present.
#   --demo   only what scripts/demo.sh needs: the native compiler, CMake and makeself
#
# 32-bit wine (wine32:i386, which runs the shipped i686 Setup.exe) comes from the i386
# architecture; install_wine32 below says how. Outside CI a failed wine32 install is a warning and
# the 32-bit end-to-end runs are skipped; with CI=true it fails the run.
set -euo pipefail

if [ "${1:-}" = --demo ]; then
  packages=(cmake ninja-build ccache g++ makeself)
else
  packages=(
    cmake ninja-build ccache g++ clang libclang-rt-14-dev clang-format clang-tidy
    libgtest-dev libgmock-dev googletest libbenchmark-dev zlib1g-dev libssl-dev
    g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
    wine64 xvfb xdotool fonts-wqy-microhei imagemagick makeself nsis
  )
fi

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo

# Every package index apt knows of (both architectures, every suite) is on disk.
indexes_present() {
  local file
  while read -r file; do
    [ -e "$file" ] || return 1
  done < <(apt-get indextargets --format '$(FILENAME)' 'Identifier: Packages')
}

# apt-get update until it fetched every index, for at most ten minutes: a mirror's index can be
# out of step with its Release file for minutes ("File has unexpected size").
update_indexes() {
  local deadline=$((SECONDS + 600))
  until $SUDO apt-get update -qq && indexes_present; do
    if ((SECONDS >= deadline)); then
      echo "install-deps: apt-get update did not fetch every index within ten minutes" >&2
      return 1
    fi
    echo "install-deps: apt-get update incomplete; trying again in 30 s" >&2
    sleep 30
  done
}

# wine32:i386 beside wine64. The wine packages are pinned to wine64's version, so that both
# halves come from one release; the plan is simulated first and refused if apt would remove
# anything (a library held in different versions for amd64 and i386 would otherwise make it
# drop wine64). The libraries they pull in come at the newest version of the release and its
# security suite, for both architectures alike, which may upgrade amd64 libraries.
install_wine32() {
  dpkg --print-foreign-architectures | grep -qx i386 || $SUDO dpkg --add-architecture i386
  update_indexes || return 1
  local version plan
  version=$(dpkg-query -W -f='${Version}' wine64 2>/dev/null) ||
    version=$(apt-cache policy wine64 | awk '/Candidate:/ { print $2 }')
  local wine=(wine64="$version" libwine="$version" libwine:i386="$version" wine32:i386="$version")
  plan=$(apt-get install -s --no-install-recommends "${wine[@]}" 2>&1) || {
    echo "$plan" >&2
    return 1
  }
  if grep '^Remv' <<<"$plan" >&2; then
    echo "install-deps: installing wine32:i386 would remove the packages above; not done" >&2
    return 1
  fi
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${wine[@]}"
}

missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done
if [ ${#missing[@]} -ne 0 ]; then
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if [ "${1:-}" != --demo ] && ! installed wine32:i386; then
  echo "Installing: wine32:i386"
  if ! install_wine32; then
    if [ "${CI:-}" = true ]; then
      echo "install-deps: failed to install wine32:i386" >&2
      exit 1
    fi
    echo "install-deps: warning: wine32:i386 not installed; the 32-bit wine checks will be skipped" >&2
  fi
fi
