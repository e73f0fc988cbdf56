#!/usr/bin/env bash
# The VyX unit suite in a temporary folder whose name holds a dot: the
# split's output base is cut at the file name's extension only, so a dot in
# a folder of the path changes nothing.
set -u
suite=$FENNICK_BUILD/tests/unit_VyXOps
if [ ! -x "$suite" ]; then
  echo "SKIP: $suite is not built"; exit 77
fi
# The dotted folder inside one without a dot, which takes anything written
# beside it.
outer=$(mktemp -d "${TMPDIR:-/tmp}/fennickdot_XXXXXX")
trap 'rm -rf "$outer"' EXIT
tmp=$outer/run.d
mkdir "$tmp"
out=$(TMPDIR=$tmp "$suite" 2>&1)
rc=$?
echo "$out" | grep -E '^\[  FAILED  \]|Failure$' -A6 | head -60
echo "$out" | tail -3
stray=$(find "$outer" -mindepth 1 -maxdepth 1 ! -name run.d)
if [ -n "$stray" ]; then
  echo "FAIL: written beside the dotted folder:" $stray; rc=1
fi
exit $rc
