# VyX conversions: face groups, face IDs and OBJ, UV tiles, vertex colours, merge
# The conversions have C++ names only; vyx-convert binds them in the library.
convert="$(dirname "$HOST")/vyx-convert"
call "$DLL" getGroups "$SAMPLES/grid.vyx"
call "$DLL" getGroups "$SAMPLES/tri.vyx"
echo "  vyx-convert: face IDs of the face-first file, then the mesh as OBJ"
"$convert" "$DLL" obj "$SAMPLES/grid_faces.vyx" 1 "$SAMPLES/grid.vyx" "$OUT/grid.obj" | sed 's/^/    /'
sed -n '1,4p;/^#FaceID 1$/,/^#FaceID 2$/p' "$OUT/grid.obj" | sed 's/^/      | /'
echo "  vyx-convert: UV tiles and the split into one VyX file per tile"
"$convert" "$DLL" tiles "$SAMPLES/grid.vyx" "$OUT/grid_tile.obj" | sed 's/^/    /'
ls "$OUT" | grep '^grid_tile' | sed 's/^/      | /'
call "$DLL" GetVertsVyX "$OUT/grid_tile0.VyX" 0
echo "  vyx-convert: vertex colours of a colour-first file"
"$convert" "$DLL" colours "$SAMPLES/grid_colours.vyx" "$OUT/grid_colours.txt" | sed 's/^/    /'
cut -c1-60 "$OUT/grid_colours.txt" | sed 's/^/      | /'
echo "  vyx-convert: merge (each file without its last 14 bytes)"
cp "$SAMPLES/tri.vyx" "$OUT/merged.vyx"
"$convert" "$DLL" merge "$SAMPLES/tri.vyx" "$OUT/merged.vyx" | sed 's/^/    /'
echo "      | $(wc -c <"$SAMPLES/tri.vyx") + $(wc -c <"$SAMPLES/tri.vyx") bytes -> $(wc -c <"$OUT/merged.vyx") bytes"
