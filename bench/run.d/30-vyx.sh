# VyX conversions: writeOBJfromVyx against assimp export (PLY to OBJ), the UV tile split against plain writes, the one-pass readers
convert="$(dirname "$HOST")/vyx-convert"
echo "| quads | VyX MB | GetFaceIDsVyx + writeOBJfromVyx ms | assimp export PLY to OBJ ms | speed-up | our peak RSS MB | OBJ MB |"
echo "|---|---|---|---|---|---|---|"
for n in 1000 2000; do
  mesh="$WORK/mesh_$n.vyx"
  [ -f "$mesh" ] || "$BENCH_BIN/vyx_bench" mesh "$WORK" "$n"
  cat "$mesh" "$WORK/faces_$n.vyx" "$WORK/mesh_$n.ply" >/dev/null
  rounds=3; [ "$n" -ge 2000 ] && rounds=2
  ours=$(ms $rounds "$convert" "$DLL" obj "$WORK/faces_$n.vyx" 1 "$mesh" "$WORK/ours_$n.obj")
  theirs=$(ms 1 assimp export "$WORK/mesh_$n.ply" "$WORK/assimp_$n.obj")
  rss=$("$BENCH_BIN/vyx_bench" rss "$convert" "$DLL" obj "$WORK/faces_$n.vyx" 1 "$mesh" "$WORK/ours_$n.obj")
  echo "| $((n * n / 1000000))M | $(($(stat -c %s "$mesh") / 1000000)) | $ours | $theirs | $(awk "BEGIN{printf \"%.1fx\", $theirs/$ours}") | $((rss / 1024)) | $(($(stat -c %s "$WORK/ours_$n.obj") / 1000000)) |"
  rm -f "$WORK/assimp_$n.obj" "$WORK/assimp_$n.mtl"
done
echo
echo "| quads | tiles | bytes written | GetUVsFromVyX ms | same bytes, one write per file ms | ratio | GetUVTile ms | GetFaceIDsVyx ms | GetUVGroup ms |"
echo "|---|---|---|---|---|---|---|---|---|"
for n in 1000 2000; do
  read -r files bytes ours plain tiles tileMs ids idsMs groups groupMs < <(
    "$BENCH_BIN/vyx_bench" tiles "$DLL" "$WORK/mesh_$n.vyx" "$WORK/split_$n.obj" 5)
  echo "| $((n * n / 1000000))M | $files | $((bytes / 1000000)) MB | $ours | $plain | $(awk "BEGIN{printf \"%.2f\", $ours/$plain}") | $tileMs | $idsMs | $groupMs |"
  rm -f "$WORK"/split_"$n"*.VyX
done
