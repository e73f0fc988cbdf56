#!/usr/bin/env python3
"""What macOS's loader would find wrong with a release dylib, per slice.

    check_dylib.py DYLIB LIST_FILE LIBSYSTEM_TBD [--report] [--program]

Checks each of the x86_64 (macOS 10.13) and arm64 (11.0) slices:
  version    LC_VERSION_MIN_MACOSX / LC_BUILD_VERSION names that minimum
  id         LC_ID_DYLIB is /usr/local/lib/FennickDLL.dylib
  dylibs     every LC_LOAD_DYLIB is a system library (/usr/lib/, /System/)
             and every bound symbol names one of them (no flat lookup)
  exports    the exported names are exactly the list file's (same grammar
             as cmake/FennickExports.cmake: NAME, fn NAME, var NAME)
  weak       no weak import (a symbol the loader may leave null)
  libsystem  every symbol bound to libSystem is in Apple's libSystem stub
  objc       class references and objc_msgSend from libobjc, no call into
             the GNU runtime's entry points
  signature  (arm64) an ad-hoc signature whose page hashes match the file
--program checks an executable (fennick-host): no id, exports or
Objective-C. Prints one "FAILED slice check: why" line per failure,
"--report" adds the load commands, export count and imports by library.
Exit status 1 on any failure.
"""
import hashlib
import os
import re
import struct
import subprocess
import sys


def llvm_version():
    """The LLVM release tools/versions.sh names."""
    versions = os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../../tools/versions.sh")
    with open(versions) as f:
        for line in f:
            if line.startswith("fennick_llvm="):
                return line.split("=", 1)[1].strip()
    raise SystemExit(f"{versions} names no fennick_llvm")


OBJDUMP = "llvm-objdump-" + llvm_version()
SLICES = {"x86_64": ("10.13", 0x01000007), "arm64": ("11.0", 0x0100000C)}
INSTALL_NAME = "/usr/local/lib/FennickDLL.dylib"
SYSTEM_PREFIXES = ("/usr/lib/", "/System/Library/")
# Entry points of the GNU Objective-C runtime (and GNUstep's libobjc2) that
# code compiled for it calls; Apple's runtime has none of them.
GNU_RUNTIME = re.compile(r"^_?(objc_msg_lookup\w*|objc_msg_send\w*|__objc_exec_class|"
                         r"objc_get_class|objc_lookup_class|objc_get_meta_class|"
                         r"__objc_class_name_\w+|_OBJC_CLASS_\w+_gnu|__gnu_objc_personality_v0|"
                         r"objc_slot_lookup\w*|_OBJC_INSTANCE_\w+|\._OBJC_REF_CLASS_\w+)$")

failures = []


def fail(arch, check, why):
    failures.append(f"FAILED {arch} {check}: {why}")


def objdump(arch, path, *options):
    out = subprocess.run([OBJDUMP, "--macho", f"--arch={arch}", *options, path],
                         capture_output=True, text=True)
    if out.returncode != 0:
        raise SystemExit(f"{OBJDUMP} {' '.join(options)}: {out.stderr.strip()}")
    return out.stdout


def load_commands(arch, path):
    """The load commands of a slice: a list of dicts of their fields."""
    commands, current = [], None
    for line in objdump(arch, path, "--private-headers").splitlines():
        words = line.split()
        if len(words) >= 2 and words[0] == "cmd":
            current = {"cmd": words[1]}
            commands.append(current)
        elif current is not None and len(words) >= 2:
            current.setdefault(words[0], " ".join(words[1:]))
    return commands


def short_name(install_name):
    # llvm-objdump names a library by its file name, less "lib" .. ".dylib"
    # extensions and version letters, as ld64's tools do.
    name = install_name.split("/")[-1]
    name = re.sub(r"\.dylib$", "", name)
    name = re.sub(r"\.[A-Z0-9](\.[0-9A-Z]+)*$", "", name)
    return name


def imports(arch, path):
    """(library short name, symbol, weak) for every bound symbol."""
    found = []
    # Rows: segment section address [type addend] dylib symbol [(weak_import)].
    for option, at in (("--bind", 5), ("--lazy-bind", 3)):
        for line in objdump(arch, path, option).splitlines():
            words = line.split()
            if len(words) <= at + 1 or not words[0].startswith("__"):
                continue
            found.append((words[at], words[at + 1], "(weak_import)" in line))
    weak_defs = [l for l in objdump(arch, path, "--weak-bind").splitlines()
                 if l.startswith("__")]
    return found, weak_defs


def exports(arch, path):
    names = []
    for line in objdump(arch, path, "--exports-trie").splitlines()[3:]:
        words = line.split()
        if len(words) >= 2 and words[0].startswith("0x"):
            names.append(words[1])
    return names


