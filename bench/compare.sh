#!/usr/bin/env bash
# Times the calls that read or write numbers, and the file services, in this
# tree's Release build and in another build of the same targets (an older
# checkout, built alike), alternately within one run, best of N each (wall and
# CPU time), and checks that both write the same bytes. Prints markdown table
# rows.
#   bash bench/compare.sh OTHER_BUILD_DIR [N]
# Inputs: bench/run.sh's quad grids in $BENCH_WORK (made when missing), and
# the same grids with every coordinate written as "%.17g" of 1.1 times it
# (17-digit numerals, as programs that print doubles in full write them); for
# the file services the files of bench/run.d/60-files.sh (256 MiB each) and
# their run-length forms, and a 100 x 100 quad VyX whose UVs span 20 x 15
# tiles (vyx_bench's mesh with its UVs scaled).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
other=$(cd "$1" && pwd)
rounds=${2:-5}
cd "$root"
. tools/configure.sh
cmake_configure build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target FennickDLL FennickDLL02 fennick-host vyx-convert collada_bench \
  sculpty_bench vyx_bench files_bench >/dev/null
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
for kind in obj runs; do
  [ -f "$work/compare_$kind.bin" ] || "$gen/files_bench" "$kind" "$work/compare_$kind.bin" 256
  [ -f "$work/compare_$kind.rle" ] ||
    build/fennick-host build/FennickDLL02.so CompressFile "$work/compare_$kind.bin" 0 \
      "$work/compare_$kind.rle" >/dev/null
done
# The UV tile split writes one file per tile, each about the size of the
# input: a small mesh with many tiles. The UV records (tag 25001, four float
# pairs each, u over [0, 2], v over [0, 1]) are scaled to u over [0, 20] and
# v over [0, 15].
if [ ! -f "$work/tiles_300.vyx" ]; then
  [ -f "$work/mesh_100.vyx" ] || "$gen/vyx_bench" mesh "$work" 100
  python3 - "$work/mesh_100.vyx" "$work/tiles_300.vyx" <<'PY'
import struct, sys
data = bytearray(open(sys.argv[1], "rb").read())
p = 32
while p + 16 <= len(data):
    tag, size, count = struct.unpack_from("<III", data, p)
    if tag == 25001:
        uv = list(struct.unpack_from("<%df" % (count * 8), data, p + 16))
        uv = [c * (10.0 if k % 2 == 0 else 15.0) for k, c in enumerate(uv)]
        struct.pack_into("<%df" % (count * 8), data, p + 16, *uv)
        break
    p += size
else:
    sys.exit("no UV block")
open(sys.argv[2], "wb").write(data)
PY
fi

# Wall time and CPU time (user + system) in ms of one run writing fresh
# outputs: the old outputs (out.* of the side's folder, tile files included)
# are removed first, and with $seed set, $out starts as a copy of it (the
# target that mergeFiles rewrites), synced before the clock starts. On a
# shared machine the CPU time varies less than the wall time. Prints wall ms,
# CPU ms and the command's exit status.
once_ms() {  # out cmd...
  local out=$1
  shift
  rm -f "$(dirname "$out")"/out*
  [ -n "${seed:-}" ] && cp "$seed" "$out"
  sync -f "$(dirname "$out")" 2>/dev/null || true
  local t0 t1 cpu status=0
  t0=$(date +%s%N)
  /usr/bin/time -f '%U %S' -o "$work/.compare_time" "$@" >/dev/null 2>&1 || status=$?
  t1=$(date +%s%N)
  cpu=$(awk '$1 ~ /^[0-9.]+$/ {printf "%d", ($1 + $2) * 1000}' "$work/.compare_time")
  echo "$(((t1 - t0) / 1000000)) $cpu $status"
}

# One row: the call in both builds, new and old in turns (the first of a
# round alternating), best of $rounds for wall and CPU time each, and whether
# the outputs are equal: every file the call left in the side's folder, byte
# for byte ("none" when the call left no file on either side, "failed" when
# a run of either side exited with an error).
row() {  # label ext kind args...   kind: host (fennick-host DLL args), host02 (fennick-host DLL02 args) or vyx (vyx-convert DLL args)
  local label=$1 ext=$2 kind=$3
  shift 3
  # The same file name on both sides: some writers put it into the output.
  mkdir -p "$work/compare_new" "$work/compare_old"
  local new_out="$work/compare_new/out.$ext" old_out="$work/compare_old/out.$ext"
  local wall_new="" wall_old="" cpu_new="" cpu_old="" failed="" i side wall cpu status
  for ((i = 0; i < rounds; i++)); do
    for side in $([ $((i % 2)) = 0 ] && echo "new old" || echo "old new"); do
      local dir=$root/build out=$new_out
      [ "$side" = old ] && dir=$other && out=$old_out
      local args=("$@")
      args=("${args[@]/@OUT@/$out}")
      if [ "$kind" = host ]; then
        read -r wall cpu status < <(once_ms "$out" "$dir/fennick-host" "$dir/FennickDLL.so" "${args[@]}")
      elif [ "$kind" = host02 ]; then
        read -r wall cpu status < <(once_ms "$out" "$dir/fennick-host" "$dir/FennickDLL02.so" "${args[@]}")
      else
        read -r wall cpu status < <(once_ms "$out" "$dir/vyx-convert" "$dir/FennickDLL.so" "${args[@]}")
      fi
      [ "$status" = 0 ] || case " $failed " in *" $side "*) ;; *) failed+=" $side" ;; esac
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
  if [ -z "$(ls -A "$work/compare_new")" ] && [ -z "$(ls -A "$work/compare_old")" ]; then
    same=none
  elif diff -rq "$work/compare_new" "$work/compare_old" >/dev/null; then
    same=yes
  fi
  [ -z "$failed" ] || same+=" (failed:$failed)"
  echo "| $label | $wall_new | $wall_old | $(awk "BEGIN {printf \"%.2f\", $wall_new / $wall_old}") |" \
    "$cpu_new | $cpu_old | $(awk "BEGIN {printf \"%.2f\", $cpu_new / $cpu_old}") | $same |"
  rm -f "$work"/compare_new/out* "$work"/compare_old/out*
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
cat "$work"/compare_*.bin "$work"/compare_*.rle "$work/tiles_300.vyx" "$work/mesh_1000.vyx" >/dev/null
for kind in obj runs; do
  row "CompressFile, 256 MiB $kind" rle host02 CompressFile "$work/compare_$kind.bin" 0 @OUT@
  row "DecompressFile, 256 MiB $kind" bin host02 DecompressFile "$work/compare_$kind.rle" 0 @OUT@
done
row "FileCopyTo, 482 MB (grid_2048.obj)" obj host FileCopyTo "$work/grid_2048.obj" 0 @OUT@
# GetUVTile (a read of the file) comes with the split in vyx-convert.
row "GetUVTile + GetUVsFromVyX, 300 tiles of 0.66 MB" obj vyx tiles "$work/tiles_300.vyx" @OUT@
seed=$work/mesh_1000.vyx
row "mergeFiles, 66 MB onto 66 MB" vyx vyx merge "$work/mesh_1000.vyx" @OUT@
seed=
echo
echo "Load average: $(cut -d' ' -f1-3 /proc/loadavg) ($(nproc) cores)."
