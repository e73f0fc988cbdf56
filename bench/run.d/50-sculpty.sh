# Sculpt maps and UV scaling: OBJtoSculpty and ScaleUVs against cp of the same file
grid1k="$WORK/grid_1024.obj"; grid2k="$WORK/grid_2048.obj"
[ -f "$grid1k" ] || "$BENCH_BIN/sculpty_bench" grid "$grid1k" 1024
[ -f "$grid2k" ] || "$BENCH_BIN/sculpty_bench" grid "$grid2k" 2048
echo "| input | our call ms | cp ms | ratio | of which host start ms |"
echo "|---|---|---|---|---|"
host0=$(ms 3 "$HOST" "$DLL" Version)
cat "$grid1k" >/dev/null
ours=$(fresh_ms 3 "$WORK/grid_1024.bmp" "$HOST" "$DLL" OBJtoSculpty "$grid1k" 1 "$WORK/grid_1024.bmp")
copy=$(fresh_ms 3 "$WORK/copy.obj" cp "$grid1k" "$WORK/copy.obj")
rm -f "$WORK/copy.obj"
echo "| OBJtoSculpty, 1024 x 1024 quads ($(du -m "$grid1k" | cut -f1) MB) -> 2048 x 2048 map | $ours | $copy | $(awk "BEGIN{printf \"%.2f\", $ours/$copy}") | $host0 |"
cat "$grid2k" >/dev/null
ours=$(fresh_ms 3 "$WORK/grid_2048_half.obj" "$HOST" "$DLL" ScaleUVs "$grid2k" 0.5 "$WORK/grid_2048_half.obj")
copy=$(fresh_ms 3 "$WORK/copy.obj" cp "$grid2k" "$WORK/copy.obj")
rm -f "$WORK/copy.obj" "$WORK/grid_2048_half.obj"
echo "| ScaleUVs 0.5, 2048 x 2048 quads ($(grep -c '^vt' "$grid2k") texture lines, $(du -m "$grid2k" | cut -f1) MB) | $ours | $copy | $(awk "BEGIN{printf \"%.2f\", $ours/$copy}") | $host0 |"
echo
echo "Load average while it ran: $(cut -d' ' -f1-3 /proc/loadavg) ($(nproc) cores)."
