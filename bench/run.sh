#!/usr/bin/env bash
# Benchmarks: builds the library (Release), generates inputs in a scratch
# folder and runs every bench/run.d/*.sh step, each of which times our call
# and the reference tools on the same warm files in one run and prints
# markdown table rows. Usage: bash bench/run.sh [step-name-substring]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. tools/configure.sh
cmake_configure build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build >/dev/null
export HOST="$root/build/fennick-host" DLL="$root/build/FennickDLL.so" DLL02="$root/build/FennickDLL02.so"
export BENCH_BIN="$root/build/bench"
export WORK=${BENCH_WORK:-/tmp/fennick-bench}
mkdir -p "$WORK"

# best-of-N wall time in ms of a command; with OUTPUT, each run writes a
# fresh file: an old OUTPUT is removed (and the file system synced) before the
# clock starts, for every tool alike, so that no run pays for freeing the
# previous run's file. best_ms N OUTPUT|"" cmd...
best_ms() {
  local n=$1 out=$2 best=""
  shift 2
  for _ in $(seq "$n"); do
    if [ -n "$out" ]; then
      rm -f "$out"
      sync -f "$(dirname "$out")" 2>/dev/null || true
    fi
    local t0 t1
    t0=$(date +%s%N)
    "$@" >"$WORK/.ms_out" 2>&1  # not /dev/null: grep stops at the first match there
    t1=$(date +%s%N)
    local d=$(((t1 - t0) / 1000000))
    if [ -z "$best" ] || [ "$d" -lt "$best" ]; then best=$d; fi
  done
  echo "$best"
}
ms() { local n=$1; shift; best_ms "$n" "" "$@"; }            # ms N cmd...
fresh_ms() { local n=$1 out=$2; shift 2; best_ms "$n" "$out" "$@"; }  # fresh_ms N OUTPUT cmd...
export -f best_ms ms fresh_ms

# Kept apart: a sourced step may reset the positional parameters (set --).
only=${1:-}
for step in bench/run.d/*.sh; do
  [ -n "$only" ] && [[ "$step" != *"$only"* ]] && continue
  echo "### $(sed -n 's/^# //p;q' "$step")"
  # shellcheck source=/dev/null
  source "$step"
  echo
done
