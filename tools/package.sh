#!/usr/bin/env bash
# Release archives in dist/, one per platform, each holding its editions,
# public headers, the host harness, the README, a VERSION file and
# SHA256SUMS over every other file:
#   linux  fennick-VERSION-linux-x86_64.tar.gz  FennickDLL.so, FennickDLL02.so, fennick-host
#   win64  fennick-VERSION-windows-x64.zip      FennickDLL02.dll, fennick-host.exe
#   win32  fennick-VERSION-windows-x86.zip      the same for 32-bit Windows
#   macos  fennick-VERSION-macos-universal.tar.gz  FennickDLL.dylib (x86_64 for
#          macOS 10.13 and arm64 for 11.0 in one file), fennick-host, cross-built
#          with cmake/toolchain-macos-cross.cmake
# Usage: bash tools/package.sh [KIND [BUILD_DIR]] (default: all four kinds,
# each built in build-package-KIND; BUILD_DIR reuses a configured build or
# configures a new one there).
# Prints the path of each archive made.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
version=$(sed -n 's/^project(Fennick VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "no version in CMakeLists.txt" >&2; exit 1; }
mkdir -p dist

package() {  # kind [build-dir]
  local kind=$1 dir=${2:-build-package-$1} name toolchain=()
  case $kind in
    linux) name=fennick-$version-linux-x86_64 ;;
    win64) name=fennick-$version-windows-x64
           toolchain=(-DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64-w64-mingw32.cmake) ;;
    win32) name=fennick-$version-windows-x86
           toolchain=(-DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-w64-mingw32.cmake) ;;
    macos) name=fennick-$version-macos-universal
           toolchain=(-DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-macos-cross.cmake
                      "-DCMAKE_OSX_ARCHITECTURES=x86_64;arm64") ;;
    *) echo "unknown kind $kind (linux, win64, win32, macos)" >&2; return 1 ;;
  esac
  # Library folders of the host (LIBRARY_PATH) are no place for a macOS link.
  [ "$kind" = macos ] && unset LIBRARY_PATH
  if [ $# -lt 2 ] || [ ! -f "$dir/CMakeCache.txt" ]; then
    mkdir -p "$dir"
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DFENNICK_TESTS=OFF \
      -DFENNICK_BENCH=OFF "${toolchain[@]}" >"$dir/package.configure.log" 2>&1 ||
      { tail -30 "$dir/package.configure.log" >&2; rm -f "$dir/CMakeCache.txt"; return 1; }
  fi
  local targets=(fennick-host)
  case $kind in
    linux) targets+=(FennickDLL FennickDLL02) ;;
    macos) targets+=(FennickDLL) ;;
    *) targets+=(FennickDLL02) ;;
  esac
  cmake --build "$dir" --target "${targets[@]}" >/dev/null
  local stage strip=(--strip)
  # The linker signs the arm64 slice over the finished file: a strip
  # afterwards would void the signature (a release build has no debug
  # information to strip).
  [ "$kind" = macos ] && strip=()
  stage=$(mktemp -d)
  cmake --install "$dir" --prefix "$stage/$name" "${strip[@]}" >/dev/null
  echo "$version" >"$stage/$name/VERSION"
  (cd "$stage/$name" && find . -type f ! -name SHA256SUMS | sed 's|^\./||' | LC_ALL=C sort |
     xargs sha256sum >SHA256SUMS)
  local archive
  if [ "$kind" = linux ] || [ "$kind" = macos ]; then
    archive=$root/dist/$name.tar.gz
    (cd "$stage" && tar -czf "$archive" "$name")
  else
    archive=$root/dist/$name.zip
    rm -f "$archive"
    (cd "$stage" && cmake -E tar cf "$archive" --format=zip "$name")
  fi
  rm -rf "$stage"
  echo "$archive"
}

if [ $# -eq 0 ]; then
  for kind in linux win64 win32 macos; do package "$kind"; done
else
  package "$@"
fi
