# File services: listing, copying, emptying a folder, compression and names
mkdir -p "$OUT/files"
printf 'one\n' >"$OUT/files/a.txt"
printf 'two\n' >"$OUT/files/b.tar.gz"
printf 'three\n' >"$OUT/files/README"
mkdir -p "$OUT/files/sub"
echo "  listing, state kept between calls (fennick-host --script $SAMPLES/scripts/list_folder.txt):"
"$HOST" "$DLL" --script "$SAMPLES/scripts/list_folder.txt" | sed 's/^/    /'
call "$DLL02" CheckFolder "$OUT/files"
call "$DLL" FileCopyTo "$SAMPLES/cube.obj" 0 "$OUT/files/cube.obj"
call "$DLL02" FileCopyTo "$OUT/files/cube.obj" 0 "$OUT/files/./cube.obj"
call "$DLL" FileRename "$OUT/files/cube.obj" 0 "$OUT/files/cube2.obj"
call "$DLL02" CompressFile "$OUT/files/cube2.obj" 0 "$OUT/cube.rle"
call "$DLL02" DecompressFile "$OUT/cube.rle" 0 "$OUT/cube_back.obj"
call "$DLL02" CompressFile "$SAMPLES/missing.obj" 0 "$OUT/missing.rle"
call "$DLL" EmptyFolder "$OUT/files"
echo "    left in $OUT/files: $(ls "$OUT/files" | tr '\n' ' ')"
echo "  names, state kept between calls (fennick-host --script $SAMPLES/scripts/names.txt):"
"$HOST" "$DLL02" --script "$SAMPLES/scripts/names.txt" | sed 's/^/    /'
