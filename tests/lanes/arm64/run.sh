#!/usr/bin/env bash
# The arm64 lane: both editions, the unit suites and the ABI suite
# cross-built with clang-19 for aarch64-linux-gnu (-fsigned-char, as on
# Apple's arm64) and run under qemu-aarch64; then the same calls on the same
# inputs with this build and with the x86-64 reference build, every output
# compared byte for byte.
#   run.sh BUILD_DIR REFERENCE_BUILD_DIR
# The reference build must hold FennickDLL, FennickDLL02, fennick-host and
# vyx-convert. FENNICK_TEST_SCALE (default 0.1 here) sizes the suites' long
# generated loops. Counts: every test of every suite, every compared output.
# Ends with "arm64 PASSED FAILED".
set -uo pipefail
root=$(cd "$(dirname "$0")/../../.." && pwd)
dir=$(realpath -m "$1")
ref=$(realpath -m "$2")
cd "$root" || exit 1
jobs=$(nproc 2>/dev/null || echo 2)
export QEMU_LD_PREFIX=/usr/aarch64-linux-gnu
pass=0 fail=0

echo "== arm64: configure and build ($dir)"
if ! cmake -S . -B "$dir" -G Ninja -DFENNICK_WERROR=ON -DFENNICK_GTEST_FROM_SOURCE=ON \
     -DCMAKE_TOOLCHAIN_FILE="$root/tests/lanes/arm64/toolchain.cmake" >"$dir.configure.log" 2>&1; then
  tail -30 "$dir.configure.log"; echo "arm64 0 1"; exit 0
fi
suites=(abi_tests)
for d in tests/unit/*/; do
  compgen -G "$d*.cpp" >/dev/null && suites+=("unit_$(basename "$d")")
done
if ! cmake --build "$dir" -j "$jobs" --target FennickDLL FennickDLL02 fennick-host vyx-convert \
     "${suites[@]}" >"$dir.build.log" 2>&1; then
  grep -E 'error|FAILED' "$dir.build.log" | head -40; echo "arm64 0 1"; exit 0
fi

echo "== arm64: ${#suites[@]} suites under qemu-aarch64"
mkdir -p "$dir/suite-logs"
# Two suites at a time: each is one emulated process.
printf '%s\n' "${suites[@]}" | xargs -P "$jobs" -I{} sh -c \
  'cd "$1/tests" && FENNICK_TEST_SCALE=${FENNICK_TEST_SCALE:-0.1} timeout 900 \
     qemu-aarch64 "./$2" >"$1/suite-logs/$2.log" 2>&1; echo $? >"$1/suite-logs/$2.rc"' _ "$dir" {}
for s in "${suites[@]}"; do
  log=$dir/suite-logs/$s.log
  p=$(grep -E '^\[  PASSED  \] [0-9]+ test' "$log" | sed -E 's/.*\] ([0-9]+) test.*/\1/')
  f=$(grep -E '^\[  FAILED  \] [0-9]+ test' "$log" | sed -E 's/.*\] ([0-9]+) test.*/\1/')
  p=${p:-0} f=${f:-0}
  if [ "$p" -eq 0 ] && [ "$f" -eq 0 ] || { [ "$(cat "$dir/suite-logs/$s.rc")" != 0 ] && [ "$f" -eq 0 ]; }; then
    f=1  # crashed, hung or ran nothing
  fi
  [ "$f" -gt 0 ] && { echo "  $s:"; grep -E '^\[  FAILED|Failure|rror' "$log" | head -20; tail -3 "$log"; }
  pass=$((pass + p)) fail=$((fail + f))
done

echo "== arm64: outputs against the x86-64 build ($ref)"
out=$(bash "$root/tests/lanes/same_outputs/run.sh" "$dir/same-outputs" "$ref" "$dir" qemu-aarch64)
echo "$out" | grep -v '^same-outputs '
read -r p f <<<"$(echo "$out" | tail -1 | awk '$1 == "same-outputs" {print $2, $3}')"
pass=$((pass + ${p:-0})) fail=$((fail + ${f:-1}))
echo "arm64 $pass $fail"
