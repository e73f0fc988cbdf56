#!/usr/bin/env bash
# Unpacks a Windows release archive, checks its SHA256SUMS, and runs its
# fennick-host.exe against its own DLL under Wine (WINE names the loader).
# Usage: package_test.sh ARCHIVE SAMPLES_DIR
set -u
archive=$1 samples=$2
wine=${WINE:-wine}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fails=0
(cd "$work" && cmake -E tar xf "$archive") || { echo "cannot unpack $archive"; exit 1; }
top=$(find "$work" -mindepth 1 -maxdepth 1 -type d | head -1)
for f in bin/FennickDLL02.dll bin/fennick-host.exe include/FennickDLL02.h README.md VERSION SHA256SUMS; do
  [ -f "$top/$f" ] || { echo "archive lacks $f"; fails=$((fails + 1)); }
done
listed=$(cut -d' ' -f3- "$top/SHA256SUMS" | LC_ALL=C sort)
present=$(cd "$top" && find . -type f ! -name SHA256SUMS | sed 's|^\./||' | LC_ALL=C sort)
[ "$listed" = "$present" ] || { echo "SHA256SUMS does not list exactly the archive's files"; fails=$((fails + 1)); }
(cd "$top" && sha256sum --quiet -c SHA256SUMS) || { echo "checksums differ"; fails=$((fails + 1)); }
cp "$samples/grid.vyx" "$work/grid.vyx"
out=$(cd "$top/bin" && timeout 120 "$wine" fennick-host.exe FennickDLL02.dll GetVertsVyx ../../grid.vyx 0 2>&1 | tr -d '\r')
if [ "$out" != "GetVertsVyx -> 20" ]; then
  echo "the archive's fennick-host.exe printed: $out"; fails=$((fails + 1))
fi
out=$(cd "$top/bin" && timeout 120 "$wine" fennick-host.exe FennickDLL02.dll Version 2>&1 | tr -d '\r')
[ "$out" = "Version -> 2" ] || { echo "Version printed: $out"; fails=$((fails + 1)); }
exit $fails
