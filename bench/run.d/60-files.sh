# File services: FileCopyTo against cp, CompressFile/DecompressFile against lz4 -1, EmptyFolder against find -delete
big="$WORK/files_1g.bin"
[ -f "$big" ] || head -c 1073741824 /dev/urandom >"$big"
cat "$big" >/dev/null
host0=$(ms 5 "$HOST" "$DLL02" Version)
ours=$(ms 3 "$HOST" "$DLL" FileCopyTo "$big" 0 "$WORK/files_copy_ours.bin")
rm -f "$WORK/files_copy_ours.bin"
cpms=$(ms 3 cp "$big" "$WORK/files_copy_cp.bin")
rm -f "$WORK/files_copy_cp.bin"
echo "| input | FileCopyTo ms | cp ms | ratio |"
echo "|---|---|---|---|"
echo "| 1 GiB random | $ours | $cpms | $(awk "BEGIN{printf \"%.2f\", $ours/$cpms}") |"
rm -f "$big"
echo
echo "| input | CompressFile ms | lz4 -1 ms | DecompressFile ms | lz4 -d ms | ratio (ours) | lz4 size |"
echo "|---|---|---|---|---|---|---|"
for kind in obj runs; do
  in="$WORK/files_$kind.bin"
  [ -f "$in" ] || "$BENCH_BIN/files_bench" "$kind" "$in" 256
  cat "$in" >/dev/null
  c=$(ms 3 "$HOST" "$DLL02" CompressFile "$in" 0 "$WORK/files_$kind.rle")
  ratio=$("$HOST" "$DLL02" CompressFile "$in" 0 "$WORK/files_$kind.rle" | awk '{print $3}')
  d=$(ms 3 "$HOST" "$DLL02" DecompressFile "$WORK/files_$kind.rle" 0 "$WORK/files_$kind.back")
  cmp -s "$in" "$WORK/files_$kind.back" || echo "round trip of $kind differs"
  lc=$(ms 3 lz4 -1 -q -f "$in" "$WORK/files_$kind.lz4")
  ld=$(ms 3 lz4 -d -q -f "$WORK/files_$kind.lz4" "$WORK/files_$kind.lz4back")
  lsize=$(stat -c %s "$WORK/files_$kind.lz4")
  echo "| 256 MiB $kind | $c | $lc | $d | $ld | $ratio | $(awk "BEGIN{printf \"%.3f\", $lsize/268435456}") |"
  rm -f "$in" "$WORK/files_$kind.rle" "$WORK/files_$kind.back" "$WORK/files_$kind.lz4" "$WORK/files_$kind.lz4back"
done
echo
# A fresh folder for every timed run: best of 3 each.
best_empty() {  # ours|find
  local best=""
  for _ in 1 2 3; do
    rm -rf "$WORK/files_folder"
    "$BENCH_BIN/files_bench" folder "$WORK/files_folder" 100000
    sync
    local t0 t1 d
    t0=$(date +%s%N)
    if [ "$1" = ours ]; then
      "$HOST" "$DLL" EmptyFolder "$WORK/files_folder" >/dev/null
    else
      find "$WORK/files_folder" -maxdepth 1 -name '*.*' -type f -delete
    fi
    t1=$(date +%s%N)
    d=$(((t1 - t0) / 1000000))
    [ "$(find "$WORK/files_folder" -maxdepth 1 -type f | wc -l)" = 50000 ] || echo "wrong files left" >&2
    if [ -z "$best" ] || [ "$d" -lt "$best" ]; then best=$d; fi
  done
  rm -rf "$WORK/files_folder"
  echo "$best"
}
eo=$(best_empty ours)
ef=$(best_empty find)
echo "| folder | EmptyFolder ms | find -name '*.*' -type f -delete ms | ratio |"
echo "|---|---|---|---|"
echo "| 100,000 files, 50,000 with a dot | $eo | $ef | $(awk "BEGIN{printf \"%.2f\", $eo/$ef}") |"
echo
echo "Host start-up: $host0 ms (included in our figures)."
