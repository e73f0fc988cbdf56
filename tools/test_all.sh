#!/usr/bin/env bash
# Runs every test lane and ends with one line "N passed, N failed":
#   linux     release build with -Werror, ctest (unit, ABI, real readers, scripts)
#   libcxx    clang over libc++ (macOS's C++ library) with -Werror, ctest;
#             outputs compared byte for byte with the linux lane's build
#   arm64     clang cross build for aarch64 (signed char), unit and ABI
#             suites under qemu-aarch64; outputs compared with the x86-64 build
#   apple     every C++ source of FennickDLL compiled with -Werror for macOS
#             x86_64 (10.13) and arm64 (11.0) against libc++ with Apple's
#             availability annotations on; the CMake Apple branch's defaults
#   objc      AddCocoa_mac.mm with clang -Werror for Apple's Objective-C
#             runtime against GNUstep's headers and Apple-exact declarations
#   macos     the macOS release archive built (universal FennickDLL.dylib,
#             ld64.lld) and checked as a loader would read it, each check
#             proven by a planted fault; the CI workflow's syntax
#   sanitize  AddressSanitizer + UndefinedBehaviorSanitizer build, ctest
#   win64     FennickDLL02.dll for x86_64: export/import table check, tests under Wine
#   win32     the same for i686
#   demo      the README's demo on the shipped samples
#   fuzz      each fuzz target briefly on its committed corpus
# Lanes to run can be named as arguments (default: all). Installs what is
# missing first (Debian; set FENNICK_NO_INSTALL=1 to skip). Prints each
# lane's time and the CPU time of its processes.
# Every lane, run here or by its script, counts its checks with
# tests/lanes/lib.sh and ends with the line "LANE passed=P failed=F"; the
# summary adds up those lines (a lane without one counts one failure).
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. tools/configure.sh
. tests/lanes/lib.sh
lanes=("$@")
[ ${#lanes[@]} -eq 0 ] && lanes=(linux libcxx arm64 apple objc macos sanitize win64 win32 demo fuzz)
jobs=$(nproc 2>/dev/null || echo 2)

if [ "${FENNICK_NO_INSTALL:-0}" != 1 ]; then
  bash tools/install_deps.sh || { echo "dependency install failed"; echo "0 passed, 1 failed"; exit 1; }
  echo "== install: $SECONDS s"
fi

total_pass=0
total_fail=0
declare -A lane_pass lane_fail lane_secs lane_cpu
lane_order=()
logs=$(mktemp -d /tmp/fennick-lanes.XXXXXX)

note() {  # lane passed failed (a lane noted twice adds up)
  total_pass=$((total_pass + $2))
  total_fail=$((total_fail + $3))
  if [ -z "${lane_pass[$1]+set}" ]; then
    lane_order+=("$1")
    lane_pass[$1]=0 lane_fail[$1]=0
  fi
  lane_pass[$1]=$((lane_pass[$1] + $2))
  lane_fail[$1]=$((lane_fail[$1] + $3))
}

# cpu_total: user and system seconds of every finished child process so far
# (the shell's own "times": it must not run in a subshell).
cpu_file=$(mktemp /tmp/fennick-times.XXXXXX)
cpu_mark() {
  times >"$cpu_file"
  cpu_total=$(awk 'function sec(t, a) { split(t, a, /[ms]/); return a[1] * 60 + a[2] }
                   NR == 2 { printf "%d", sec($1) + sec($2) }' "$cpu_file")
}

# ctest summary "NN% tests passed, F tests failed out of T" -> counts; one
# more check: the tests left nothing in the temporary folder.
ctest_lane() {  # lane builddir cmake-args...
  local lane=$1 dir=$2
  shift 2
  echo "== $lane: configure and build ($dir)"
  if ! cmake_configure "$dir" -DFENNICK_WERROR=ON "$@" >"$dir.configure.log" 2>&1; then
    tail -30 "$dir.configure.log"; bad "configure"; return
  fi
  if ! cmake --build "$dir" -j "$jobs" >"$dir.build.log" 2>&1; then
    grep -E 'error|Error' "$dir.build.log" | head -40; bad "build"; return
  fi
  echo "== $lane: ctest"
  # The tests' temporary files go to a folder of the lane's own: whatever
  # is left there afterwards is a test that does not remove what it made.
  local out scratch left
  scratch=$(mktemp -d "/tmp/fennick-$lane.XXXXXX")
  out=$(cd "$dir" && TMPDIR=$scratch ctest -j "$jobs" --output-on-failure --timeout 900 2>&1)
  left=$(ls -A "$scratch")
  rm -rf "$scratch"
  echo "$out" | grep -E 'Failed|\*\*\*|tests passed|Not Run' | head -60
  local line total failed
  line=$(echo "$out" | grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' | tail -1)
  if [ -z "$line" ]; then
    echo "$out" | tail -20; bad "no ctest summary"; return
  fi
  failed=$(echo "$line" | sed -E 's/.*passed, ([0-9]+) tests? failed out of ([0-9]+).*/\1/')
  total=$(echo "$line" | sed -E 's/.*failed out of ([0-9]+).*/\1/')
  if [ "$total" -eq 0 ]; then bad "ctest ran no test"; return; fi
  count $((total - failed)) "$failed"
  if [ -z "$left" ]; then ok; else
    bad "the tests left in the temporary folder: $(echo $left | cut -c1-400)"; fi
}

start_display() {
  if [ -z "${DISPLAY:-}" ]; then
    # Xvfb picks a free display number itself and writes it to fd 3.
    local fifo
    fifo=$(mktemp -u /tmp/fennick-xvfb.XXXXXX)
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    xvfb_pid=$!
    local number
    read -r -t 20 number <"$fifo" || true
    rm -f "$fifo"
    [ -n "$number" ] && export DISPLAY=:$number
  fi
}

wine_ready=0
wine=wine
wine_runs_i686=1
wine_setup() {
  [ $wine_ready = 1 ] && return 0
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEPREFIX=$(mktemp -d /tmp/fennick-wine.XXXXXX)
  # Debian's wine script always takes the 32-bit loader once it is
  # installed; a kernel that cannot execute 32-bit x86 programs refuses it,
  # and then 64-bit programs go to the 64-bit loader directly.
  if ! /usr/lib/wine/wine --version >/dev/null 2>&1 && [ -x /usr/lib/wine/wine64 ]; then
    wine=/usr/lib/wine/wine64
    export WINELOADER=$wine
    wine_runs_i686=0
    echo "== wine: this kernel cannot execute 32-bit x86 programs; 64-bit loader only"
  fi
  start_display
  echo "== wine: new prefix $WINEPREFIX"
  "$wine" wineboot -i >/dev/null 2>&1 || true
  wine_ready=1
}

# The Windows test program's WinFaults.* once more, under a 1 MiB file-size
# limit, with a folder the Wine server cannot write: where root's powers can
# be dropped for the server (or for a user other than root), its mode 0555
# holds. Prints the program's output.
win_fault_run() {  # build-dir
  local dir=$1 kit limit=1048576 ro_ok=
  kit=$(mktemp -d /tmp/fennick-faultkit.XXXXXX)
  mkdir "$kit/ro" "$kit/ro/sub.d"
  printf 'AAAAAAB\n' >"$kit/ro/notes.txt"
  printf 'kept\n' >"$kit/ro/README"
  printf 'inner\n' >"$kit/ro/sub.d/inner.txt"
  printf 'locked\n' >"$kit/ro/locked.bin"
  chmod 0444 "$kit/ro/locked.bin"
  chmod 0555 "$kit/ro"
  truncate -s 2M "$kit/big.bin"
  # The server opens, creates and deletes files for the program: it is the
  # one that must lack CAP_DAC_OVERRIDE. Started before the limit applies.
  wineserver -k >/dev/null 2>&1; wineserver -w
  if [ "$(id -u)" != 0 ]; then
    ro_ok=1
  elif setpriv --inh-caps=-all --bounding-set=-dac_override,-dac_read_search,-fowner -- \
       wineserver -p >/dev/null 2>&1; then
    ro_ok=1
  else
    wineserver -p >/dev/null 2>&1
  fi
  (trap '' XFSZ
   ulimit -f $((limit / 1024))
   cd "$dir" && env FENNICK_FAULT_KIT="$kit" FENNICK_WRITE_LIMIT=$limit ${ro_ok:+FENNICK_READONLY=1} \
     timeout 300 "$wine" fennick_win_tests.exe --gtest_filter='WinFaults.*' 2>&1)
  wineserver -k >/dev/null 2>&1; wineserver -w
  chmod -R u+w "$kit"; rm -rf "$kit"
}

# Runs after wine_setup (in the shell that runs the lanes: the prefix is
# shared by both Windows lanes and removed at the end).
win_lane() {  # lane arch
  local lane=$1 arch=$2 dir=build-win-$2
  echo "== $lane: configure and build ($dir)"
  if ! cmake -S . -B "$dir" -G Ninja -DFENNICK_WERROR=ON \
       -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-$arch-w64-mingw32.cmake >"$dir.configure.log" 2>&1; then
    tail -30 "$dir.configure.log"; bad "configure"; return
  fi
  if ! cmake --build "$dir" -j "$jobs" >"$dir.build.log" 2>&1; then
    grep -E 'error|Error' "$dir.build.log" | head -40; bad "build"; return
  fi
  if bash tests/win/check_tables.sh "$dir/FennickDLL02.dll" "$arch-w64-mingw32-objdump" exports02/exports02.list; then
    ok
  else
    bad "export and import tables"
  fi
  if [ "$arch" = i686 ] && [ $wine_runs_i686 = 0 ]; then
    echo "== $lane: SKIPPED the runs under Wine: this machine's kernel cannot execute 32-bit x86 programs (built and export table checked only)"
    echo "$lane: runs under Wine (no 32-bit x86 execution on this kernel)" >>"$logs/skipped"
    return
  fi
  # The host harness built for Windows drives the DLL by name too.
  local hostout
  hostout=$(cd "$dir" && timeout 120 "$wine" fennick-host.exe FennickDLL02.dll GetVertsVyx "$root/samples/grid.vyx" 0 2>&1 | tr -d '\r')
  if [ "$hostout" = "GetVertsVyx -> 20" ]; then ok; else
    bad "fennick-host.exe under Wine printed: $hostout"; fi
  # The release archive made from this build, unpacked and run as a user would.
  local archive
  if archive=$(bash tools/package.sh "$lane" "$dir" 2>&1 | tail -1) && [ -f "$archive" ] &&
     WINE=$wine bash tests/win/package_test.sh "$archive" "$root/samples"; then
    ok
  else
    bad "release archive: $archive"
  fi
  echo "== $lane: tests under Wine"
  local out=$logs/$lane.tests.log rc
  (cd "$dir" && timeout 900 "$wine" fennick_win_tests.exe --gtest_filter='-WinFaults.*') >"$out" 2>&1
  rc=$?
  grep -E '^\[  FAILED|Failure|error' "$out" | head -40
  gtest_count "$out" $rc || tail -20 "$out"
  echo "== $lane: fault run under Wine (read-only folder, full disk)"
  out=$logs/$lane.faults.log
  win_fault_run "$dir" >"$out"
  rc=$?
  grep -E '^\[  FAILED|Failure|error' "$out" | head -40
  grep -A1 -E ': Skipped$' "$out" | grep -vE ': Skipped$|^--$' | sed 's/^/  skipped: /'
  gtest_count "$out" $rc || tail -20 "$out"
}

# The linux lane's build of what the output comparisons call (nothing to do
# once that lane has run).
reference_build() {
  echo "== reference: x86-64 GCC build of both editions and the tools (build)"
  cmake_configure build -DFENNICK_WERROR=ON >build.configure.log 2>&1 &&
    cmake --build build -j "$jobs" --target FennickDLL FennickDLL02 fennick-host vyx-convert \
      >build.reference.log 2>&1 ||
    { tail -30 build.configure.log build.reference.log; return 1; }
}

libcxx_lane() {
  ctest_lane libcxx build-libcxx -DCMAKE_TOOLCHAIN_FILE=tests/lanes/libcxx/toolchain.cmake \
    -DFENNICK_GTEST_FROM_SOURCE=ON -DFENNICK_BENCH=OFF
  if reference_build; then
    echo "== libcxx: outputs against the x86-64 GCC build"
    same_outputs build-libcxx/same-outputs build build-libcxx
  else
    bad "reference build"
  fi
}

arm64_lane() {
  if reference_build; then
    bash tests/lanes/arm64/run.sh build-arm64 build
  else
    lane_begin arm64; bad "reference build"; lane_end
  fi
}

demo_lane() {
  echo "== demo"
  if bash tools/demo.sh >build-demo.log 2>&1; then
    ok
  else
    tail -30 build-demo.log; bad "demo"
  fi
}

fuzz_lane() {
  echo "== fuzz: smoke runs"
  if ! CC=clang CXX=clang++ cmake -S fuzz -B build-fuzz -G Ninja >build-fuzz.configure.log 2>&1; then
    tail -30 build-fuzz.configure.log; bad "configure"; return
  fi
  if ! cmake --build build-fuzz -j "$jobs" >build-fuzz.build.log 2>&1; then
    grep -E 'error|Error' build-fuzz.build.log | head -40; bad "build"; return
  fi
  local target name
  for target in build-fuzz/fuzz_*; do
    [ -x "$target" ] || continue
    name=$(basename "$target")
    local corpus=$root/fuzz/corpus/${name#fuzz_}
    local dict=()
    [ -f "fuzz/${name#fuzz_}.dict" ] && dict=(-dict="$root/fuzz/${name#fuzz_}.dict")
    # Runs on a copy: what the run finds stays in build-fuzz, the committed
    # corpus as it is.
    rm -rf "build-fuzz/corpus-$name" && mkdir "build-fuzz/corpus-$name"
    [ -d "$corpus" ] && cp -r "$corpus/." "build-fuzz/corpus-$name/"
    if (cd build-fuzz && timeout 120 "./$name" -max_total_time=${FUZZ_SECONDS:-10} -rss_limit_mb=2048 \
          "${dict[@]}" "corpus-$name" >"$name.log" 2>&1); then
      ok
    else
      tail -20 "build-fuzz/$name.log"; bad "$name"
    fi
  done
}

# A lane in a function of this script: counted from zero, ends with its
# result line however the function returns.
in_lane() {  # lane function args...
  lane_begin "$1"
  "${@:2}"
  lane_end
}

# Runs one lane, its output shown as it comes and kept, and notes the
# counts of its result line.
run_lane() {  # lane command...
  local lane=$1 log=$logs/$1.log counts
  shift
  ("$@") 2>&1 | tee "$log"
  counts=$(lane_result "$lane" "$log")
  if [ -z "$counts" ]; then
    echo "== $lane: FAILED: no result line \"$lane passed=P failed=F\""
    note "$lane" 0 1
  else
    # shellcheck disable=SC2086
    note "$lane" $counts
  fi
}

for lane in "${lanes[@]}"; do
  started=$SECONDS
  cpu_mark
  cpu_started=$cpu_total
  case $lane in
    linux) run_lane linux in_lane linux ctest_lane linux build ;;
    libcxx) run_lane libcxx in_lane libcxx libcxx_lane ;;
    arm64) run_lane arm64 arm64_lane ;;
    apple) run_lane apple bash tests/lanes/apple/run.sh build-apple ;;
    objc) run_lane objc bash tests/lanes/objc/run.sh build-objc ;;
    macos) run_lane macos bash tests/lanes/macos/run.sh build-macos ;;
    sanitize) run_lane sanitize in_lane sanitize ctest_lane sanitize build-asan -DFENNICK_SANITIZE=ON \
                -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFENNICK_BENCH=OFF ;;
    win64) wine_setup; run_lane win64 in_lane win64 win_lane win64 x86_64 ;;
    win32) wine_setup; run_lane win32 in_lane win32 win_lane win32 i686 ;;
    demo) run_lane demo in_lane demo demo_lane ;;
    fuzz) run_lane fuzz in_lane fuzz fuzz_lane ;;
    *) echo "unknown lane $lane"; note "$lane" 0 1 ;;
  esac
  lane_secs[$lane]=$((SECONDS - started))
  cpu_mark
  lane_cpu[$lane]=$((cpu_total - cpu_started))
done

rm -f "$cpu_file"
# The Wine prefix (over a GiB) goes with the run.
if [ $wine_ready = 1 ]; then
  wineserver -k >/dev/null 2>&1
  wineserver -w >/dev/null 2>&1
  rm -rf "$WINEPREFIX"
fi
[ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null

echo
echo "Lanes:"
for lane in "${lane_order[@]}"; do
  printf '  %-9s %5d passed, %d failed  (%d s, CPU %d s)\n' "$lane" "${lane_pass[$lane]}" \
    "${lane_fail[$lane]}" "${lane_secs[$lane]:-0}" "${lane_cpu[$lane]:-0}"
done
[ -s "$logs/skipped" ] && sed 's/^/Skipped: /' "$logs/skipped"
rm -rf "$logs"
echo "$total_pass passed, $total_fail failed"
[ "$total_fail" -eq 0 ] && [ "$total_pass" -gt 0 ]
