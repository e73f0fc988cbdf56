#!/usr/bin/env bash
# Each Linux edition's dynamic symbol table against its export list, both
# ways: every entry names exactly one defined symbol, and every defined
# symbol is named by exactly one entry (no standard-library instance, no
# internal helper, no unique symbol that would pin the library in memory).
set -u
fails=0

# compare LIST LIBRARY
compare() {
  local list=$1 lib=$2 out
  out=$(nm -D --defined-only -C "$lib" | cut -d' ' -f3- |
    awk -v list="$list" '
      BEGIN {
        while ((getline line < list) > 0) {
          sub(/#.*/, "", line); gsub(/^[ \t]+|[ \t]+$/, "", line)
          if (line == "") continue
          n = split(line, w, /[ \t]+/)
          kind[++entries] = (n == 1 ? "c" : w[1]); name[entries] = w[n]; hits[entries] = 0
        }
      }
      {
        matched = 0
        for (i = 1; i <= entries; i++) {
          k = kind[i]; nm = name[i]
          if ((k == "c" && $0 == nm) ||
              (k == "fn" && index($0, nm "(") == 1) ||
              (k == "fn" && index($0, nm "[abi:") == 1) ||
              (k == "var" && ($0 == nm || index($0, nm "[abi:") == 1))) {
            matched++; hits[i]++
          }
        }
        if (matched != 1) print "symbol named by " matched " entries: " $0
      }
      END {
        for (i = 1; i <= entries; i++)
          if (hits[i] != 1) print "entry naming " hits[i] " symbols: " kind[i] " " name[i]
      }')
  if [ -n "$out" ]; then
    echo "$(basename "$lib") against $(basename "$list"):"; echo "$out"
    fails=$((fails + 1))
  fi
}

compare "$FENNICK_SOURCE/Mobrel01/Mobrel01.list" "$FENNICK_DLL"
compare "$FENNICK_SOURCE/exports02/exports02.list" "$FENNICK_DLL02"

# FennickDLL's C++ functions keep their parameter types (callers linked
# against the library bind the decorated names): the demangled table, with
# the C++ library's spelling of std::string made one.
signatures=$(nm -D --defined-only -C "$FENNICK_DLL" | cut -d' ' -f3- | grep '(' |
  sed -E 's/std::(__cxx11::|__1::)?basic_string<char, std::(__1::)?char_traits<char>, std::(__1::)?allocator<char> ?>/std::string/g; s/\[abi:[a-z0-9]+\]//g' |
  LC_ALL=C sort)
expected=$(LC_ALL=C sort <<'EOF'
CalculateSurfaceNormal(float*, bool)
ClearFolder(std::string)
DoKeyPress(char*)
FileNameExtract(std::string const&, int)
FilepathTruncate(std::string const&)
GetFaceIDsVyx(char const*, double)
GetUVGroup(char const*)
GetUVTile(char const*, char*)
GetUVsFromVyX(char const*, char*)
GetVertCountFromVyX(char const*, int)
IsDirectory(std::string const&)
Mobrel01::HelloWorld(char const*)
OBJtoCOLLADA(char const*, char*, int)
OBJtoCOLLADATris(char const*, char*, int)
ReadVertColorVyx(char const*, char*)
clearFilesL()
clearUVTileString()
createFolder(char const*)
exportSculpty(char const*, char const*, bool)
fileFromArray(int)
getPadding(int)
getPasteboardText()
getScreenPos()
getSharedFolder()
getUVTileString(int, char*)
getVertexCount(char const*)
keyCodeToString(unsigned short)
mergeFiles(char const*, char*)
readShort(char, char)
readSignInt(char, char, char, char)
readUnInt(char, char, char, char)
readaFloat(char, char, char, char)
readanInt(char)
runCocoaOpenFileBrowser(char const*, char const*)
setDateTime(char const*)
setTextureName(char const*)
writeOBJfromVyx(char const*, char*)
EOF
)
if [ "$signatures" != "$expected" ]; then
  echo "FennickDLL's C++ functions differ from their frozen signatures:"
  diff <(echo "$expected") <(echo "$signatures")
  fails=$((fails + 1))
fi
# FennickDLL02 carries none of FennickDLL's own operations, hidden or not
# (an edition links only what its exports reach). A full symbol table is
# needed to tell: the export GetVertsVyx must be in it.
own=$(nm -C "$FENNICK_DLL02" 2>/dev/null)
if ! echo "$own" | grep -q ' GetVertsVyx$'; then
  echo "$(basename "$FENNICK_DLL02"): no symbol table to check"
  fails=$((fails + 1))
else
  carried=$(echo "$own" | grep -E ' (writeOBJfromVyx|mergeFiles|GetUVsFromVyX|GetFaceIDsVyx|OBJtoCOLLADA|OBJtoCOLLADATris|exportSculpty)\(' || true)
  if [ -n "$carried" ]; then
    echo "$(basename "$FENNICK_DLL02") carries FennickDLL's operations:"; echo "$carried"
    fails=$((fails + 1))
  fi
fi
exit $fails
