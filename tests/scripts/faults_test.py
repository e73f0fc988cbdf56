"""Fault injection: a full disk (a file-size limit, with SIGXFSZ ignored so
writes fail instead of killing the process) and inputs that vanish between
calls. Every call must report the failure, and no user file may be lost."""
import os
import sys
import tempfile

from fault_support import CONVERT, DLL, Checks, mesh, obj_grid, read, said, write
import fault_support

checks = Checks()
check = checks.check


def run(args, limit=None):
    o = fault_support.run(args, limit, timeout=120)
    return o.out if o else "hang"


def host(export, text, number, block, limit=None):
    return fault_support.host(export, text, number, block, limit=limit, timeout=120)


with tempfile.TemporaryDirectory() as d:
    vyx = os.path.join(d, "mesh.vyx")
    with open(vyx, "wb") as f:
        f.write(mesh(40))
    faces_first = os.path.join(d, "faces.vyx")
    write(faces_first, fault_support.faces_first(read(vyx), 40))
    limit = 8192

    out = run([CONVERT, DLL, "obj", faces_first, "1", vyx, os.path.join(d, "o.obj")], limit)
    check("writeOBJfromVyx on a full disk", said(out, "writeOBJfromVyx", "-2"), out)
    check("writeOBJfromVyx leaves no partial OBJ file", not os.path.exists(os.path.join(d, "o.obj")),
          os.listdir(d))

    out = run([CONVERT, DLL, "tiles", vyx, os.path.join(d, "t.obj")], limit)
    check("GetUVsFromVyX on a full disk", said(out, "GetUVsFromVyX", "1501"), out)

    # The merge target must survive a full disk untouched.
    target = os.path.join(d, "target.bin")
    with open(target, "wb") as f:
        f.write(bytes(range(256)) * 40)
    before = open(target, "rb").read()
    names = sorted(os.listdir(d))
    out = run([CONVERT, DLL, "merge", vyx, target], limit + 4096)
    check("mergeFiles on a full disk fails", said(out, "mergeFiles", "-3760"), out)
    check("mergeFiles keeps its target", open(target, "rb").read() == before)
    check("mergeFiles leaves nothing beside the target", sorted(os.listdir(d)) == names,
          os.listdir(d))

    obj = os.path.join(d, "grid.obj")
    with open(obj, "w") as f:
        f.write(obj_grid(40))
    r = host("OBJtoSculpty", obj, 0, os.path.join(d, "map.bmp"), limit)
    check("OBJtoSculpty on a full disk", r == "-68", r)
    r = host("ScaleUVs", obj, 0.5, os.path.join(d, "scaled.obj"), limit)
    check("ScaleUVs on a full disk", r == "-4", r)
    for writer in ("writeCollada", "writeColladaTris"):
        r = host(writer, obj, 1, os.path.join(d, writer + ".dae"), limit)
        check(writer + " on a full disk", r == "-5", r)
    r = host("ScaleUVs", obj, 0.5, os.path.join(d, "no", "such", "folder.obj"))
    check("ScaleUVs into a missing folder", r == "-2", r)

    # The face-ID list survives a mesh file that vanished before the conversion.
    gone = os.path.join(d, "gone.vyx")
    out = run([CONVERT, DLL, "obj", faces_first, "1", gone, os.path.join(d, "g.obj")])
    check("writeOBJfromVyx on a vanished file", said(out, "writeOBJfromVyx", "-1760"), out)
    check("no OBJ for a vanished file", not os.path.exists(os.path.join(d, "g.obj")))

def enumeration_outlives_its_folder():
    """A listing left open while its folder is deleted ends cleanly."""
    import ctypes
    if os.environ.get("FENNICK_SANITIZED") == "1":
        return  # an ASan-built library cannot be loaded into this Python
    results = []
    for path in (DLL, fault_support.DLL02):
        lib = ctypes.CDLL(path)
        for name in ("OpenFolder", "GetFile", "CloseFolder"):
            getattr(lib, name).restype = ctypes.c_float
            getattr(lib, name).argtypes = [ctypes.c_char_p, ctypes.c_double, ctypes.c_char_p]
        with tempfile.TemporaryDirectory() as d:
            folder = os.path.join(d, "listed")
            os.mkdir(folder)
            for i in range(50):
                open(os.path.join(folder, f"f{i}.txt"), "w").close()
            buf = ctypes.create_string_buffer(1024)
            check("OpenFolder", lib.OpenFolder(folder.encode(), 0, None) == 0)
            check("first entry", lib.GetFile(None, 0, buf) == 0)
            for i in range(50):
                os.remove(os.path.join(folder, f"f{i}.txt"))
            os.rmdir(folder)
            codes = [lib.GetFile(None, 0, buf) for _ in range(200)]
            check("listing of a deleted folder ends", codes[-1] == -3, codes[-5:])
            check("and stays ended", all(c in (0.0, -3.0) for c in codes))
            results.append(lib.CloseFolder(None, 0, None))
    check("CloseFolder after the folder went", results == [0.0, 0.0], results)


enumeration_outlives_its_folder()
sys.exit(checks.finish())
