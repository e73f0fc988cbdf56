#!/usr/bin/env bash
# Installs what the build, the tests and the demo need on a Debian machine,
# only what is missing. Run as root (or with sudo available).
set -euo pipefail

need_windows=${NEED_WINDOWS:-1}
packages=(cmake ninja-build g++ make libgtest-dev
          libxml2-utils python3 assimp-utils python3-collada python3-pil
          clang libclang-rt-14-dev xvfb xauth)
if [ "$need_windows" = 1 ]; then
  packages+=(g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
             binutils-mingw-w64-x86-64 binutils-mingw-w64-i686 wine wine64 wine32:i386)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
echo "installing: ${missing[*]}"
if printf '%s\n' "${missing[@]}" | grep -q ':i386$'; then
  $SUDO dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q "${missing[@]}"