def list_patterns(list_file):
    """(kind, entry, regex) for each entry of an export list."""
    patterns = []
    for raw in open(list_file):
        line = raw.split("#", 1)[0].strip()
        if not line:
            continue
        words = line.split()
        if len(words) == 1:
            patterns.append(("name", line, re.compile(re.escape("_" + line) + "$")))
            continue
        kind, name = words[0], words[1]
        parts = name.split("::")
        prefix = "".join(f"{len(p)}{p}" for p in parts)
        if len(parts) > 1:
            prefix = f"N{prefix}E"
        if kind == "fn":
            patterns.append((kind, line, re.compile(re.escape("__Z" + prefix))))
        elif kind == "var" and len(parts) == 1:
            patterns.append((kind, line, re.compile(
                f"(_{re.escape(name)}|{re.escape('__Z' + prefix)}B.*)$")))
        else:
            raise SystemExit(f"{list_file}: cannot read '{line}'")
    return patterns


def libsystem_symbols(tbd_file):
    """Symbols of a libSystem .tbd (all its documents: libSystem re-exports
    them) per architecture."""
    per_arch = {a: set() for a in SLICES}
    targets = []
    in_list = False
    text = open(tbd_file).read()
    # Joins the continuation lines of flow lists.
    for entry in re.finditer(r"(targets|symbols|weak-symbols|thread-local-symbols|"
                             r"objc-classes|objc-eh-types|objc-ivars)\s*:\s*\[([^\]]*)\]", text):
        key, items = entry.group(1), [i.strip(" '\n") for i in entry.group(2).split(",")]
        if key == "targets":
            targets = [t.split("-")[0] for t in items if t.endswith("-macos")]
            in_list = True
            continue
        if not in_list:
            continue
        for arch in targets:
            if arch not in per_arch:
                continue
            for item in items:
                if not item:
                    continue
                if key == "objc-classes":
                    per_arch[arch].update({f"_OBJC_CLASS_$_{item}", f"_OBJC_METACLASS_$_{item}"})
                elif key == "objc-eh-types":
                    per_arch[arch].add(f"_OBJC_EHTYPE_$_{item}")
                elif key == "objc-ivars":
                    per_arch[arch].add(f"_OBJC_IVAR_$_{item}")
                else:
                    per_arch[arch].add(item)
    return per_arch


def fat_slices(data):
    """{cpu type: (offset, size)} of a universal file."""
    magic, count = struct.unpack_from(">II", data, 0)
    if magic != 0xCAFEBABE:
        raise SystemExit("not a universal file")
    slices = {}
    for i in range(count):
        cpu, _sub, offset, size, _align = struct.unpack_from(">iiIII", data, 8 + 20 * i)
        slices[cpu] = (offset, size)
    return slices


def check_signature(arch, data, offset, size, commands):
    sig = [c for c in commands if c["cmd"] == "LC_CODE_SIGNATURE"]
    if not sig:
        fail(arch, "signature", "no LC_CODE_SIGNATURE")
        return
    dataoff, datasize = int(sig[0]["dataoff"]), int(sig[0]["datasize"])
    slice_bytes = data[offset:offset + size]
    blob = slice_bytes[dataoff:dataoff + datasize]
    magic, _length, count = struct.unpack_from(">III", blob, 0)
    if magic != 0xFADE0CC0:
        fail(arch, "signature", f"superblob magic {magic:#x}")
        return
    directories = []
    for i in range(count):
        kind, at = struct.unpack_from(">II", blob, 12 + 8 * i)
        if kind == 0:
            directories.append(at)
    if not directories:
        fail(arch, "signature", "no code directory")
        return
    cd = directories[0]
    (magic, _length, _version, flags, hash_offset, _ident, _special, n_slots, code_limit,
     hash_size, hash_type, _platform, page_log) = struct.unpack_from(">IIIIIIIIIBBBB", blob, cd)
    if magic != 0xFADE0C02:
        fail(arch, "signature", f"code directory magic {magic:#x}")
        return
    if hash_type != 2 or hash_size != 32:
        fail(arch, "signature", f"hash type {hash_type}, size {hash_size} (SHA-256 expected)")
        return
    if not flags & 0x2:
        fail(arch, "signature", f"flags {flags:#x} lack ad-hoc")
    if code_limit != dataoff:
        fail(arch, "signature", f"code limit {code_limit}, signature at {dataoff}")
    page = 1 << page_log
    pages = (code_limit + page - 1) // page
    if n_slots != pages:
        fail(arch, "signature", f"{n_slots} hashes for {pages} pages")
    bad = []
    for i in range(min(n_slots, pages)):
        want = blob[cd + hash_offset + 32 * i:cd + hash_offset + 32 * (i + 1)]
        got = hashlib.sha256(slice_bytes[i * page:min((i + 1) * page, code_limit)]).digest()
        if want != got:
            bad.append(i)
    if bad:
        fail(arch, "signature", f"page hashes differ for pages {bad[:8]}")
    return n_slots


