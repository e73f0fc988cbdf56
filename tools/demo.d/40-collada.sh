# COLLADA export of the cube, polygon lists and triangles, without and with normals
call "$DLL" setTxrName cube_skin
call "$DLL" setDate 2026-12-08
call "$DLL" writeCollada "$SAMPLES/cube.obj" 0 "$OUT/cube.dae"
call "$DLL" writeCollada "$SAMPLES/cube.obj" 1 "$OUT/cube_normals.dae"
call "$DLL" writeColladaTris "$SAMPLES/cube.obj" 0 "$OUT/cube_tris.dae"
call "$DLL" writeColladaTris "$SAMPLES/cube.obj" 1 "$OUT/cube_tris_normals.dae"
call "$DLL" writeCollada "$SAMPLES/missing.obj" 1 "$OUT/missing.dae"
call "$DLL" writeCollada @null 1 "$OUT/null.dae"
