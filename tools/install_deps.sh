#!/usr/bin/env bash
# Installs what the build, the tests and the demo need on a Debian machine,
# only what is missing. Run as root (or with sudo available).
set -euo pipefail
. "$(dirname "$0")/versions.sh"

need_windows=${NEED_WINDOWS:-1}
need_cross=${NEED_CROSS:-1}  # the libcxx, arm64, apple, objc and macos lanes
packages=(cmake ninja-build g++ make libgtest-dev
          libxml2-utils python3 assimp-utils python3-collada python3-pil
          clang libclang-rt-14-dev xvfb xauth zip unzip)
if [ "$need_windows" = 1 ]; then
  packages+=(g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
             binutils-mingw-w64-x86-64 binutils-mingw-w64-i686 wine wine64 wine32:i386)
fi
if [ "$need_cross" = 1 ]; then
  v=$fennick_llvm
  packages+=(clang-$v lld-$v llvm-$v libc++-$v-dev libc++abi-$v-dev g++-aarch64-linux-gnu
             qemu-user libgnustep-gui-dev gobjc++)
fi

# What npm provides, once the packages are in: Apple's libc headers and
# libSystem stub for the macOS builds (pinned and hash-checked by the
# script), and the workflow validator.
npm_steps() {
  if [ "$need_cross" = 1 ]; then
    bash "$(dirname "$0")/apple_libc.sh"
  fi
  local tools
  tools=$(cd "$(dirname "$0")/.." && pwd)/.deps/npm
  if [ ! -x "$tools/node_modules/.bin/action-validator" ]; then
    npm install --silent --no-audit --no-fund --prefix "$tools" \
      @action-validator/cli@0.6.0 @action-validator/core@0.6.0
  fi
}

missing=()
# npm from Debian only where the machine has no npm of its own.
command -v npm >/dev/null 2>&1 || missing+=(npm)
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  npm_steps
  exit 0
fi

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
echo "installing: ${missing[*]}"
if printf '%s\n' "${missing[@]}" | grep -q ':i386$'; then
  $SUDO dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -q
$SUDO apt-get install -y -q "${missing[@]}"
npm_steps
