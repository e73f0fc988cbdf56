# Sourced by every lane (the scripts under tests/lanes and the lanes
# tools/test_all.sh runs itself): one way to count checks and to report them.
#   lane_begin NAME      counts from zero for the lane NAME
#   ok, bad MESSAGE      one check passed, one failed (the message printed)
#   count PASSED FAILED  several checks at once
#   lane_end             prints the lane's result line, its last line:
#                        "NAME passed=P failed=F"
#   lane_result NAME FILE  the counts of NAME's last result line in FILE,
#                        "P F"; nothing when there is none
#   gtest_count FILE RC  a googletest program's counts from its output and
#                        exit status; a run that crashed, hung or ran
#                        nothing counts one failure
#   same_outputs WORK REFERENCE OTHER [RUNNER...]  the output comparison
#                        of tests/lanes/same_outputs, counted in this lane
#   compile_command DB SUFFIX  the compile command compile_commands.json DB
#                        gives the source ending in SUFFIX, without its
#                        source, output and dependency-file arguments
# Also sets fennick_root and the tool versions of tools/versions.sh.
fennick_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
. "$fennick_root/tools/versions.sh"

lane_begin() { lane_name=$1 lane_pass=0 lane_fail=0; }
ok() { lane_pass=$((lane_pass + 1)); }
bad() { echo "  FAILED: $*"; lane_fail=$((lane_fail + 1)); }
count() { lane_pass=$((lane_pass + $1)) lane_fail=$((lane_fail + $2)); }
lane_end() { echo "$lane_name passed=$lane_pass failed=$lane_fail"; }

lane_result() {  # name file
  [ -f "$2" ] || return 0
  sed -nE "s/^$1 passed=([0-9]+) failed=([0-9]+)\$/\\1 \\2/p" "$2" | tail -1
}

gtest_count() {  # output-file exit-status
  local p f
  p=$(sed -nE 's/^\[  PASSED  \] ([0-9]+) tests?.*/\1/p' "$1" | tail -1)
  f=$(sed -nE 's/^\[  FAILED  \] ([0-9]+) tests?.*/\1/p' "$1" | tail -1)
  p=${p:-0} f=${f:-0}
  if [ "$f" -eq 0 ] && { [ "$p" -eq 0 ] || [ "$2" != 0 ]; }; then f=1; fi
  count "$p" "$f"
  [ "$f" -eq 0 ]
}

same_outputs() {  # work reference-build other-build runner...
  local log=$1.log counts
  bash "$fennick_root/tests/lanes/same_outputs/run.sh" "$@" >"$log" 2>&1
  grep -v '^same-outputs passed=' "$log"
  counts=$(lane_result same-outputs "$log")
  # shellcheck disable=SC2086
  if [ -n "$counts" ]; then count $counts; else bad "no result from the output comparison"; fi
}

compile_command() {  # compile_commands.json source-suffix
  python3 - "$1" "$2" <<'PY'
import json, shlex, sys
for entry in json.load(open(sys.argv[1])):
    if entry["file"].endswith(sys.argv[2]):
        args, kept, i = shlex.split(entry["command"]), [], 0
        while i < len(args):
            if args[i] in ("-o", "-c", "-MF", "-MT"):
                i += 2
                continue
            if args[i] != "-MD":
                kept.append(args[i])
            i += 1
        print(shlex.join(kept))
        break
PY
}
