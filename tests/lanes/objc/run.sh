#!/usr/bin/env bash
# The Objective-C++ lane: AddCocoa/AddCocoa_mac.mm compiled with clang-19
# and -Werror, __APPLE__ defined, against GNUstep's Foundation and AppKit,
# GCC's Objective-C runtime headers, libc++, and sdk/: the Carbon, Core
# Foundation and Quartz calls the file uses, declared as macOS's SDK declares
# them. prelude.h makes nil C++'s nullptr, as Apple's headers do.
#   run.sh BUILD_DIR
# Checks, each counted: the file compiles; copies of it with a planted fault
# are refused (a misspelt selector, a C string where an NSString goes, a
# plain number for an event tap location, the deprecated file-type call
# without its silencing).
# Ends with "objc PASSED FAILED".
set -uo pipefail
root=$(cd "$(dirname "$0")/../../.." && pwd)
here=$root/tests/lanes/objc
dir=$(realpath -m "$1")
cd "$root" || exit 1
pass=0 fail=0
ok() { pass=$((pass + 1)); }
bad() { echo "  FAILED: $*"; fail=$((fail + 1)); }

rm -rf "$dir"
mkdir -p "$dir/include"
# GCC's objc/ headers alone (its include folder also holds GCC's own
# builtin headers, which clang must not take).
ln -s "$(gcc -print-file-name=include)/objc" "$dir/include/objc"
source_file=$root/AddCocoa/AddCocoa_mac.mm
flags=(-x objective-c++ -std=c++17 -stdlib=libc++ -fobjc-runtime=gcc -fobjc-exceptions
       -fconstant-string-class=NSConstantString -D__APPLE__ -DGNUSTEP -DGNUSTEP_BASE_LIBRARY=1
       -DGNU_GUI_LIBRARY=1 -DGNU_RUNTIME=1
       -isystem "$dir/include" -isystem "$here/sdk" -isystem "$root/tests/lanes/apple/include"
       -isystem /usr/include/GNUstep -include "$here/prelude.h"
       -I"$root/AddCocoa" -I"$root/Mobrel01" -Wall -Wextra -Werror
       -Werror=missing-prototypes -Werror=missing-variable-declarations)

echo "== objc: AddCocoa_mac.mm"
if clang++-19 "${flags[@]}" -c "$source_file" -o "$dir/AddCocoa_mac.o"; then ok; else bad "compile"; fi

# mutant NAME SED-EXPRESSION EXPECTED-DIAGNOSTIC: a copy with one planted
# fault must be refused with that diagnostic.
mutant() {
  local name=$1 expr=$2 expected=$3 copy=$dir/$1.mm out
  sed -e "$expr" "$source_file" >"$copy"
  if cmp -s "$source_file" "$copy"; then bad "$name: the line to change is gone"; return; fi
  if out=$(clang++-19 "${flags[@]}" -fsyntax-only "$copy" 2>&1); then
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
echo "objc $pass $fail"
