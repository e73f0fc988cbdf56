#!/usr/bin/env bash
# The file-service example scripts of samples/scripts run through
# fennick-host against both editions, from a scratch folder that holds the
# samples and an out/ folder, as the README shows.
set -u
fails=0
expect() {  # description expected actual
  if [ "$2" != "$3" ]; then
    echo "FAIL: $1"; echo "  expected:"; echo "$2" | sed 's/^/    /'
    echo "  actual:"; echo "$3" | sed 's/^/    /'; fails=$((fails + 1))
  fi
}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
ln -s "$FENNICK_SOURCE/samples" "$tmp/samples"
mkdir "$tmp/out"
cd "$tmp"
scripts=samples/scripts
host=$FENNICK_HOST

for dll in "$FENNICK_DLL" "$FENNICK_DLL02"; do
  out=$("$host" "$dll" --script $scripts/list_folder.txt)
  # Entry order is the file system's: compare the names as a set.
  expect "listing ($dll): results" "$(printf '%s\n' 'OpenFolder -> 0' \
    'GetFile -> 0' 'GetFile -> 0' 'GetFile -> 0' 'GetFile -> 0' 'GetFile -> -3' \
    'CloseFolder -> 0' 'GetFile -> -1')" "$(echo "$out" | grep -v '^  block:')"
  expect "listing ($dll): names" "$(printf '%s\n' . .. README notes.txt)" \
    "$(echo "$out" | sed -n 's/^  block: //p' | LC_ALL=C sort)"

  out=$("$host" "$dll" --script $scripts/copy_file.txt)
  expect "copy ($dll)" "$(printf '%s\n' 'FileCopyTo -> 0' 'GetVertsOBJ -> 8' \
    'FileCopyTo -> -1' 'GetVertsOBJ -> 8' 'FileDelete -> 0' 'FileDelete -> -1')" "$out"
  [ -e out/cube_copy.obj ] && { echo "FAIL: copy left behind"; fails=$((fails + 1)); }
done

out=$("$host" "$FENNICK_DLL02" --script $scripts/names.txt)
expect "names" "$(printf '%s\n' 'CheckName -> 0' '  block: Box' 'CheckName -> 0' \
  '  block: Box_copy1' 'CheckName -> 0' '  block: Box_copy2' 'CheckName -> 0' \
  '  block: Box_copy3' 'CheckName -> 0' '  block: Box_copy7' 'CheckName -> 0' \
  '  block: Box_copy4' 'ClearNameSet -> 0' 'CheckName -> 0' '  block: Box_copy1')" "$out"

out=$("$host" "$FENNICK_DLL02" --script $scripts/compress.txt)
ratio=$(awk -v n="$(stat -c %s out/cube.rle)" -v d="$(stat -c %s samples/cube.obj)" \
  'BEGIN { printf "%.9g", n / d }')
expect "compress" "$(printf '%s\n' "CompressFile -> $(echo "$out" | sed -n '1s/.*-> //p')" \
  'DecompressFile -> 0' 'GetVertsOBJ -> 8' 'CompressFile -> -1')" "$out"
cmp -s samples/cube.obj out/cube_back.obj || { echo "FAIL: round trip differs"; fails=$((fails + 1)); }
# The ratio is the float of the compressed size over the input size.
awk -v r="$(echo "$out" | sed -n '1s/.*-> //p')" -v e="$ratio" \
  'BEGIN { exit !(r - e < 1e-6 && e - r < 1e-6) }' || { echo "FAIL: ratio $ratio"; fails=$((fails + 1)); }
[ -e out/none.rle ] && { echo "FAIL: output made for a missing input"; fails=$((fails + 1)); }

[ $fails -eq 0 ] && echo "file scripts: all checks passed"
exit $fails
