#!/usr/bin/env bash
# fennick-host: exact results, null and block arguments, script replay with
# state kept between lines, and the real editions by path.
set -u
host=$FENNICK_HOST
fake=$FENNICK_BUILD/fake_edition.so
fails=0
expect() {  # description expected actual
  if [ "$2" != "$3" ]; then
    echo "FAIL: $1"; echo "  expected: $2"; echo "  actual:   $3"; fails=$((fails + 1))
  fi
}

expect "negative zero" "NegativeZero -> -0" "$($host "$fake" NegativeZero)"
expect "nan" "NotANumber -> nan" "$($host "$fake" NotANumber)"
expect "-inf" "MinusInfinity -> -inf" "$($host "$fake" MinusInfinity)"
expect "all float digits" "Tiny -> 1.17549435e-38" "$($host "$fake" Tiny)"
expect "number parsing" "EchoNumber -> 2.5" "$($host "$fake" EchoNumber @null 2.5)"
expect "nan number" "EchoNumber -> -nan" "$($host "$fake" EchoNumber @null -nan)"
expect "default nulls" "Nulls -> 3" "$($host "$fake" Nulls)"
expect "text given, block null" "Nulls -> 2" "$($host "$fake" Nulls abc 0 @null)"
expect "empty block" "Nulls -> 0" "$($host "$fake" Nulls "" 0 @buf)"
expect "block text shown" "$(printf 'Describe -> 0\n  block: hi there|7')" \
  "$($host "$fake" Describe "hi there" 7 @buf)"

tmp=$(mktemp -d)
cat >"$tmp/script.txt" <<'SCRIPT'
# state is kept between lines
Counter
Counter
Describe "quoted \"text\" here" 1.5 @buf
Nulls @null 0 "block text"
Counter
SCRIPT
expected=$(printf '%s\n' "Counter -> 1" "Counter -> 2" "Describe -> 0" \
  '  block: quoted "text" here|1.5' "Nulls -> 1" "Counter -> 3")
expect "script replay" "$expected" "$($host "$fake" --script "$tmp/script.txt")"

$host "$fake" NoSuchExport >/dev/null 2>&1
expect "missing export fails" 2 $?
$host /no/such/library.so Version >/dev/null 2>&1
expect "missing library fails" 2 $?
expect "FennickDLL by path" "Version -> 2" "$($host "$FENNICK_DLL" Version)"
expect "FennickDLL02 by path" "GetVertsVyx -> 20" \
  "$($host "$FENNICK_DLL02" GetVertsVyx "$FENNICK_SOURCE/samples/grid.vyx" 0)"
rm -rf "$tmp"
[ $fails -eq 0 ] && echo "host: all checks passed"
exit $fails
