#!/usr/bin/env bash
# The Apple lane: every C++ source of FennickDLL compiled with -Werror for
# x86_64 (macOS 10.13) and for arm64 (macOS 11.0), configured through the
# project's own Apple branch, on Apple's libc headers and libc++'s headers
# with Apple's availability annotations on (cmake/toolchain-macos-cross.cmake).
#   run.sh BUILD_DIR        (BUILD_DIR-x86_64, BUILD_DIR-arm64, ... are used)
# Checks, each counted:
#   - every object compiles, for x86_64 with macOS 10.13 as its minimum, for
#     arm64 with 11.0;
#   - a probe calling what the targets lack (std::filesystem, macOS 10.15;
#     floating-point std::to_chars, 13.4) is refused: both calls on x86_64,
#     to_chars alone on arm64;
#   - a planted memrchr call (a GNU extension macOS lacks) is refused on both,
#     a planted aligned_alloc call (macOS 10.15) on x86_64;
#   - the Apple branch: no architectures given is x86_64 for 10.13, arm64
#     alone is 11.0, a deployment target the user gives (environment or -D)
#     is kept, "x86_64;arm64" compiles one object with both slices (the
#     arm64 slice raised to 11.0).
# Ends with "apple passed=P failed=F" (tests/lanes/lib.sh).
set -uo pipefail
. "$(dirname "$0")/../lib.sh"
lane_begin apple
root=$fennick_root
here=$root/tests/lanes/apple
dir=$(realpath -m "$1")
cd "$root" || exit 1

configure() {  # build-dir cmake-args...
  local d=$1
  shift
  rm -rf "$d"
  mkdir -p "$d"
  if ! cmake -S . -B "$d" -G Ninja -DFENNICK_WERROR=ON -DFENNICK_TESTS=OFF -DFENNICK_BENCH=OFF \
       -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DCMAKE_TOOLCHAIN_FILE="$here/toolchain.cmake" "$@" \
       >"$d.configure.log" 2>&1; then
    tail -20 "$d.configure.log"
    return 1
  fi
}

# The compile command of TextOps.cpp in a configured build.
command_of() {  # build-dir
  compile_command "$1/compile_commands.json" /TextOps/TextOps.cpp
}

# The -arch and -mmacosx-version-min flags a build gives TextOps.cpp.
target_flags() {  # build-dir
  command_of "$1" |
    grep -oE -- '-arch [^ ]+|-mmacosx-version-min=[^ ]+' | xargs
}
expect_flags() {  # label build-dir expected
  local got
  got=$(target_flags "$2")
  if [ "$got" = "$3" ]; then ok; else bad "$1: '$got', expected '$3'"; fi
}

# The minimum macOS recorded in an object's slice.
minimum_of() {  # object arch
  llvm-objdump-$fennick_llvm --macho --private-headers --arch="$2" "$1" 2>&1 |
    grep -E '^ *(version|minos) ' | awk '{print $2}' | head -1
}

# Compiles every C++ object of FennickDLL; each must be one slice of `arch`
# for macOS `minimum`.
compile_all() {  # build-dir arch minimum
  local d=$1 arch=$2 minimum=$3 objects count o f slices
  objects=$(ninja -C "$d" -t inputs FennickDLL | grep '\.cpp\.o$')
  count=$(echo "$objects" | grep -c .)
  if [ "$count" -lt 25 ]; then bad "only $count objects of FennickDLL in $d"; return; fi
  echo "== apple: compile $count sources of FennickDLL for $arch, macOS $minimum"
  # shellcheck disable=SC2086
  ninja -C "$d" -k 0 $objects >"$d.build.log" 2>&1
  grep -E 'error:|FAILED:' "$d.build.log" | head -40
  for o in $objects; do
    f=$d/$o
    if [ ! -f "$f" ]; then bad "$arch: ${o##*/} did not compile"; continue; fi
    slices=$(llvm-lipo-$fennick_llvm -archs "$f" 2>&1 | xargs)
    if [ "$slices" = "$arch" ] && [ "$(minimum_of "$f" "$arch")" = "$minimum" ]; then
      ok
    else
      bad "$arch: ${o##*/} holds '$slices' for macOS $(minimum_of "$f" "$arch")"
    fi
  done
}

