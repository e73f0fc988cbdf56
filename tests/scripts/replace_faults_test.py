"""A failing call never costs the user the file it would have replaced: on a
full disk (a small tmpfs in a mount namespace of the child's own, or a
file-size limit for the split), a read of the input failing at its first
read or part way, and bad input found after the output was begun, every
writer reports its code, the existing destination keeps its bytes, and
nothing new is left in its folder. Skips (77) where no tmpfs can be
mounted; the read faults need the preloaded shim."""
import os
import shutil
import subprocess
import sys
import tempfile

import fault_support
from fault_support import CONVERT, DLL, DLL02, Checks, faces_first, mesh, obj_grid, read, write

checks = Checks()
check = checks.check
SHIM = os.environ.get("FENNICK_FAULTSHIM", "")
PREVIOUS = b"the user's previous file\n" * 120  # 3,000 bytes: one page


def mixed(n):
    return bytes((i * 7 + (i >> 9)) & 0xFF for i in range(n))


def inputs(d):
    """The inputs, outside the folder written to."""
    src = os.path.join(d, "src")
    os.makedirs(src, exist_ok=True)
    m = mesh(40)
    write(os.path.join(src, "mesh.vyx"), m)
    write(os.path.join(src, "faces.vyx"), faces_first(m, 40))
    write(os.path.join(src, "grid.obj"), obj_grid(40))
    write(os.path.join(src, "mixed.bin"), mixed(200 * 1024))  # compresses to twice its size
    write(os.path.join(src, "pairs.rle"), b"".join(bytes((255, i & 0xFF)) for i in range(2048)))
    return src


def calls(src):
    """(name, the command for an output path, the result a full disk gives)."""
    s = lambda n: os.path.join(src, n)  # noqa: E731
    H = fault_support.host_args
    return [
        ("writeOBJfromVyx", lambda o: [CONVERT, DLL, "obj", s("faces.vyx"), "1", s("mesh.vyx"), o],
         "-2"),
        ("ReadVertColorVyx", lambda o: [CONVERT, DLL, "colours", s("mesh.vyx"), o], "-2"),
        ("writeCollada", lambda o: H("writeCollada", s("grid.obj"), 1, o), "-5"),
        ("writeColladaTris", lambda o: H("writeColladaTris", s("grid.obj"), 1, o), "-5"),
        ("OBJtoSculpty", lambda o: H("OBJtoSculpty", s("grid.obj"), 0, o), "-68"),
        ("ScaleUVs", lambda o: H("ScaleUVs", s("grid.obj"), 0.5, o), "-4"),
        ("FileCopyTo", lambda o: H("FileCopyTo", s("mixed.bin"), 0, o), "-1"),
        ("FileCopyTo DLL02", lambda o: H("FileCopyTo", s("mixed.bin"), 0, o, DLL02), "-1"),
        ("CompressFile", lambda o: H("CompressFile", s("mixed.bin"), 0, o, DLL02), "-2"),
        ("DecompressFile", lambda o: H("DecompressFile", s("pairs.rle"), 0, o, DLL02), "-2"),
    ]


def result(o, call=None):
    """The result printed for `call` (the first when None)."""
    if o is None:
        return "no answer"
    if o.crashed():
        return f"crashed: exit {o.code} {o.out} {o.err[-1500:]}"
    return o.result(call)


