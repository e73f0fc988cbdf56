#!/usr/bin/env bash
# The Objective-C++ lane: AddCocoa/AddCocoa_mac.mm compiled with -Werror by
# the release's cross toolchain (cmake/toolchain-macos-cross.cmake), for
# Apple's Objective-C runtime, x86_64 (macOS 10.13) and arm64 (11.0), over
# Apple's objc/ and libc headers, GNUstep's Foundation and AppKit, and
# cmake/macos-headers: the Carbon, Core Foundation and Quartz calls as
# Apple's SDK declares them and the prelude that makes GNUstep's types
# Apple's where they differ.
#   run.sh BUILD_DIR
# Checks, each counted: the file compiles, as the release build compiles it;
# copies of it with a planted fault are refused (a misspelt selector, a C
# string where an NSString goes, a plain number for an event tap location,
# the deprecated file-type call without its silencing), and so is the file
# under a prelude that leaves GNUstep's 32-bit NSStringEncoding.
# Ends with "objc passed=P failed=F" (tests/lanes/lib.sh).
set -uo pipefail
. "$(dirname "$0")/../lib.sh"
lane_begin objc
root=$fennick_root
dir=$(realpath -m "$1")
cd "$root" || exit 1
source_file=$root/AddCocoa/AddCocoa_mac.mm
prelude=$root/cmake/macos-headers/fennick_cross_prelude.h

rm -rf "$dir"
mkdir -p "$dir"
if ! cmake -S . -B "$dir" -G Ninja -DFENNICK_WERROR=ON -DFENNICK_TESTS=OFF -DFENNICK_BENCH=OFF \
     -DCMAKE_EXPORT_COMPILE_COMMANDS=ON -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-macos-cross.cmake \
     "-DCMAKE_OSX_ARCHITECTURES=x86_64;arm64" >"$dir.configure.log" 2>&1; then
  tail -20 "$dir.configure.log"; bad "configure"; lane_end; exit 0
fi
# The build's own compile command of the file, with its source and output
# left for the caller to give.
command=$(compile_command "$dir/compile_commands.json" /AddCocoa_mac.mm)
if [ -z "$command" ]; then bad "no compile command for AddCocoa_mac.mm"; lane_end; exit 0; fi
compile() { (cd "$dir" && eval "$command" '"$@"'); }

echo "== objc: AddCocoa_mac.mm for x86_64 and arm64, Apple's runtime"
if compile -c "$source_file" -o "$dir/AddCocoa_mac.o" &&
   [ "$(llvm-lipo-$fennick_llvm -archs "$dir/AddCocoa_mac.o" | xargs)" = "x86_64 arm64" ]; then ok; else
  bad "compile"; fi

# mutant NAME SED-EXPRESSION EXPECTED-DIAGNOSTIC: a copy with one planted
# fault must be refused with that diagnostic.
mutant() {
  local name=$1 expr=$2 expected=$3 copy=$dir/$1.mm out
  sed -e "$expr" "$source_file" >"$copy"
  if cmp -s "$source_file" "$copy"; then bad "$name: the line to change is gone"; return; fi
  if out=$(compile -fsyntax-only "$copy" 2>&1); then
    bad "$name: compiled"
  elif echo "$out" | grep -q -- "$expected"; then
    ok
  else
    bad "$name: refused otherwise: $(echo "$out" | grep error: | head -3)"
  fi
}
echo "== objc: planted faults"
mutant misspelt-selector 's/\[panel setCanChooseFiles:YES\]/[panel setCanChooseFile:YES]/' \
  "instance method '-setCanChooseFile:' not found"
mutant c-string-for-nsstring 's/\[panel setTitle:titleText\]/[panel setTitle:title]/' \
  "cannot initialize a parameter of type 'NSString \*'"
mutant number-for-tap-location 's/CGEventPost(kCGHIDEventTap, event)/CGEventPost(0, event)/' \
  "no matching function for call to 'CGEventPost'"
mutant deprecation-not-silenced '/#pragma clang diagnostic ignored "-Wdeprecated-declarations"/d' \
  "'setAllowedFileTypes:' is deprecated"
# The prelude without its NSStringEncoding line: GNUstep's 32-bit type.
sed '/#define _NSStringEncoding/d; /#undef _NSStringEncoding/d' "$prelude" >"$dir/prelude-gnustep.h"
if ! echo "$command" | grep -qF -- "$prelude"; then
  bad "the compile command does not include $prelude"
elif out=$(cd "$dir" && eval "${command//$prelude/$dir/prelude-gnustep.h}" -fsyntax-only \
           '"$source_file"' 2>&1); then
  bad "GNUstep's NSStringEncoding: compiled"
elif echo "$out" | grep -q "NSStringEncoding as Apple's"; then
  ok
else
  bad "GNUstep's NSStringEncoding: refused otherwise: $(echo "$out" | grep error: | head -3)"
fi
lane_end
