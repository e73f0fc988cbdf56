#!/usr/bin/env bash
# The macOS release lane: builds the release archive with tools/package.sh
# (universal FennickDLL.dylib and fennick-host, cross-built and linked by
# ld64.lld on Apple's libc headers and libSystem stub) and checks it as a
# loader would, with check_dylib.py:
#   run.sh BUILD_DIR
# Checks, each counted:
#   - the archive holds the dylib, fennick-host, the header, README, LICENSE,
#     VERSION, and SHA256SUMS that match them;
#   - the dylib and fennick-host pass check_dylib.py in both slices;
#   - the stubs of cmake/macos-stubs list no symbol that nothing binds;
#   - each check of check_dylib.py fails on a dylib with one planted fault:
#     a later minimum macOS, another install name, a library outside the
#     system, an export left out, a weak import, a libSystem call macOS
#     lacks (linked against a libSystem stub that has it), a call into the
#     GNU Objective-C runtime, one changed byte under the arm64 signature;
#   - the workflows of .github/workflows pass the workflow validator, and a
#     copy with a misspelt key does not.
# Ends with "macos passed=P failed=F" (tests/lanes/lib.sh).
set -uo pipefail
. "$(dirname "$0")/../lib.sh"
lane_begin macos
root=$fennick_root
here=$root/tests/lanes/macos
dir=$(realpath -m "$1")
cd "$root" || exit 1
unset LIBRARY_PATH
libsystem=$root/.deps/apple-libc/libSystem.tbd
list=$root/Mobrel01/Mobrel01.list
check() { python3 "$here/check_dylib.py" "$1" "$list" "$libsystem" "${@:2}"; }

echo "== macos: release archive (tools/package.sh macos)"
mkdir -p "$dir"
if ! archive=$(bash tools/package.sh macos "$dir/build" 2>"$dir/package.log" | tail -1) ||
   [ ! -f "$archive" ]; then
  tail -30 "$dir/package.log"; bad "package"; lane_end; exit 0
fi
rm -rf "$dir/unpacked" && mkdir -p "$dir/unpacked"
tar -xzf "$archive" -C "$dir/unpacked"
top=$(find "$dir/unpacked" -mindepth 1 -maxdepth 1 -type d)
dylib=$top/lib/FennickDLL.dylib host=$top/bin/fennick-host
missing=""
for f in lib/FennickDLL.dylib bin/fennick-host include/FennickDLL.h share/doc/Fennick/README.md \
         share/doc/Fennick/LICENSE VERSION SHA256SUMS; do
  [ -f "$top/$f" ] || missing+=" $f"
done
if [ -z "$missing" ] && [ -x "$host" ] && (cd "$top" && sha256sum --quiet -c SHA256SUMS); then ok; else
  bad "archive: missing$missing or sums differ"; fi

echo "== macos: the release dylib and fennick-host as a loader reads them"
if out=$(check "$dylib" --report); then ok; else bad "FennickDLL.dylib"; fi
echo "$out" | sed 's/^/  /' | cut -c1-2000
if out=$(check "$host" --program); then ok; else bad "fennick-host: $out"; fi

# Every stub symbol is bound by the dylib or the host in some slice.
bound=$( (for a in x86_64 arm64; do
           llvm-objdump-$fennick_llvm --macho --arch=$a --bind --lazy-bind "$dylib" "$host"
         done) | awk '$1 ~ /^__/ {print $NF}' | sed 's/(weak_import)//' | sort -u)
