"""Inputs that change or fail while they are read, and files that are no
regular files. A preloaded shim (faultshim) cuts a file short, deletes it or
makes its reads fail between two reads of the library; pipes, folders and
device nodes stand in for inputs and outputs. Every call must answer (no
crash, no hang, no sanitizer report) with the result its reference gives."""
import os
import stat
import sys
import tempfile

import fault_support
from fault_support import (CONVERT, DLL, DLL02, Checks, block, faces_first, mesh,
                           obj_grid, read, write)

checks = Checks()
check = checks.check
SHIM = os.environ["FENNICK_FAULTSHIM"]


def with_fault(args, path, action, after, d):
    """Runs `args` with the shim acting on `path`; the outcome and the
    (reads, bytes) before the action, or None when it never acted."""
    report = os.path.join(d, "fault.report")
    if os.path.exists(report):
        os.remove(report)
    env = dict(os.environ, LD_PRELOAD=SHIM, FENNICK_FAULT_FILE=path,
               FENNICK_FAULT_ACTION=action, FENNICK_FAULT_AFTER=str(after),
               FENNICK_FAULT_REPORT=report)
    if fault_support.SANITIZED:
        # The shim comes before the sanitizer runtime in the load order.
        env["ASAN_OPTIONS"] = env.get("ASAN_OPTIONS", "") + ":verify_asan_link_order=0"
    o = fault_support.run(args, env=env)
    acted = tuple(int(x) for x in read(report).split()) if os.path.exists(report) else None
    return o, acted


def answered(what, o):
    if o is None:
        return check(what, False, "no answer in time")
    return check(what, not o.crashed(), f"exit {o.code}: {o.out} {o.err[-2000:]}")