def full_disk(room, src):
    """Runs in the namespace: `room` is a 1 MiB tmpfs."""
    for name, command, code in calls(src):
        for existed in (True, False):
            dest = os.path.join(room, "dest.out")
            if existed:
                write(dest, PREVIOUS)
            # Fill the file system but for one page, less than any output takes.
            st = os.statvfs(room)
            filler = os.path.join(room, "filler")
            write(filler, b"\0" * max(0, st.f_bavail * st.f_frsize - 4096))
            names = sorted(os.listdir(room))
            what = f"{name} on a full disk" + ("" if existed else ", no file before")
            got = result(fault_support.run(command(dest), timeout=120), name.split()[0])
            check(what, got == code, f"{got}, expected {code}")
            if existed:
                check(f"{what}: the previous file is kept", read(dest) == PREVIOUS,
                      f"{len(read(dest))} bytes now")
            else:
                check(f"{what}: no file made", not os.path.exists(dest),
                      f"{os.path.getsize(dest)} bytes" if os.path.exists(dest) else "")
            others = sorted(n for n in os.listdir(room) if n != "dest.out")
            check(f"{what}: nothing beside it", others == [n for n in names if n != "dest.out"],
                  others)
            for n in os.listdir(room):
                os.remove(os.path.join(room, n))
    # mergeFiles was safe before; it stays so on a real full disk.
    target = os.path.join(room, "target.vyx")
    write(target, PREVIOUS)
    st = os.statvfs(room)
    write(os.path.join(room, "filler"), b"\0" * max(0, st.f_bavail * st.f_frsize - 4096))
    names = sorted(os.listdir(room))
    got = result(fault_support.run([CONVERT, DLL, "merge", os.path.join(src, "mesh.vyx"), target]))
    check("mergeFiles on a full disk", got == "-3760", got)
    check("mergeFiles on a full disk keeps its target", read(target) == PREVIOUS)
    check("mergeFiles leaves nothing beside it", sorted(os.listdir(room)) == names,
          sorted(os.listdir(room)))


def split_at_the_limit(d, src):
    """The split's files over a file-size limit: file 0 fails, the user's
    file of that name stays as it was."""
    out = os.path.join(d, "split")
    os.mkdir(out)
    tile0 = os.path.join(out, "t0.VyX")
    write(tile0, PREVIOUS)
    names = sorted(os.listdir(out))
    o = fault_support.run([CONVERT, DLL, "tiles", os.path.join(src, "mesh.vyx"),
                           os.path.join(out, "t.obj")], limit=8192)
    check("GetUVsFromVyX over the limit", o is not None and fault_support.said(
        o.out, "GetUVsFromVyX", "1501"), o.out if o else "no answer")
    check("GetUVsFromVyX over the limit keeps the previous tile file", read(tile0) == PREVIOUS,
          f"{len(read(tile0))} bytes now")
    check("GetUVsFromVyX over the limit leaves nothing beside it",
          sorted(os.listdir(out)) == names, sorted(os.listdir(out)))


def with_shim(command, path, after, d):
    env = dict(os.environ, LD_PRELOAD=SHIM, FENNICK_FAULT_FILE=path, FENNICK_FAULT_ACTION="fail",
               FENNICK_FAULT_AFTER=str(after), FENNICK_FAULT_REPORT=os.path.join(d, "report"))
    if fault_support.SANITIZED:
        env["ASAN_OPTIONS"] = env.get("ASAN_OPTIONS", "") + ":verify_asan_link_order=0"
    report = os.path.join(d, "report")
    if os.path.exists(report):
        os.remove(report)
    o = fault_support.run(command, env=env, timeout=120)
    return o, os.path.exists(report)


