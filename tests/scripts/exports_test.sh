#!/usr/bin/env bash
# The Linux editions' dynamic symbol tables: FennickDLL02.so exports exactly
# the names of its export list; FennickDLL.so exports no internal helper
# namespace (everything it exports is in its public interface).
set -u
fails=0
list=$FENNICK_SOURCE/exports02/exports02.list
expected=$(grep -vE '^\s*(#|$)' "$list" | sed 's/[[:space:]]//g' | sort)
actual=$(nm -D --defined-only "$FENNICK_DLL02" | awk '{print $3}' | sort)
if [ "$expected" != "$actual" ]; then
  echo "FennickDLL02.so exports differ from the export list:"
  diff <(echo "$expected") <(echo "$actual")
  fails=$((fails + 1))
fi
leaked=$(nm -D --defined-only -C "$FENNICK_DLL" | awk '{$1=$2=""; print}' |
         grep -E '(textops|vyx|leanobj|fennick|fuzzsupport|testsupport)::' || true)
if [ -n "$leaked" ]; then
  echo "FennickDLL.so exports internal helpers:"; echo "$leaked"; fails=$((fails + 1))
fi
for name in Version GetVertsVyX GetVertsOBJ; do
  nm -D --defined-only "$FENNICK_DLL" | awk '{print $3}' | grep -qx "$name" ||
    { echo "FennickDLL.so lacks $name"; fails=$((fails + 1)); }
done
exit $fails
