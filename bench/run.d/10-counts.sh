# Vertex counts: GetVertsOBJ against grep -c and wc -l; GetVertsVyX on a small and a large file
obj="$WORK/count_1m.obj"
[ -f "$obj" ] || "$BENCH_BIN/counts_bench" obj "$obj" 1000000
cat "$obj" >/dev/null
ours=$(ms 5 "$HOST" "$DLL" GetVertsOBJ "$obj")
grepc=$(ms 5 grep -c '^v ' "$obj")
wcl=$(ms 5 wc -l "$obj")
host0=$(ms 5 "$HOST" "$DLL" Version)
echo "| input | GetVertsOBJ ms | of which host start ms | grep -c '^v ' ms | wc -l ms |"
echo "|---|---|---|---|---|"
echo "| $(du -m "$obj" | cut -f1) MB, 1M vertex lines | $ours | $host0 | $grepc | $wcl |"
small="$WORK/count_small.vyx"; big="$WORK/count_big.vyx"
[ -f "$small" ] || "$BENCH_BIN/counts_bench" vyx "$small" 1
[ -f "$big" ] || "$BENCH_BIN/counts_bench" vyx "$big" 500
echo
echo "| VyX file | GetVertsVyX ms (number 0) | GetVertsVyX ms (number 1e9) |"
echo "|---|---|---|"
echo "| 1 MB | $(ms 5 "$HOST" "$DLL" GetVertsVyX "$small" 0) | $(ms 5 "$HOST" "$DLL" GetVertsVyX "$small" 1e9) |"
echo "| 500 MB | $(ms 5 "$HOST" "$DLL" GetVertsVyX "$big" 0) | $(ms 5 "$HOST" "$DLL" GetVertsVyX "$big" 1e9) |"