def read_faults(d, src):
    """The input's reads fail: from the first, or after the first (the
    inputs here take more than one read)."""
    s = lambda n: os.path.join(src, n)  # noqa: E731
    big = s("big.obj")
    write(big, obj_grid(150))  # about 1.3 MB: many reads
    write(s("big.bin"), mixed(3 << 20))
    write(s("big.rle"), b"".join(bytes((3, i & 0xFF)) for i in range(1 << 20)))
    H = fault_support.host_args
    cases = [  # name, the input that fails, the command, from which read
        ("CompressFile", s("big.bin"), lambda o: H("CompressFile", s("big.bin"), 0, o, DLL02)),
        ("DecompressFile", s("big.rle"), lambda o: H("DecompressFile", s("big.rle"), 0, o, DLL02)),
        ("FileCopyTo", s("big.bin"), lambda o: H("FileCopyTo", s("big.bin"), 0, o)),
        ("FileCopyTo DLL02", s("big.bin"), lambda o: H("FileCopyTo", s("big.bin"), 0, o, DLL02)),
        ("ScaleUVs", big, lambda o: H("ScaleUVs", big, 0.5, o)),
        ("writeCollada", big, lambda o: H("writeCollada", big, 1, o)),
    ]
    out = os.path.join(d, "out")
    os.mkdir(out)
    dest = os.path.join(out, "dest.out")
    for after in (0, 1):
        for name, failing, command in cases:
            for existed in (True, False):
                if existed:
                    write(dest, PREVIOUS)
                elif os.path.exists(dest):
                    os.remove(dest)
                names = sorted(os.listdir(out))
                o, acted = with_shim(command(dest), failing, after, d)
                what = (f"{name}, reads failing from read {after + 1}" +
                        ("" if existed else ", no file before"))
                if not check(f"{what}: the fault happened", acted):
                    continue
                got = result(o)
                check(f"{what}: reported", got not in ("0", "0.75") and got is not None
                      and not got.startswith("crashed") and got != "no answer", got)
                if existed:
                    check(f"{what}: the previous file is kept", read(dest) == PREVIOUS,
                          f"{len(read(dest))} bytes now")
                else:
                    check(f"{what}: no file made", not os.path.exists(dest))
                others = sorted(n for n in os.listdir(out) if n != "dest.out")
                check(f"{what}: nothing beside it",
                      others == [n for n in names if n != "dest.out"], others)


def bad_input_after_writing_began(d, src):
    """A VyX file whose colour block has the wrong tag: the OBJ conversion
    finds it after its header and vertex lines."""
    m = bytearray(mesh(4))
    m[32 + 16 + 12 * 25] = 0x77
    bad = os.path.join(src, "badcolour.vyx")
    write(bad, bytes(m))
    write(os.path.join(src, "faces4.vyx"), faces_first(bytes(mesh(4)), 4))
    out = os.path.join(d, "bad")
    os.mkdir(out)
    dest = os.path.join(out, "m.obj")
    write(dest, PREVIOUS)
    o = fault_support.run([CONVERT, DLL, "obj", os.path.join(src, "faces4.vyx"), "1", bad, dest])
    got = result(o, "writeOBJfromVyx")
    check("writeOBJfromVyx of a bad colour block fails", got not in (None, "0"), got)
    check("writeOBJfromVyx of a bad colour block keeps the previous file",
          read(dest) == PREVIOUS, read(dest)[:200])
    check("writeOBJfromVyx of a bad colour block leaves nothing beside it",
          os.listdir(out) == ["m.obj"], os.listdir(out))


if len(sys.argv) == 4 and sys.argv[1] == "--in-namespace":
    full_disk(sys.argv[2], sys.argv[3])
    sys.exit(checks.finish())

with tempfile.TemporaryDirectory() as d:
    src = inputs(d)
    split_at_the_limit(d, src)
    bad_input_after_writing_began(d, src)
    if SHIM and os.path.exists(SHIM):
        read_faults(d, src)
    else:
        print("note: no fault shim; read faults not tried")
    room = os.path.join(d, "room")
    os.mkdir(room)
    mount = ('mount -t tmpfs -o size=1m fennick "$0" || exit 99; '
             'exec "$1" "$2" --in-namespace "$0" "$3"')
    ran = False
    if shutil.which("unshare"):
        for flags in (["-m"], ["-rm"]):
            p = subprocess.run(["unshare"] + flags + ["--propagation", "private", "sh", "-c", mount,
                                                      room, sys.executable, __file__, src],
                               capture_output=True, text=True, timeout=600)
            if p.returncode in (0, 1):
                print(p.stdout, end="")
                check("full disk on a tmpfs", p.returncode == 0, "failures above")
                ran = True
                break
    code = checks.finish()
    if not ran:
        print("SKIP: no mount namespace with a tmpfs could be made; the full disk was not tried")
        sys.exit(code or 77)
    sys.exit(code)