stale=$(echo "$bound" | python3 -c '
import re, sys
bound = set(sys.stdin.read().split())
for stub in sys.argv[1:]:
    text = open(stub).read()
    for key, items in re.findall(r"(symbols|objc-classes):\s*\[([^\]]*)\]", text):
        for item in (i.strip(" \n\x27") for i in items.split(",")):
            name = "_OBJC_CLASS_$_" + item if key == "objc-classes" else item
            if item and name not in bound:
                print(stub.split("/")[-1] + ":" + name, end=" ")
' cmake/macos-stubs/*.tbd)
if [ -z "$stale" ]; then ok; else bad "stub symbols nothing binds:$stale"; fi

# Planted faults: the dylib relinked from the release build's objects with
# one change, each refused by the check named. A planted function is marked
# used: the link strips dead code, and nothing of the dylib calls it.
echo "== macos: planted faults"
build=$dir/build
plant=$dir/planted
rm -rf "$plant" && mkdir -p "$plant"
link=$(ninja -C "$build" -t commands FennickDLL | tail -1)
link=${link#: && }
link=${link% && :}
cflags=(--target=x86_64-apple-darwin -arch x86_64 -arch arm64 -mmacosx-version-min=10.13
        -isysroot "$build/macos-cross/MacOSX.sdk" -B"$build/macos-cross/bin" -O2 -c)
relink() {  # name extra-link-arguments... (link command edits in $edit)
  local name=$1
  shift
  local cmd=${link/-o FennickDLL.dylib/-o $plant/$name.dylib}
  [ -n "${edit:-}" ] && cmd=$(printf '%s' "$cmd" | sed -e "$edit")
  (cd "$build" && eval "$cmd $*") >"$plant/$name.log" 2>&1
}
expect() {  # name expected-failure-line-start
  local out
  if [ ! -f "$plant/$1.dylib" ]; then bad "$1: did not link: $(tail -3 "$plant/$1.log")"; return; fi
  if out=$(check "$plant/$1.dylib"); then
    bad "$1: passed the checks"
  elif echo "$out" | grep -q "^FAILED $2"; then
    ok
  else
    bad "$1: refused otherwise: $(echo "$out" | head -3)"
  fi
}
edit='s/-mmacosx-version-min=10.13/-mmacosx-version-min=10.14/' relink min-version
expect min-version "x86_64 version"
edit='s|-install_name /usr/local/lib/FennickDLL.dylib|-install_name @rpath/FennickDLL.dylib|' \
  relink install-name
expect install-name "x86_64 id"

# A library outside the system folders.
cat >"$plant/libplanted.tbd" <<'EOF'
--- !tapi-tbd
tbd-version: 4
targets: [ x86_64-macos, arm64-macos ]
install-name: '/opt/local/lib/libplanted.dylib'
exports:
  - targets: [ x86_64-macos, arm64-macos ]
    symbols: [ _planted_call ]
...
EOF
printf 'extern "C" int planted_call(void);\nextern "C" __attribute__((used)) int planted_use(void) { return planted_call(); }\n' \
  >"$plant/outside.cpp"
clang++-$fennick_llvm "${cflags[@]}" "$plant/outside.cpp" -o "$plant/outside.o" &&
  edit= relink outside-library "$plant/outside.o" "$plant/libplanted.tbd"
expect outside-library "x86_64 dylibs"

edit='s|-exported_symbols_list -Xlinker [^ ]*|-exported_symbols_list -Xlinker '"$plant"'/fewer.exp|'
grep -vx '_GetFile' "$build/Mobrel01/FennickDLL.exp" >"$plant/fewer.exp"
relink export-left-out
expect export-left-out "x86_64 exports"

# A weak import: a libSystem call declared weak, as code guarding a newer
# call without the availability check would.
printf '#include <stddef.h>\nextern "C" int getentropy(void*, size_t) __attribute__((weak_import));\n%s\n' \
  'extern "C" __attribute__((used)) int planted_weak(void* p) { return getentropy ? getentropy(p, 4) : -1; }' \
  >"$plant/weak.cpp"
clang++-$fennick_llvm "${cflags[@]}" -Wno-everything "$plant/weak.cpp" -o "$plant/weak.o" &&
  edit= relink weak-import "$plant/weak.o"
expect weak-import "x86_64 weak"

# memrchr, which macOS lacks, linked against an SDK whose libSystem stub was
# made to have it (as a stub made from the objects' own needs would).
sdk=$plant/sdk
cp -RL "$build/macos-cross/MacOSX.sdk/usr/lib" "$plant/sdk-lib"
mkdir -p "$sdk/usr" && cp -R "$plant/sdk-lib" "$sdk/usr/lib"
ln -s "$build/macos-cross/MacOSX.sdk/usr/include" "$sdk/usr/include"
ln -s "$build/macos-cross/MacOSX.sdk/System" "$sdk/System"
cp "$build/macos-cross/MacOSX.sdk/SDKSettings.json" "$sdk/"
sed -i 's/symbols: *\[ ___crashreporter_info__,/symbols: [ _memrchr, ___crashreporter_info__,/' \
  "$sdk/usr/lib/libSystem.tbd"
printf '#include <stddef.h>\nextern "C" void* memrchr(const void*, int, size_t);\n%s\n' \
  'extern "C" __attribute__((used)) const void* planted_last(const char* p) { return memrchr(p, 0x2f, 8); }' \
  >"$plant/memrchr.cpp"
clang++-$fennick_llvm "${cflags[@]}" "$plant/memrchr.cpp" -o "$plant/memrchr.o" &&
  edit="s|-isysroot [^ ]*|-isysroot $sdk|" relink libsystem-call "$plant/memrchr.o"
expect libsystem-call "x86_64 libsystem"

# A message sent through the GNU runtime's lookup.
printf '%s\n' 'extern "C" void* objc_msg_lookup(void*, void*);' \
  'extern "C" __attribute__((used)) void* planted_send(void* o, void* s) { return objc_msg_lookup(o, s); }' \
  >"$plant/gnu.cpp"
clang++-$fennick_llvm "${cflags[@]}" "$plant/gnu.cpp" -o "$plant/gnu.o" &&
  edit= relink gnu-runtime "$plant/gnu.o" -Wl,-U,_objc_msg_lookup
expect gnu-runtime "x86_64 objc"

# One byte of the arm64 slice's code changed after signing.
python3 - "$dylib" "$plant/changed-byte.dylib" <<'EOF'
import struct, sys
data = bytearray(open(sys.argv[1], "rb").read())
count = struct.unpack_from(">I", data, 4)[0]
for i in range(count):
    cpu, _sub, offset, _size, _align = struct.unpack_from(">iiIII", data, 8 + 20 * i)
    if cpu == 0x0100000C:
        data[offset + 0x4000 + 17] ^= 0x01
open(sys.argv[2], "wb").write(data)
EOF
expect changed-byte "arm64 signature"

echo "== macos: workflows"
validator=$root/.deps/npm/node_modules/.bin/action-validator
if [ ! -x "$validator" ]; then
  bad "no workflow validator (tools/install_deps.sh installs it)"
else
  for w in .github/workflows/*.yml; do
    if out=$("$validator" "$w" 2>&1); then ok; else bad "$w: $out"; fi
  done
  sed 's/runs-on:/runs_on:/' .github/workflows/hosted.yml >"$plant/misspelt.yml"
  if "$validator" "$plant/misspelt.yml" >/dev/null 2>&1; then bad "misspelt workflow passed"; else ok; fi
fi
lane_end
