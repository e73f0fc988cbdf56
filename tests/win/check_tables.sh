#!/usr/bin/env bash
# Checks a built FennickDLL02.dll: its export table holds exactly the plain
# names of the export list (no @N, no leading underscore, nothing else) and
# it imports only the system's own DLLs.
set -euo pipefail
dll=$1 objdump=$2 list=$3

dump=$("$objdump" -p "$dll")
expected=$(grep -vE '^\s*(#|$)' "$list" | sed 's/[[:space:]]//g' | sort)
actual=$(echo "$dump" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
         grep -E '^\s*\[ *[0-9]+\]' | awk '{print $NF}' | sort)
if [ "$expected" != "$actual" ]; then
  echo "export table of $dll differs from $list:"
  diff <(echo "$expected") <(echo "$actual") || true
  exit 1
fi
allowed='^(KERNEL32|USER32|msvcrt|ADVAPI32|GDI32|SHELL32|ole32|OLEAUT32)\.dll$'
imports=$(echo "$dump" | grep 'DLL Name:' | awk '{print $3}')
bad=$(echo "$imports" | grep -viE "$allowed" || true)
if [ -n "$bad" ]; then
  echo "$dll imports DLLs that are not the system's: $bad"
  exit 1
fi
echo "$dll: $(echo "$actual" | wc -l) exports, imports $(echo $imports)"
