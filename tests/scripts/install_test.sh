#!/usr/bin/env bash
# `cmake --install` of the build: editions, public headers, host and README
# where a user looks for them, and the installed host runs the installed
# editions.
set -u
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$FENNICK_BUILD" --prefix "$prefix" >/dev/null || { echo "install failed"; exit 1; }
fails=0
for f in lib/FennickDLL.so lib/FennickDLL02.so include/FennickDLL.h include/FennickDLL02.h \
         bin/fennick-host share/doc/Fennick/README.md; do
  [ -f "$prefix/$f" ] || { echo "not installed: $f"; fails=$((fails + 1)); }
done
for lib in FennickDLL FennickDLL02; do
  out=$("$prefix/bin/fennick-host" "$prefix/lib/$lib.so" Version 2>&1)
  [ "$out" = "Version -> 2" ] || { echo "$lib: $out"; fails=$((fails + 1)); }
done
exit $fails
