#!/usr/bin/env bash
# Makes the same calls on the same inputs with two builds and compares every
# result and output file byte for byte: COLLADA documents in every normal
# mode (polygon lists and triangles), a sculpt map, scaled texture
# coordinates, VyX to OBJ (face IDs at two levels), UV tiles, vertex colours,
# compression and back.
#   run.sh WORK REFERENCE_BUILD OTHER_BUILD [RUNNER...]
# The other build's programs run under RUNNER (an emulator, for instance).
# Prints what differs and ends with "same-outputs passed=P failed=F"
# (tests/lanes/lib.sh).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../lib.sh"
lane_begin same-outputs
work=$1
ref=$(cd "$2" && pwd) && other=$(cd "$3" && pwd) || { bad "no build $2 or $3"; lane_end; exit 1; }
shift 3

rm -rf "$work"
mkdir -p "$work/in"
python3 "$here/make_inputs.py" "$work/in" || { bad "inputs"; lane_end; exit 1; }

# run_side NAME BUILD [RUNNER...]: every call, in a folder of its own.
run_side() {
  local side=$work/$1 build=$2
  shift 2
  mkdir -p "$side/out"
  ln -s ../in "$side/in"
  (
    cd "$side" || exit 1
    "$@" "$build/fennick-host" "$build/FennickDLL.so" --script "$here/dll.txt"
    "$@" "$build/fennick-host" "$build/FennickDLL02.so" --script "$here/dll02.txt"
    for level in 1 2; do
      "$@" "$build/vyx-convert" "$build/FennickDLL.so" obj in/faces.vyx $level in/mesh.vyx \
        out/mesh_level$level.obj
    done
    "$@" "$build/vyx-convert" "$build/FennickDLL.so" tiles in/mesh.vyx out/tile.obj
    "$@" "$build/vyx-convert" "$build/FennickDLL.so" colours in/colours.vyx out/colours.txt
  ) >"$side/results.txt" 2>&1
}

run_side reference "$ref"
run_side other "$other" "$@"

check() {  # description, then the command that must succeed
  local what=$1
  shift
  if "$@"; then ok; else bad "differs: $what"; fi
}
# The calls must have worked, or equal failures would pass for equal output.
if grep -E -e ' -> (-|nan)' -e 'not found|cannot|usage|No such' "$work/reference/results.txt"; then
  bad "a call of the reference run failed"
fi
outputs=$(ls "$work/reference/out")
if [ "$(echo "$outputs" | wc -l)" -lt 35 ]; then
  bad "the reference run wrote only: $outputs"
fi
check "results printed by the calls" cmp -s "$work/reference/results.txt" "$work/other/results.txt"
check "names of the files written" test "$outputs" = "$(ls "$work/other/out")"
for name in $outputs; do
  check "out/$name" cmp -s "$work/reference/out/$name" "$work/other/out/$name"
done
if [ "$lane_fail" -gt 0 ]; then
  diff "$work/reference/results.txt" "$work/other/results.txt" | head -20
fi
lane_end
[ "$lane_fail" -eq 0 ]
