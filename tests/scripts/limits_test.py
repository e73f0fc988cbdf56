"""Resource limits: files whose counts claim billions of records, a 100 MB
line, 100,000 groups, a byte count of 1e300. Each call must answer within seconds under a
1 GiB address-space limit (so no allocation follows a claimed count)."""
import os
import resource
import struct
import subprocess
import sys
import tempfile
import time

HOST = os.environ["FENNICK_HOST"]
DLL = os.environ["FENNICK_DLL"]
DLL02 = os.environ["FENNICK_DLL02"]
CONVERT = os.path.join(os.path.dirname(HOST), "vyx-convert")
LIMIT = 1 << 30
failures = []


def bounded():
    # AddressSanitizer reserves terabytes of shadow: no address limit there.
    if os.environ.get("FENNICK_SANITIZED") != "1":
        resource.setrlimit(resource.RLIMIT_AS, (LIMIT, LIMIT))


def run(args):
    start = time.monotonic()
    p = subprocess.run(args, capture_output=True, text=True, preexec_fn=bounded, timeout=60)
    return p.returncode, p.stdout + p.stderr, time.monotonic() - start


def check(what, args, expect_in):
    rc, out, seconds = run(args)
    if rc < 0 or rc > 1 or expect_in not in out or seconds > 20:
        failures.append(f"{what}: rc={rc} {seconds:.1f}s {out.strip()[:300]}")


def block(tag, count, size=16):
    return struct.pack("<4I", tag, size, count, 0)


HUGE = 0xFFFFFFF0
with tempfile.TemporaryDirectory() as d:
    def vyx(name, data):
        path = os.path.join(d, name)
        with open(path, "wb") as f:
            f.write(b"\0" * 32 + data)
        return path

    faces = vyx("faces.vyx", block(20001, HUGE) + b"\0" * 64)
    mesh = vyx("mesh.vyx", block(10001, HUGE) + b"\0" * 64)
    colours = vyx("colours.vyx", block(35001, HUGE) + b"\0" * 64)
    uvs = vyx("uvs.vyx", block(25001, HUGE) + b"\0" * 64)
    groups = vyx("groups.vyx", block(40001, HUGE) + b"\0" * 64)
    ok_faces = vyx("ok_faces.vyx", block(20001, 1, 32) + struct.pack("<4I", 0, 1, 2, 3))

    check("face IDs of a claimed 4e9 faces", [CONVERT, DLL, "obj", faces, "1", mesh,
                                              os.path.join(d, "a.obj")], "-19")
    check("OBJ of a claimed 4e9 vertices", [CONVERT, DLL, "obj", ok_faces, "1", mesh,
                                            os.path.join(d, "b.obj")], "-19")
    check("colours of a claimed 4e9 records", [CONVERT, DLL, "colours", colours,
                                               os.path.join(d, "c.txt")], "-19")
    check("UV tiles of a claimed 4e9 faces", [CONVERT, DLL, "tiles", uvs,
                                              os.path.join(d, "t.obj")], "-19")
    check("groups of a claimed 4e9 values", [HOST, DLL, "getGroups", groups], "-19")
    check("vertex count, byte count 1e300", [HOST, DLL, "GetVertsVyX", mesh, "1e300"],
          "-> 4.2949673e+09")
    check("vertex count, byte count 1e300 (FennickDLL02)",
          [HOST, DLL02, "GetVertsVyx", mesh, "1e300"], "-> 4.2949673e+09")

    long_line = os.path.join(d, "long.obj")
    with open(long_line, "wb") as f:
        f.write(b"v 1 2 3\nvt 0.5 0.5 " + b"7" * (100 << 20) + b"\nv 4 5 6\n")
    check("vertex count with a 100 MB line", [HOST, DLL, "GetVertsOBJ", long_line], "-> 2")
    check("UV scaling with a 100 MB line",
          [HOST, DLL, "ScaleUVs", long_line, "0.5", os.path.join(d, "s.obj")], "-> 0")
    check("sculpt map with a 100 MB line",
          [HOST, DLL, "OBJtoSculpty", long_line, "0", os.path.join(d, "m.bmp")], "-> 0")
    check("COLLADA document with a 100 MB line",
          [HOST, DLL, "writeCollada", long_line, "1", os.path.join(d, "long.dae")], "-> 0")

    # 100,000 groups: refused after the 1024th before any output; the same
    # number of group lines over 1024 names is written.
    triangle = b"v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvt 1 0\nvt 0 1\n"
    many = os.path.join(d, "groups.obj")
    with open(many, "wb") as f:
        f.write(triangle + b"".join(b"g group%d\nf 1/1 2/2 3/3\n" % i for i in range(100000)))
    for writer in ("writeCollada", "writeColladaTris"):
        out = os.path.join(d, writer + ".dae")
        check(f"{writer} of 100,000 groups", [HOST, DLL, writer, many, "2", out], "-> -3")
        if os.path.exists(out):
            failures.append(f"{writer} of 100,000 groups left a document")
    cycling = os.path.join(d, "cycling.obj")
    with open(cycling, "wb") as f:
        f.write(triangle + b"".join(b"g group%d\nf 1/1 2/2 3/3\n" % (i % 1024)
                                    for i in range(100000)))
    check("writeColladaTris of 100,000 group lines over 1024 groups",
          [HOST, DLL, "writeColladaTris", cycling, "1", os.path.join(d, "cycling.dae")], "-> 0")
    with open(os.path.join(d, "cycling.dae"), "rb") as f:
        doc = f.read()
    if doc.count(b"<triangles ") != 1024 or doc.count(b"<material id=") != 1024:
        failures.append("1024 groups: not one triangles element and material each")
    # A group block of 100,000 values: every 16-bit value, each counted once.
    values = b"".join(struct.pack("<H", i & 0xFFFF) for i in range(100000))
    all_groups = vyx("all_groups.vyx", block(40001, 100000) + values)
    check("groups of 100,000 values", [HOST, DLL, "getGroups", all_groups], "-> 65536")

for f in failures:
    print("FAIL:", f)
sys.exit(1 if failures else 0)
