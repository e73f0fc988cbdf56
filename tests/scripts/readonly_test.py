"""An output folder that cannot be written. Root passes permission bits, so
each call runs in a child for which the folder is read-only, by whichever
ways this machine has:
  mount   a read-only bind mount of the folder in a mount namespace of the
          child's own (unshare -m, or unshare -rm in a user namespace)
  caps    the folder's mode 0555, with CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH
          and CAP_FOWNER dropped for the child (setpriv), or plain permission
          bits when not running as root
Every writer must report the failure with its code, nothing in the folder
may change, and no input may be lost. Skips (77) when no way works."""
import os
import shutil
import sys
import tempfile

import fault_support
from fault_support import (CONVERT, DLL, DLL02, Checks, faces_first, mesh, obj_grid, read,
                           snapshot, write)

checks = Checks()
check = checks.check
DROPPED = "dac_override,dac_read_search,fowner"


def prefixes(folder):
    """(way, command prefix) for each way this machine may have."""
    ways = []
    bind = ["sh", "-c", 'mount --bind "$0" "$0" && mount -o remount,bind,ro "$0" && exec "$@"',
            folder]
    if shutil.which("unshare"):
        ways.append(("mount", ["unshare", "-m", "--propagation", "private"] + bind))
        ways.append(("mount", ["unshare", "-rm", "--propagation", "private"] + bind))
    if os.geteuid() != 0:
        ways.append(("caps", []))
    elif shutil.which("setpriv"):
        ways.append(("caps", ["setpriv", "--inh-caps=-all",
                              "--bounding-set=-" + DROPPED.replace(",", ",-"), "--"]))
    return ways


def usable(prefix, folder):
    """Whether the prefix runs a program, and that program cannot create a
    file in the folder."""
    ok = fault_support.run(["true"], prefix=prefix, timeout=30)
    probe = os.path.join(folder, "probe")
    written = fault_support.run(["sh", "-c", 'echo x > "$0"', probe], prefix=prefix, timeout=30)
    made = os.path.exists(probe)
    if made:
        os.remove(probe)
    return (ok is not None and ok.code == 0 and written is not None and written.code != 0
            and not made)


