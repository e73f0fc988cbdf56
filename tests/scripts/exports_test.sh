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
exit $fails
