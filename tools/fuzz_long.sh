#!/usr/bin/env bash
# Long fuzz runs: every target (or the ones named) for SECONDS each, two at a
# time, each on a scratch copy of its committed corpus. Prints one markdown
# row per target: executions, executions per second, new corpus entries and
# findings (crash, leak, timeout or out-of-memory reports, with the saved
# input). Usage: bash tools/fuzz_long.sh SECONDS [target...]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
seconds=${1:?seconds per target}
shift
CC=clang CXX=clang++ cmake -S fuzz -B build-fuzz -G Ninja >/dev/null || exit 1
cmake --build build-fuzz -j "$(nproc)" >/dev/null || exit 1
work=${FUZZ_WORK:-/tmp/fennick-fuzz-long}
mkdir -p "$work"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for t in build-fuzz/fuzz_*; do [ -x "$t" ] && targets+=("$(basename "$t" | sed 's/^fuzz_//')"); done
fi

run_one() {  # name
  local name=$1 dir="$work/$1"
  rm -rf "$dir" && mkdir -p "$dir/corpus" "$dir/artifacts"
  cp -r "fuzz/corpus/$name/." "$dir/corpus/" 2>/dev/null || true
  local before dict=()
  before=$(ls "$dir/corpus" | wc -l)
  [ -f "fuzz/$name.dict" ] && dict=(-dict="$root/fuzz/$name.dict")
  (cd "$dir" && timeout $((seconds + 300)) "$root/build-fuzz/fuzz_$name" \
      -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=30 \
      -artifact_prefix="$dir/artifacts/" "${dict[@]}" corpus >"$dir/log" 2>&1)
  local rc=$? runs secs findings
  runs=$(grep -oE 'Done [0-9]+ runs in [0-9]+ second' "$dir/log" | tail -1 | awk '{print $2}')
  secs=$(grep -oE 'Done [0-9]+ runs in [0-9]+ second' "$dir/log" | tail -1 | awk '{print $5}')
  findings=$(ls "$dir/artifacts" | tr '\n' ' ')
  [ -z "$runs" ] && runs=$(grep -oE '^#[0-9]+' "$dir/log" | tail -1 | tr -d '#')
  echo "| $name | ${secs:-$seconds} s | ${runs:-?} | $(awk "BEGIN {s=${secs:-$seconds}; printf \"%d\", (s > 0 ? ${runs:-0} / s : 0)}") | $(( $(ls "$dir/corpus" | wc -l) - before )) | ${findings:-none} (exit $rc) |"
}

echo "| target | run | executions | per second | new corpus entries | findings |"
echo "|---|---|---|---|---|---|"
running=0
for name in "${targets[@]}"; do
  run_one "$name" > "$work/$name.row" &
  running=$((running + 1))
  if [ $running -ge 2 ]; then
    wait -n
    running=$((running - 1))
  fi
done
wait
for name in "${targets[@]}"; do cat "$work/$name.row"; done
