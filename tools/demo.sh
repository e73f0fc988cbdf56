#!/usr/bin/env bash
# The demo: builds both editions and runs them on the shipped samples
# through fennick-host, as a script of the application would call them.
# Each step prints the calls it makes and their results; outputs go to out/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
if [ "${FENNICK_NO_INSTALL:-0}" != 1 ]; then NEED_WINDOWS=0 NEED_CROSS=0 bash tools/install_deps.sh; fi
. tools/configure.sh
cmake_configure build >/dev/null
cmake --build build >/dev/null

export HOST="$root/build/fennick-host"
export DLL="$root/build/FennickDLL.so"
export DLL02="$root/build/FennickDLL02.so"
export SAMPLES="samples"
export OUT="out/demo"
rm -rf "$OUT"
mkdir -p "$OUT"

# Prints a call and runs it: call LIBRARY EXPORT [TEXT [NUMBER [BLOCK]]]
call() {
  local lib=$1
  shift
  printf '  %s' "$(basename "$lib"):"
  printf ' %q' "$@"
  printf '\n    '
  "$HOST" "$lib" "$@" | sed '2,$s/^/    /'
}
export -f call

for step in tools/demo.d/*.sh; do
  echo "## $(sed -n 's/^# //p;q' "$step")"
  # shellcheck source=/dev/null
  source "$step"
  echo
done
echo "Outputs are in out/demo/."