def exercise(way, prefix, d):
    files_writable = way == "caps"  # on a read-only mount no file is writable
    ro = os.path.join(d, "ro")
    src = os.path.join(d, "src")

    def r(name):
        return os.path.join(ro, name)

    def s(name):
        return os.path.join(src, name)

    def run(args, fn=None, limit=None):
        o = fault_support.run(args, prefix=prefix, limit=limit)
        if o is None or o.crashed():
            check(f"[{way}] {args}", False, "no answer" if o is None else o.out + o.err[-2000:])
            return None
        return o.result(fn)

    def host(export, text, number=0, blk="@null", dll=DLL):
        return run(fault_support.host_args(export, text, number, blk, dll))

    before = snapshot(ro)
    inputs = snapshot(src)
    expect = []  # (call, result seen, result wanted)

    # Writers and exports whose output would be a new file in the folder.
    expect += [
        ("writeOBJfromVyx", run([CONVERT, DLL, "obj", s("faces.vyx"), "1", s("mesh.vyx"),
                                 r("o.obj")], "writeOBJfromVyx"), "-2"),
        ("ReadVertColorVyx", run([CONVERT, DLL, "colours", s("mesh.vyx"), r("c.txt")],
                                 "ReadVertColorVyx"), "-2"),
        ("GetUVsFromVyX", run([CONVERT, DLL, "tiles", s("mesh.vyx"), r("t.vyx")],
                              "GetUVsFromVyX"), "1501"),
        ("OBJtoSculpty", host("OBJtoSculpty", s("grid.obj"), 0, r("m.bmp")), "-4"),
        ("ScaleUVs", host("ScaleUVs", s("grid.obj"), 0.5, r("s.obj")), "-2"),
        ("writeCollada", host("writeCollada", s("grid.obj"), 1, r("c.dae")), "-2"),
        ("writeColladaTris", host("writeColladaTris", s("grid.obj"), 1, r("c.dae")), "-2"),
        ("FileCopyTo", host("FileCopyTo", s("mesh.vyx"), 0, r("copy.vyx")), "-1"),
        ("FileRename in", host("FileRename", s("mesh.vyx"), 0, r("moved.vyx")), "-1"),
        ("FileRename within", host("FileRename", r("notes.txt"), 0, r("moved.txt")), "-1"),
        ("FileRename out", host("FileRename", r("notes.txt"), 0, s("moved.txt")), "-1"),
        ("CompressFile", host("CompressFile", s("mesh.vyx"), 0, r("x.rle"), DLL02), "-2"),
        ("DecompressFile", host("DecompressFile", s("mesh.vyx"), 0, r("x.bin"), DLL02), "-2"),
        ("FileDelete", host("FileDelete", r("notes.txt")), "-1"),
        ("FileDelete DLL02", host("FileDelete", r("notes.txt"), dll=DLL02), "-1"),
        ("EmptyFolder", host("EmptyFolder", ro), "0"),
        ("EmptyFolder DLL02", host("EmptyFolder", ro, dll=DLL02), "0"),
        # Files that are read-only themselves: nothing may replace them.
        ("ScaleUVs onto a read-only file", host("ScaleUVs", s("grid.obj"), 0.5, r("locked.obj")),
         "-2"),
        ("writeCollada onto a read-only file",
         host("writeCollada", s("grid.obj"), 1, r("locked.obj")), "-2"),
        ("FileCopyTo onto a read-only file", host("FileCopyTo", s("mesh.vyx"), 0, r("locked.obj")),
         "-1"),
        ("CompressFile onto a read-only file",
         host("CompressFile", s("mesh.vyx"), 0, r("locked.obj"), DLL02), "-2"),
        ("mergeFiles into a read-only file",
         run([CONVERT, DLL, "merge", s("mesh.vyx"), r("locked.obj")], "mergeFiles"), "-3760"),
        # Reading from the folder still works.
        ("CompressFile from the folder",
         host("CompressFile", r("notes.txt"), 0, s("notes.rle"), DLL02), "0.75"),
    ]
    os.remove(s("notes.rle"))

    # mergeFiles into a writable target in the folder: only the folder is
    # read-only, so the target is rewritten in place; on a read-only mount
    # it cannot be written at all.
    merged = read(r("target.vyx"))[:-14] + read(s("mesh.vyx"))[:-14]
    expect.append(("mergeFiles into a writable file",
                   run([CONVERT, DLL, "merge", s("mesh.vyx"), r("target.vyx")], "mergeFiles"),
                   "0" if files_writable else "-3760"))
    if files_writable:
        check(f"[{way}] mergeFiles in place", read(r("target.vyx")) == merged)
        before["target.vyx"] = merged
        # In place on a full disk: the old tail and length come back.
        expect.append(("mergeFiles in place on a full disk",
                       run([CONVERT, DLL, "merge", s("mesh.vyx"), r("target.vyx")],
                           "mergeFiles", limit=len(merged) + 4096), "-3760"))

    for call, seen, wanted in expect:
        check(f"[{way}] {call}", seen == wanted, f"{seen}, expected {wanted}")
    after = snapshot(ro)
    check(f"[{way}] the read-only folder is unchanged", after == before,
          sorted(set(after) ^ set(before)) or
          [k for k in after if after[k] != before.get(k)])
    check(f"[{way}] the inputs are unchanged", snapshot(src) == inputs,
          sorted(set(snapshot(src)) ^ set(inputs)))


with tempfile.TemporaryDirectory() as d:
    ro = os.path.join(d, "ro")
    src = os.path.join(d, "src")
    os.mkdir(src)
    m = mesh(20)
    write(os.path.join(src, "mesh.vyx"), m)
    write(os.path.join(src, "faces.vyx"), faces_first(m, 20))
    write(os.path.join(src, "grid.obj"), obj_grid(20))
    tried, done = [], set()
    for way, prefix in prefixes(ro):
        if way in done:
            continue
        shutil.rmtree(ro, ignore_errors=True)
        os.mkdir(ro)
        write(os.path.join(ro, "notes.txt"), b"AAAAAAB\n")
        write(os.path.join(ro, "README"), b"kept\n")
        write(os.path.join(ro, "locked.obj"), b"v 1 2 3\n")
        write(os.path.join(ro, "target.vyx"), m[:5000])
        os.mkdir(os.path.join(ro, "sub.d"))
        write(os.path.join(ro, "sub.d", "inner.txt"), b"inner\n")
        os.chmod(os.path.join(ro, "locked.obj"), 0o444)
        if way == "caps":
            os.chmod(ro, 0o555)
        label = " ".join(prefix[:2]) or "permission bits"
        if usable(prefix, ro):
            print(f"read-only folder by {way} ({label})")
            exercise(way, prefix, d)
            done.add(way)
        else:
            tried.append(f"{way} ({label})")
        os.chmod(ro, 0o755)
    if not done:
        print("SKIP: no way to make a folder read-only for the library here; tried",
              ", ".join(tried) or "nothing: neither unshare nor setpriv is installed")
        sys.exit(77)
    for t in tried:
        print("note: not available:", t)

sys.exit(checks.finish())
