# Sculpt map of an 8 x 8 quad grid, and its texture coordinates scaled
call "$DLL" OBJtoSculpty "$SAMPLES/grid_8x8.obj" 1 "$OUT/grid_8x8.bmp"
call "$DLL" ScaleUVs "$SAMPLES/grid_8x8.obj" 0.5 "$OUT/grid_8x8_half.obj"
echo "    first texture lines before and after:"
grep -m 2 '^vt' "$SAMPLES/grid_8x8.obj" | sed 's/^/      /'
grep -m 2 '^vt' "$OUT/grid_8x8_half.obj" | sed 's/^/      /'
call "$DLL" ScaleUVs "$SAMPLES/grid_8x8.obj" 1.5 "$OUT/refused.obj"
call "$DLL" ScaleUVs "$OUT/grid_8x8_half.obj" 0.5 "$OUT/grid_8x8_half.obj"
call "$DLL" OBJtoSculpty "$SAMPLES/cube.obj" 0 "$OUT/cube.bmp"