with tempfile.TemporaryDirectory() as d:
    def p(name):
        return os.path.join(d, name)

    # Inputs: a 2 MB OBJ grid (read in blocks), VyX files (read whole), a
    # VyX whose vertex block lies past the first 4 KiB (the vertex count's
    # scan reads it in a second read), 3 MB of bytes and their compressed
    # form for the copy and the run-length coder.
    n = 150
    write(p("grid.obj"), obj_grid(n))
    vyx = mesh(40)
    write(p("mesh.vyx"), vyx)
    write(p("faces.vyx"), faces_first(vyx, 40))
    write(p("colours.vyx"), b"\0" * 32 + block(35001, 500, b"\x10\x20\x30\xff" * 500))
    write(p("late.vyx"), b"\0" * 32 + block(20001, 1000, b"\1" * 16000)
          + block(10001, 7, b"\0" * 84))
    write(p("bytes.bin"), bytes((i * 7 + (i >> 9)) & 0xFF for i in range(3 << 20)))
    write(p("pairs.rle"), bytes((1 + i % 3, i & 0xFF)[k] for i in range(600000) for k in (0, 1)))
    write(p("version.txt"), b"Plaxio 2009 4" + b" " * 5000)
    fresh = {k: read(p(k)) for k in os.listdir(d)}

    def restore():
        for k, v in fresh.items():
            write(p(k), v)
        for k in os.listdir(d):
            if k not in fresh:
                os.remove(p(k))

    def call(export, text, number=0, blk="@null", dll=DLL):
        return fault_support.host_args(export, text, number, blk, dll)

    # ---- reads that fail part way: each reader says it cannot read ------------
    # (file, reads before the failure, command, call, result, output and what
    # must become of it: "none" not created, "partial" created, shorter)
    failing = [
        ("grid.obj", 1, call("GetVertsOBJ", p("grid.obj")), None, "-1", None, None),
        ("grid.obj", 1, call("GetVertsOBJ", p("grid.obj"), dll=DLL02), None, "-1", None, None),
        ("grid.obj", 1, call("ScaleUVs", p("grid.obj"), 0.5, p("out.obj")), None, "-1",
         "out.obj", "partial"),
        ("grid.obj", 1, call("writeCollada", p("grid.obj"), 1, p("out.dae")), None, "-1",
         "out.dae", "none"),
        ("grid.obj", 1, call("writeColladaTris", p("grid.obj"), 1, p("out.dae")), None, "-1",
         "out.dae", "none"),
        ("grid.obj", 1, call("OBJtoSculpty", p("grid.obj"), 0, p("out.bmp")), None, "-1",
         "out.bmp", "none"),
        ("bytes.bin", 1, call("FileCopyTo", p("bytes.bin"), 0, p("copy.bin")), None, "-1",
         "copy.bin", "partial"),
        ("bytes.bin", 1, call("CompressFile", p("bytes.bin"), 0, p("out.rle"), DLL02), None,
         "-1", "out.rle", "partial"),
        ("pairs.rle", 1, call("DecompressFile", p("pairs.rle"), 0, p("out.bin"), DLL02), None,
         "-1", "out.bin", "partial"),
        ("late.vyx", 1, call("GetVertsVyX", p("late.vyx"), 100000), None, "-1760", None, None),
        ("late.vyx", 1, call("GetVertsVyx", p("late.vyx"), 100000, dll=DLL02), None, "-1760",
         None, None),
        ("mesh.vyx", 0, call("getGroups", p("mesh.vyx")), None, "-17", None, None),
        ("version.txt", 0, call("checkPlaxioVersion", p("version.txt"), dll=DLL02), None, "-17",
         None, None),
        ("faces.vyx", 0, [CONVERT, DLL, "obj", p("faces.vyx"), "1", p("mesh.vyx"), p("o.obj")],
         "GetFaceIDsVyx", "-1760", "o.obj", "none"),
        ("mesh.vyx", 0, [CONVERT, DLL, "obj", p("faces.vyx"), "1", p("mesh.vyx"), p("o.obj")],
         "writeOBJfromVyx", "-1760", "o.obj", "none"),
        ("colours.vyx", 0, [CONVERT, DLL, "colours", p("colours.vyx"), p("c.txt")],
         "ReadVertColorVyx", "-1760", "c.txt", "none"),
        ("mesh.vyx", 0, [CONVERT, DLL, "tiles", p("mesh.vyx"), p("t.vyx")], "GetUVTile", "-17",
         "t0.VyX", "none"),
        ("mesh.vyx", 1, [CONVERT, DLL, "tiles", p("mesh.vyx"), p("t.vyx")], "GetUVsFromVyX",
         "-1760", "t0.VyX", "none"),
        ("mesh.vyx", 0, [CONVERT, DLL, "merge", p("mesh.vyx"), p("faces.vyx")], "mergeFiles",
         "-1760", None, None),
        ("faces.vyx", 0, [CONVERT, DLL, "merge", p("mesh.vyx"), p("faces.vyx")], "mergeFiles",
         "-2760", None, None),
    ]
    for name, after, args, fn, expected, output, fate in failing:
        what = f"{fn or args[2]} with reads of {name} failing after {after}"
        o, acted = with_fault(args, p(name), "fail", after, d)
        if answered(what, o):
            check(what + ": the fault happened", acted is not None)
            check(what, o.result(fn) == expected, o.out)
            if output == "partial":
                check(what + ": the output stays as far as it got",
                      os.path.exists(p(output)) and 0 < os.path.getsize(p(output)), o.out)
            elif output == "none":
                check(what + ": no output", not os.path.exists(p(output)), os.listdir(d))
        check(what + ": inputs kept", all(read(p(k)) == fresh[k] for k in fresh))
        restore()

    # ---- a file cut short while it is read: the result of the cut file -------
    # The shim cuts the file to `size` bytes after `after` reads; the call
    # then sees the bytes it read so far and, at most, the rest up to `size`
    # The tile split opens the file anew after the tile count read it whole:
    # it sees 60000 bytes, which end inside the UV records (-19, no file).
    cut = [
        ("grid.obj", 1, 0, call("GetVertsOBJ", p("{in}")), None, None),
        ("grid.obj", 1, 0, call("ScaleUVs", p("{in}"), 0.5, p("out.obj")), None, "out.obj"),
        ("grid.obj", 1, 0, call("writeCollada", p("{in}"), 2, p("out.dae")), None, "out.dae"),
        ("grid.obj", 1, 0, call("OBJtoSculpty", p("{in}"), 0, p("out.bmp")), None, "out.bmp"),
        ("bytes.bin", 1, 0, call("FileCopyTo", p("{in}"), 0, p("copy.bin")), None, "copy.bin"),
        ("bytes.bin", 1, 0, call("CompressFile", p("{in}"), 0, p("out.rle"), DLL02), None,
         "out.rle"),
        ("pairs.rle", 1, 0, call("DecompressFile", p("{in}"), 0, p("out.bin"), DLL02), None,
         "out.bin"),
        ("mesh.vyx", 0, 9000, [CONVERT, DLL, "obj", p("faces.vyx"), "1", p("{in}"), p("o.obj")],
         "writeOBJfromVyx", "o.obj"),
        ("mesh.vyx", 0, 30000, [CONVERT, DLL, "obj", p("faces.vyx"), "1", p("{in}"), p("o.obj")],
         "writeOBJfromVyx", "o.obj"),
        ("colours.vyx", 0, 1000, [CONVERT, DLL, "colours", p("{in}"), p("c.txt")],
         "ReadVertColorVyx", "c.txt"),
        ("mesh.vyx", 1, 60000, [CONVERT, DLL, "tiles", p("{in}"), p("t.vyx")], "GetUVsFromVyX",
         "t0.VyX", ("-19", None)),
        ("mesh.vyx", 0, 100, [CONVERT, DLL, "merge", p("{in}"), p("faces.vyx")], "mergeFiles",
         "faces.vyx"),
    ]
    for name, after, size, template, fn, output, *known in cut:
        what = f"{fn or template[2]} with {name} cut to {size} bytes after {after} reads"
        args = [a.replace("{in}", name) for a in template]
        o, acted = with_fault(args, p(name), f"truncate:{size}", after, d)
        if not answered(what, o):
            restore()
            continue
        check(what + ": the fault happened", acted is not None)
        got = (o.result(fn), read(p(output)) if output and os.path.exists(p(output)) else None)
        restore()
        if known:
            want = known[0]
        else:
            # The same call on a file that is what the call could see.
            write(p("seen.in"), fresh[name][:max(acted[1], size)] if acted else fresh[name])
            o2 = fault_support.run([a.replace("{in}", "seen.in") for a in template])
            want = (o2.result(fn), read(p(output)) if output and os.path.exists(p(output)) else None)
            restore()
        check(what + ": as the cut file", got == want,
              f"{got[0]} vs {want[0]}, outputs equal: {got[1] == want[1]}")

    # The vertex count's scan meets a file cut between its reads: any of its
    # defined results.
    o, acted = with_fault(call("GetVertsVyX", p("late.vyx"), 100000), p("late.vyx"),
                          "truncate:0", 1, d)
    if answered("GetVertsVyX with late.vyx cut after the first read", o):
        check("GetVertsVyX on a cut file", acted and o.result() in ("7", "-18", "-1760"), o.out)
    restore()

    # ---- an input deleted while it is read: the whole file is still read -----
    deleted = [
        ("grid.obj", 1, call("ScaleUVs", p("grid.obj"), 0.5, p("out.obj")), None, "out.obj"),
        ("bytes.bin", 1, call("CompressFile", p("bytes.bin"), 0, p("out.rle"), DLL02), None,
         "out.rle"),
        ("bytes.bin", 1, call("FileCopyTo", p("bytes.bin"), 0, p("copy.bin")), None, "copy.bin"),
        ("mesh.vyx", 0, [CONVERT, DLL, "obj", p("faces.vyx"), "1", p("mesh.vyx"), p("o.obj")],
         "writeOBJfromVyx", "o.obj"),
    ]
    for name, after, args, fn, output in deleted:
        what = f"{fn or args[2]} with {name} deleted after {after} reads"
        clean = fault_support.run(args)
        want = (clean.result(fn), read(p(output)))
        restore()
        o, acted = with_fault(args, p(name), "delete", after, d)
        if answered(what, o):
            check(what + ": the fault happened", acted is not None and not os.path.exists(p(name)))
            got = (o.result(fn), read(p(output)) if os.path.exists(p(output)) else None)
            check(what + ": as undisturbed", got == want, f"{got[0]} vs {want[0]}")
        restore()

    # ---- no regular file: a folder, a pipe nobody writes, a device -----------
    os.mkdir(p("folder"))
    os.mkfifo(p("pipe"))
    others = [p("folder"), p("pipe")]
    try:  # a node of its own (the system's stays untouched): endless zeros
        os.mknod(p("zeros"), 0o666 | stat.S_IFCHR, os.makedev(1, 5))
        others.append(p("zeros"))
    except OSError:
        print("note: no device node can be made here; tried a folder and a pipe")
    readers = [
        (lambda x: call("GetVertsOBJ", x), None, "-1"),
        (lambda x: call("GetVertsVyX", x, 1000), None, "-1760"),
        (lambda x: call("getGroups", x), None, "-17"),
        (lambda x: call("checkPlaxioVersion", x, dll=DLL02), None, "-17"),
        (lambda x: call("ScaleUVs", x, 0.5, p("out.obj")), None, "-1"),
        (lambda x: call("writeCollada", x, 1, p("out.dae")), None, "-1"),
        (lambda x: call("OBJtoSculpty", x, 0, p("out.bmp")), None, "-1"),
        (lambda x: call("FileCopyTo", x, 0, p("copy.bin")), None, "-1"),
        (lambda x: call("CompressFile", x, 0, p("out.rle"), DLL02), None, "-1"),
        (lambda x: [CONVERT, DLL, "obj", x, "1", p("mesh.vyx"), p("o.obj")], "GetFaceIDsVyx",
         "-1760"),
        (lambda x: [CONVERT, DLL, "obj", p("faces.vyx"), "1", x, p("o.obj")], "writeOBJfromVyx",
         "-1760"),
        (lambda x: [CONVERT, DLL, "colours", x, p("c.txt")], "ReadVertColorVyx", "-1760"),
        (lambda x: [CONVERT, DLL, "tiles", x, p("t.vyx")], "GetUVTile", "-17"),
        (lambda x: [CONVERT, DLL, "merge", x, p("faces.vyx")], "mergeFiles", "-1760"),
        (lambda x: [CONVERT, DLL, "merge", p("mesh.vyx"), x], "mergeFiles", "-2760"),
    ]
    for other in others:
        for make, fn, expected in readers:
            args = make(other)
            what = f"{fn or args[2]} reading {os.path.basename(other)}"
            # An endless device read to its end would take all memory.
            o = fault_support.run(args, timeout=10, address_space=2 << 30)
            if answered(what, o):
                check(what, o.result(fn) == expected, o.out)
            check(what + ": nothing written", sorted(os.listdir(d)) ==
                  sorted(list(fresh) + [os.path.basename(x) for x in others]), os.listdir(d))

    # Outputs: a pipe nobody reads cannot be opened (no waiting for a
    # reader); a device that takes no bytes fails the writes; FileCopyTo
    # and mergeFiles leave such a node where it is.
    try:
        os.mknod(p("full"), 0o666 | stat.S_IFCHR, os.makedev(1, 7))
        full = p("full")
    except OSError:
        full = None
    writers = [
        (lambda x: call("ScaleUVs", p("grid.obj"), 0.5, x), None, "-2", "-4"),
        (lambda x: call("writeCollada", p("grid.obj"), 1, x), None, "-2", "-5"),
        (lambda x: call("writeColladaTris", p("grid.obj"), 1, x), None, "-2", "-5"),
        (lambda x: call("OBJtoSculpty", p("grid.obj"), 0, x), None, "-4", "-68"),
        (lambda x: call("CompressFile", p("bytes.bin"), 0, x, DLL02), None, "-2", "-2"),
        (lambda x: call("DecompressFile", p("pairs.rle"), 0, x, DLL02), None, "-2", "-2"),
        (lambda x: call("FileCopyTo", p("bytes.bin"), 0, x), None, "-1", "-1"),
        (lambda x: [CONVERT, DLL, "obj", p("faces.vyx"), "1", p("mesh.vyx"), x],
         "writeOBJfromVyx", "-2", "-2"),
        (lambda x: [CONVERT, DLL, "colours", p("colours.vyx"), x], "ReadVertColorVyx", "-2",
         "-2"),
        (lambda x: [CONVERT, DLL, "merge", p("mesh.vyx"), x], "mergeFiles", "-2760", "-2760"),
    ]
    for make, fn, on_pipe, on_full in writers:
        for target, expected in ((p("pipe"), on_pipe), (full, on_full)):
            if target is None:
                continue
            args = make(target)
            what = f"{fn or args[2]} writing {os.path.basename(target)}"
            o = fault_support.run(args, timeout=10)
            if answered(what, o):
                check(what, o.result(fn) == expected, o.out)
            mode = os.lstat(target).st_mode
            check(what + ": the node stays", stat.S_ISFIFO(mode) or stat.S_ISCHR(mode))

sys.exit(checks.finish())