def main():
    path, list_file, tbd_file = sys.argv[1:4]
    report = "--report" in sys.argv[4:]
    program = "--program" in sys.argv[4:]
    data = open(path, "rb").read()
    slices = fat_slices(data)
    patterns = list_patterns(list_file)
    libsystem = libsystem_symbols(tbd_file)
    for arch, (minimum, cpu) in SLICES.items():
        if cpu not in slices:
            fail(arch, "slices", "missing from the universal file")
            continue
        commands = load_commands(arch, path)
        # Minimum macOS.
        versions = [c for c in commands if c["cmd"] in ("LC_BUILD_VERSION", "LC_VERSION_MIN_MACOSX")]
        got = [c.get("minos", c.get("version")) for c in versions]
        if got != [minimum]:
            fail(arch, "version", f"minimum macOS {got}, expected {minimum}")
        if versions and versions[0]["cmd"] == "LC_BUILD_VERSION" and versions[0].get("platform") != "macos":
            fail(arch, "version", f"platform {versions[0].get('platform')}")
        # Own install name.
        ids = [c.get("name", "").split(" (offset")[0] for c in commands if c["cmd"] == "LC_ID_DYLIB"]
        if ids != ([] if program else [INSTALL_NAME]):
            fail(arch, "id", f"LC_ID_DYLIB {ids}")
        # Libraries loaded and what binds to them.
        loads = [(c["cmd"], c.get("name", "").split(" (offset")[0]) for c in commands
                 if c["cmd"] in ("LC_LOAD_DYLIB", "LC_LOAD_WEAK_DYLIB", "LC_REEXPORT_DYLIB",
                                 "LC_LAZY_LOAD_DYLIB", "LC_LOAD_UPWARD_DYLIB", "LC_RPATH")]
        libraries = {}
        for cmd, name in loads:
            if cmd != "LC_LOAD_DYLIB":
                fail(arch, "dylibs", f"{cmd} {name}")
            elif not name.startswith(SYSTEM_PREFIXES):
                fail(arch, "dylibs", f"loads {name}, not a system library")
            libraries[short_name(name)] = name
        bound, weak_defs = imports(arch, path)
        by_library = {}
        for library, symbol, weak in bound:
            by_library.setdefault(library, set()).add(symbol)
            if weak:
                fail(arch, "weak", f"weak import {symbol} ({library})")
        for library in sorted(by_library):
            if library not in libraries:
                fail(arch, "dylibs", f"{sorted(by_library[library])[:5]} bound to {library}, "
                     "no library it loads")
        # Exports.
        names = [] if program else exports(arch, path)
        for name in names:
            if not any(p.match(name) for _k, _e, p in patterns):
                fail(arch, "exports", f"{name} exported, not in the list")
        for kind, entry, pattern in ([] if program else patterns):
            if not any(pattern.match(n) for n in names):
                fail(arch, "exports", f"'{entry}' of the list not exported")
        # libSystem against Apple's stub.
        for symbol in sorted(by_library.get("libSystem", ())):
            if symbol not in libsystem[arch]:
                fail(arch, "libsystem", f"{symbol} is not in Apple's libSystem stub")
        # Objective-C for Apple's runtime.
        meta = objdump(arch, path, "--objc-meta-data")
        classrefs = re.findall(r"_OBJC_CLASS_\$_(\w+)", meta.split("__objc_classrefs", 1)[-1]
                               if "__objc_classrefs" in meta else "")
        if not classrefs and not program:
            fail(arch, "objc", "no class references (__objc_classrefs)")
        if not program and "_objc_msgSend" not in by_library.get("libobjc", set()):
            fail(arch, "objc", "objc_msgSend not bound to libobjc")
        all_symbols = {s for _l, s, _w in bound}
        all_symbols |= set(objdump(arch, path, "--syms").split())
        gnu = sorted(s for s in all_symbols if GNU_RUNTIME.match(s))
        if gnu:
            fail(arch, "objc", f"GNU runtime symbols {gnu[:6]}")
        # Signature: required on arm64; checked wherever present.
        pages = None
        if arch == "arm64" or any(c["cmd"] == "LC_CODE_SIGNATURE" for c in commands):
            offset, size = slices[cpu]
            pages = check_signature(arch, data, offset, size, commands)
        if report:
            print(f"== {arch} slice")
            print("  load commands: " + " ".join(c["cmd"] for c in commands))
            for c in versions:
                print(f"  {c['cmd']}: minimum {c.get('minos', c.get('version'))}, sdk {c.get('sdk')}")
            print(f"  LC_ID_DYLIB: {' '.join(ids) or 'none'}")
            print(f"  weak-definition bindings (C++ coalescing): {len(weak_defs)}")
            for _cmd, name in loads:
                print(f"  LC_LOAD_DYLIB: {name}")
            plain = sum(1 for n in names if not n.startswith("__Z"))
            print(f"  exports: {len(names)} ({plain} C names, {len(names) - plain} C++ names)")
            if pages is not None:
                print(f"  code signature: {pages} pages, SHA-256")
            for library in sorted(by_library):
                symbols = sorted(by_library[library])
                print(f"  imports from {library} ({len(symbols)}): {' '.join(symbols)}")
    for line in failures:
        print(line)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