# The probe compiled with the flags a build gives TextOps.cpp.
probe_errors() {  # build-dir [probe-source [flags...]]
  local cmd src=${2:-$here/probe.cpp}
  cmd="$(command_of "$1")$(printf ' %q' "${@:3}" -o "$1/probe.o" -c "$src")"
  (cd "$1" && eval "$cmd" 2>&1)
}
refused() { echo "$1" | grep -q "'$2' is unavailable: introduced in macOS"; }
# The C library probes: memrchr undeclared on both; aligned_alloc refused
# where the target is older than 10.15.
c_probes() {  # build-dir aligned-alloc-refused(1|0)
  local errors
  errors=$(probe_errors "$1" "$here/probe_c.cpp" -DFENNICK_PROBE_MEMRCHR)
  if echo "$errors" | grep -q "use of undeclared identifier 'memrchr'"; then ok; else
    bad "$1: memrchr not refused: $errors"; fi
  errors=$(probe_errors "$1" "$here/probe_c.cpp" -DFENNICK_PROBE_ALIGNED_ALLOC)
  if [ "$2" = 1 ]; then
    if echo "$errors" | grep -q "'aligned_alloc' is only available on macOS 10.15"; then ok; else
      bad "$1: aligned_alloc not refused: $errors"; fi
  elif [ -z "$errors" ]; then ok; else bad "$1: aligned_alloc refused on 11.0: $errors"; fi
}

echo "== apple: configure for x86_64 with the defaults, and for arm64"
if configure "$dir-x86_64"; then
  expect_flags "no architectures given" "$dir-x86_64" "-arch x86_64 -mmacosx-version-min=10.13"
  compile_all "$dir-x86_64" x86_64 10.13
  errors=$(probe_errors "$dir-x86_64")
  if refused "$errors" file_size && refused "$errors" to_chars; then ok; else
    bad "x86_64 probe not refused: $errors"; fi
  c_probes "$dir-x86_64" 1
else
  bad "configure with the defaults"
fi
if configure "$dir-arm64" -DCMAKE_OSX_ARCHITECTURES=arm64; then
  expect_flags "arm64 alone" "$dir-arm64" "-arch arm64 -mmacosx-version-min=11.0"
  compile_all "$dir-arm64" arm64 11.0
  errors=$(probe_errors "$dir-arm64")
  if refused "$errors" to_chars && ! refused "$errors" file_size; then ok; else
    bad "arm64 probe: $errors"; fi
  c_probes "$dir-arm64" 0
else
  bad "configure for arm64"
fi

echo "== apple: deployment targets given, universal build"
if MACOSX_DEPLOYMENT_TARGET=10.15 configure "$dir-given"; then
  expect_flags "target in the environment" "$dir-given" "-arch x86_64 -mmacosx-version-min=10.15"
else
  bad "configure with MACOSX_DEPLOYMENT_TARGET"
fi
if configure "$dir-given-arm64" -DCMAKE_OSX_ARCHITECTURES=arm64 -DCMAKE_OSX_DEPLOYMENT_TARGET=12.0; then
  expect_flags "target given for arm64" "$dir-given-arm64" "-arch arm64 -mmacosx-version-min=12.0"
else
  bad "configure for arm64 with a target"
fi
if configure "$dir-universal" "-DCMAKE_OSX_ARCHITECTURES=x86_64;arm64"; then
  expect_flags "universal" "$dir-universal" "-arch x86_64 -arch arm64 -mmacosx-version-min=10.13"
  o=TextOps/CMakeFiles/TextOps.dir/TextOps.cpp.o
  ninja -C "$dir-universal" "$o" >"$dir-universal.build.log" 2>&1
  f=$dir-universal/$o
  slices=$(llvm-lipo-$fennick_llvm -archs "$f" 2>&1 | xargs)
  if [ "$slices" = "x86_64 arm64" ] && [ "$(minimum_of "$f" x86_64)" = 10.13 ] &&
     [ "$(minimum_of "$f" arm64)" = 11.0 ]; then
    ok
  else
    bad "universal object: '$slices'"; tail -20 "$dir-universal.build.log"
  fi
else
  bad "configure the universal build"
fi
lane_end
