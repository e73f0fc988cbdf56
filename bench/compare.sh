#!/usr/bin/env bash
# Times the calls that read or write numbers in this tree's Release build and
# in another build of the same targets (an older checkout, built alike),
# alternately within one run, best of N each (wall and CPU time), and checks
# that both write the same bytes. Prints markdown table rows.
#   bash bench/compare.sh OTHER_BUILD_DIR [N]
# Inputs: bench/run.sh's quad grids in $BENCH_WORK (made when missing), and
# the same grids with every coordinate written as "%.17g" of 1.1 times it
# (17-digit numerals, as programs that print doubles in full write them).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
other=$(cd "$1" && pwd)
rounds=${2:-5}
cd "$root"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target FennickDLL fennick-host vyx-convert collada_bench sculpty_bench \
  vyx_bench >/dev/null
work=${BENCH_WORK:-/tmp/fennick-bench}
mkdir -p "$work"
gen=build/bench
[ -f "$work/collada_grid_1000.obj" ] || "$gen/collada_bench" "$work/collada_grid_1000.obj" 1000 4
[ -f "$work/grid_1024.obj" ] || "$gen/sculpty_bench" grid "$work/grid_1024.obj" 1024
[ -f "$work/grid_2048.obj" ] || "$gen/sculpty_bench" grid "$work/grid_2048.obj" 2048
[ -f "$work/mesh_1000.vyx" ] || "$gen/vyx_bench" mesh "$work" 1000
long_numerals() {  # in out
  awk '/^v / { printf "v %.17g %.17g %.17g\n", $2 * 1.1, $3 * 1.1, $4 * 1.1; next }
       /^vt / { printf "vt %.17g %.17g\n", $2 * 1.1, $3 * 1.1; next }
       { print }' "$1" >"$2"
}
[ -f "$work/collada_grid_1000_long.obj" ] ||
  long_numerals "$work/collada_grid_1000.obj" "$work/collada_grid_1000_long.obj"
[ -f "$work/grid_1024_long.obj" ] || long_numerals "$work/grid_1024.obj" "$work/grid_1024_long.obj"

# Wall time and CPU time (user + system) in ms of one run writing a fresh
# $out (an old one removed first). On a shared machine the CPU time varies
# less than the wall time.
once_ms() {  # out cmd...
  local out=$1
  shift
  rm -f "$out"
  sync -f "$(dirname "$out")" 2>/dev/null || true
  local t0 t1 cpu
  t0=$(date +%s%N)
  /usr/bin/time -f '%U %S' -o "$work/.compare_time" "$@" >/dev/null 2>&1
  t1=$(date +%s%N)
  cpu=$(awk '{printf "%d", ($1 + $2) * 1000}' "$work/.compare_time")
  echo "$(((t1 - t0) / 1000000)) $cpu"
}

# One row: the call in both builds, new and old in turns (the first of a
# round alternating), best of $rounds for wall and CPU time each, and whether
# the outputs are equal.
row() {  # label ext kind args...   kind: host (fennick-host DLL args) or vyx (vyx-convert DLL args)
  local label=$1 ext=$2 kind=$3
  shift 3
  # The same file name on both sides: some writers put it into the output.
  mkdir -p "$work/compare_new" "$work/compare_old"
  local new_out="$work/compare_new/out.$ext" old_out="$work/compare_old/out.$ext"
  local wall_new="" wall_old="" cpu_new="" cpu_old="" i side wall cpu
  for ((i = 0; i < rounds; i++)); do
    for side in $([ $((i % 2)) = 0 ] && echo "new old" || echo "old new"); do
      local dir=$root/build out=$new_out
      [ "$side" = old ] && dir=$other && out=$old_out
      local args=("$@")
      args=("${args[@]/@OUT@/$out}")
      if [ "$kind" = host ]; then
        read -r wall cpu < <(once_ms "$out" "$dir/fennick-host" "$dir/FennickDLL.so" "${args[@]}")
      else
        read -r wall cpu < <(once_ms "$out" "$dir/vyx-convert" "$dir/FennickDLL.so" "${args[@]}")
      fi
      if [ "$side" = new ]; then
        { [ -z "$wall_new" ] || [ "$wall" -lt "$wall_new" ]; } && wall_new=$wall
        { [ -z "$cpu_new" ] || [ "$cpu" -lt "$cpu_new" ]; } && cpu_new=$cpu
      else
        { [ -z "$wall_old" ] || [ "$wall" -lt "$wall_old" ]; } && wall_old=$wall
        { [ -z "$cpu_old" ] || [ "$cpu" -lt "$cpu_old" ]; } && cpu_old=$cpu
      fi
    done
  done
  local same=no
  cmp -s "$new_out" "$old_out" && same=yes
  echo "| $label | $wall_new | $wall_old | $(awk "BEGIN {printf \"%.2f\", $wall_new / $wall_old}") |" \
    "$cpu_new | $cpu_old | $(awk "BEGIN {printf \"%.2f\", $cpu_new / $cpu_old}") | $same |"
  rm -f "$new_out" "$old_out"
}

cat "$work"/collada_grid_1000*.obj "$work"/grid_1024*.obj "$work/grid_2048.obj" >/dev/null
echo "| call, input | new ms | old ms | new / old | new CPU ms | old CPU ms | new / old | same output |"
echo "|---|---|---|---|---|---|---|---|"
c1=$work/collada_grid_1000.obj c2=$work/collada_grid_1000_long.obj
for mode in 0 1 2; do
  row "writeCollada mode $mode, 1M faces" dae host writeCollada "$c1" "$mode" @OUT@
done
row "writeColladaTris mode 1, 1M faces" dae host writeColladaTris "$c1" 1 @OUT@
row "writeCollada mode 1, 1M faces, 17-digit numerals" dae host writeCollada "$c2" 1 @OUT@
row "OBJtoSculpty, 1024 x 1024 quads" bmp host OBJtoSculpty "$work/grid_1024.obj" 1 @OUT@
row "OBJtoSculpty, 1024 x 1024 quads, 17-digit numerals" bmp host OBJtoSculpty \
  "$work/grid_1024_long.obj" 1 @OUT@
row "ScaleUVs 0.5, 2048 x 2048 quads" obj host ScaleUVs "$work/grid_2048.obj" 0.5 @OUT@
row "ScaleUVs 0.5, 1024 x 1024 quads, 17-digit numerals" obj host ScaleUVs \
  "$work/grid_1024_long.obj" 0.5 @OUT@
row "writeOBJfromVyx, 1M quads" obj vyx obj "$work/faces_1000.vyx" 1 "$work/mesh_1000.vyx" @OUT@
echo
echo "Load average: $(cut -d' ' -f1-3 /proc/loadavg) ($(nproc) cores)."
