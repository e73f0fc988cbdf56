# COLLADA export: writeCollada and writeColladaTris against assimp export and cp on the same quad-grid OBJ files
# assimp runs once per file (it takes tens of seconds); set COLLADA_ASSIMP_4M=1
# to run it on the 4M-face file too. Peak memory from /usr/bin/time -v.
peak_mb() {  # peak resident set of a command in MB (10^6 bytes)
  /usr/bin/time -v "$@" 2>&1 >/dev/null | awk '/Maximum resident/ {printf "%d", $6 * 1024 / 1000000}'
}
echo "| input | call | ms (best of 3) | peak RSS MB | vs assimp | vs cp |"
echo "|---|---|---|---|---|---|"
for side in 1000 2000; do
  obj="$WORK/collada_grid_$side.obj"
  [ -f "$obj" ] || "$BENCH_BIN/collada_bench" "$obj" "$side" 4
  cat "$obj" >/dev/null
  mb=$(( $(stat -c %s "$obj") / 1000000 ))
  faces="$((side * side / 1000000))M faces"
  cpms=$(fresh_ms 3 "$WORK/collada_copy.obj" cp "$obj" "$WORK/collada_copy.obj")
  assimp_ms=""
  if [ "$side" = 1000 ] || [ "${COLLADA_ASSIMP_4M:-0}" = 1 ]; then
    assimp_ms=$(fresh_ms 1 "$WORK/collada_assimp.dae" assimp export "$obj" "$WORK/collada_assimp.dae")
    assimp_mb=$(peak_mb assimp export "$obj" "$WORK/collada_assimp.dae")
    echo "| $mb MB, $faces | assimp export | $assimp_ms | $assimp_mb | 1 | $(awk "BEGIN {printf \"%.1f\", $assimp_ms / $cpms}") |"
  fi
  echo "| $mb MB, $faces | cp | $cpms | | | 1 |"
  for call in "writeCollada 0" "writeCollada 1" "writeCollada 2" "writeColladaTris 0" "writeColladaTris 1" "writeColladaTris 2"; do
    set -- $call
    t=$(fresh_ms 3 "$WORK/collada_out.dae" "$HOST" "$DLL" "$1" "$obj" "$2" "$WORK/collada_out.dae")
    peak=$(peak_mb "$HOST" "$DLL" "$1" "$obj" "$2" "$WORK/collada_out.dae")
    vs_assimp="—"
    [ -n "$assimp_ms" ] && vs_assimp="$(awk "BEGIN {printf \"%.1fx faster\", $assimp_ms / $t}")"
    echo "| $mb MB, $faces | $1 mode $2 | $t | $peak ($(awk "BEGIN {printf \"%.2f\", $peak / ($mb * 1.0)}")x file) | $vs_assimp | $(awk "BEGIN {printf \"%.1fx\", $t / $cpms}") |"
  done
  rm -f "$WORK/collada_out.dae" "$WORK/collada_copy.obj" "$WORK/collada_assimp.dae"
done
