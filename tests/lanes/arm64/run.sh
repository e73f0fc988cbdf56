#!/usr/bin/env bash
# The arm64 lane: both editions, the unit suites and the ABI suite
# cross-built with clang for aarch64-linux-gnu (-fsigned-char, as on
# Apple's arm64) and run under qemu-aarch64; then the same calls on the same
# inputs with this build and with the x86-64 reference build, every output
# compared byte for byte.
#   run.sh BUILD_DIR REFERENCE_BUILD_DIR
# The reference build must hold FennickDLL, FennickDLL02, fennick-host and
# vyx-convert. FENNICK_TEST_SCALE (default 0.1 here) sizes the suites' long
# generated loops. Counts: every test of every suite, every compared output.
# Ends with "arm64 passed=P failed=F" (tests/lanes/lib.sh).
set -uo pipefail
. "$(dirname "$0")/../lib.sh"
lane_begin arm64
root=$fennick_root
dir=$(realpath -m "$1")
ref=$(realpath -m "$2")
cd "$root" || exit 1
jobs=$(nproc 2>/dev/null || echo 2)
export QEMU_LD_PREFIX=/usr/aarch64-linux-gnu

echo "== arm64: configure and build ($dir)"
if ! cmake -S . -B "$dir" -G Ninja -DFENNICK_WERROR=ON -DFENNICK_GTEST_FROM_SOURCE=ON \
     -DCMAKE_TOOLCHAIN_FILE="$root/tests/lanes/arm64/toolchain.cmake" >"$dir.configure.log" 2>&1; then
  tail -30 "$dir.configure.log"; bad "configure"; lane_end; exit 0
fi
suites=(abi_tests)
for d in tests/unit/*/; do
  compgen -G "$d*.cpp" >/dev/null && suites+=("unit_$(basename "$d")")
done
if ! cmake --build "$dir" -j "$jobs" --target FennickDLL FennickDLL02 fennick-host vyx-convert \
     "${suites[@]}" >"$dir.build.log" 2>&1; then
  grep -E 'error|FAILED' "$dir.build.log" | head -40; bad "build"; lane_end; exit 0
fi

echo "== arm64: ${#suites[@]} suites under qemu-aarch64"
mkdir -p "$dir/suite-logs"
# Two suites at a time: each is one emulated process.
printf '%s\n' "${suites[@]}" | xargs -P "$jobs" -I{} sh -c \
  'cd "$1/tests" && FENNICK_TEST_SCALE=${FENNICK_TEST_SCALE:-0.1} timeout 900 \
     qemu-aarch64 "./$2" >"$1/suite-logs/$2.log" 2>&1; echo $? >"$1/suite-logs/$2.rc"' _ "$dir" {}
for s in "${suites[@]}"; do
  log=$dir/suite-logs/$s.log
  if ! gtest_count "$log" "$(cat "$dir/suite-logs/$s.rc" 2>/dev/null || echo missing)"; then
    echo "  $s:"; grep -E '^\[  FAILED|Failure|rror' "$log" | head -20; tail -3 "$log"
  fi
done

echo "== arm64: outputs against the x86-64 build ($ref)"
same_outputs "$dir/same-outputs" "$ref" "$dir" qemu-aarch64
lane_end
