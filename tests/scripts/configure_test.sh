#!/usr/bin/env bash
# The scripts configure a build folder with the generator it was made with:
# a folder the README's plain `cmake -S . -B build` made (Unix Makefiles)
# is reconfigured, not refused, and a new folder gets Ninja.
set -uo pipefail
src=${FENNICK_SOURCE:?}
command -v make >/dev/null || { echo "no make: cannot make a Unix Makefiles build"; exit 77; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$src" || exit 1
. tools/configure.sh
fail=0
opts=(-DFENNICK_TESTS=OFF -DFENNICK_BENCH=OFF)
generator_of() { sed -n 's/^CMAKE_GENERATOR:INTERNAL=//p' "$1/CMakeCache.txt"; }
cmake -S . -B "$tmp/plain" -G "Unix Makefiles" "${opts[@]}" >"$tmp/plain.log" 2>&1 ||
  { cat "$tmp/plain.log"; exit 1; }
if ! cmake_configure "$tmp/plain" "${opts[@]}" >"$tmp/again.log" 2>&1; then
  echo "FAIL: a Unix Makefiles folder was refused:"; tail -5 "$tmp/again.log"; fail=1
fi
[ "$(generator_of "$tmp/plain")" = "Unix Makefiles" ] ||
  { echo "FAIL: the folder's generator changed to $(generator_of "$tmp/plain")"; fail=1; }
if ! cmake_configure "$tmp/new" "${opts[@]}" >"$tmp/new.log" 2>&1; then
  echo "FAIL: a new folder did not configure:"; tail -5 "$tmp/new.log"; fail=1
fi
[ "$(generator_of "$tmp/new")" = "Ninja" ] ||
  { echo "FAIL: a new folder got $(generator_of "$tmp/new")"; fail=1; }
exit $fail
