# An OBJ file written by writeOBJfromVyx loads in assimp with the vertex and
# face counts and the bounds of the VyX mesh it came from: quadrangles and
# triangles (written with a trailing space), colour comments, face-ID
# headings.
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile

dll = os.environ.get("FENNICK_DLL")
build = os.environ.get("FENNICK_BUILD")
assimp = shutil.which("assimp")
if not dll or not build or not assimp:
    print("skip: needs FENNICK_DLL, FENNICK_BUILD and assimp")
    sys.exit(77)
convert = os.path.join(build, "vyx-convert")


def block(tag, count, records):
    return struct.pack("<4I", tag, 16 + len(records), count, 0) + records


def vyx(*blocks):
    return b"\0" * 32 + b"".join(blocks)


# A grid of nx by ny cells; even cells are quadrangles, odd cells two
# triangles.
nx, ny = 7, 5
verts = [(i * 0.5 - 1.0, j * 0.25, (i * j) % 3 * 0.1) for j in range(ny + 1) for i in range(nx + 1)]
faces = []
first = []  # the face-first file: one face per group of mesh faces
for j in range(ny):
    for i in range(nx):
        a = j * (nx + 1) + i
        b, c, d = a + 1, a + nx + 2, a + nx + 1
        if (i + j) % 2 == 0:
            faces.append((a, b, c, d))
            first.append((0, 0, 0, 0))  # quadrangle: 4 faces under its heading
            faces += [(a, b, c, d)] * 3
        else:
            faces += [(a, b, c, 0xFFFFFFFF), (a, c, d, 0xFFFFFFFF), (a, b, d, 0xFFFFFFFF)]
            first.append((0, 0, 0, 0xFFFFFFFF))  # triangle: 3 faces
vrec = b"".join(struct.pack("<3f", *v) for v in verts)
crec = b"".join(struct.pack("<4B", 10 * k % 256, 20, 30, 255) for k in range(len(verts)))
frec = b"".join(struct.pack("<4I", *f) for f in faces)
irec = b"".join(struct.pack("<4I", *f) for f in first)

work = tempfile.mkdtemp(prefix="fennick_assimp_")
try:
    mesh = os.path.join(work, "mesh.vyx")
    heads = os.path.join(work, "faces.vyx")
    obj = os.path.join(work, "mesh.obj")
    with open(mesh, "wb") as f:
        f.write(vyx(block(10001, len(verts), vrec), block(35001, len(verts), crec),
                    block(20001, len(faces), frec)))
    with open(heads, "wb") as f:
        f.write(vyx(block(20001, len(first), irec)))
    run = subprocess.run([convert, dll, "obj", heads, "1", mesh, obj], capture_output=True, text=True)
    print(run.stdout, end="")
    if run.returncode != 0:
        print("vyx-convert failed:", run.stderr)
        sys.exit(1)
    text = open(obj).read()
    assert text.count("#FaceID ") == len(first), "one heading per face-first face"
    assert text.count(" \n") == 3 * sum(1 for f in first if f[3] == 0xFFFFFFFF)

    info = subprocess.run([assimp, "info", obj, "-r"], capture_output=True, text=True).stdout
    def field(name):
        m = re.search(r"^%s:?\s+(.*)$" % re.escape(name), info, re.M)
        assert m, "assimp printed no %s:\n%s" % (name, info)
        return m.group(1).strip()
    corners = sum(3 if f[3] == 0xFFFFFFFF else 4 for f in faces)
    failures = []
    if int(field("Faces")) != len(faces):
        failures.append("faces %s, expected %d" % (field("Faces"), len(faces)))
    # A raw import keeps one vertex per face corner.
    if int(field("Vertices")) != corners:
        failures.append("vertices %s, expected %d" % (field("Vertices"), corners))
    lo = tuple(float(x) for x in field("Minimum point").strip("()").split())
    hi = tuple(float(x) for x in field("Maximum point").strip("()").split())
    want_lo = tuple(min(v[k] for v in verts) for k in range(3))
    want_hi = tuple(max(v[k] for v in verts) for k in range(3))
    if any(abs(a - b) > 1e-5 for a, b in zip(lo + hi, want_lo + want_hi)):
        failures.append("bounds %s %s, expected %s %s" % (lo, hi, want_lo, want_hi))
    # Joined vertices (default import): back to the mesh's own vertices.
    joined = subprocess.run([assimp, "info", obj], capture_output=True, text=True).stdout
    m = re.search(r"^Vertices:\s+(\d+)$", joined, re.M)
    if not m or int(m.group(1)) != len(verts):
        failures.append("joined vertices %s, expected %d" % (m and m.group(1), len(verts)))
    if failures:
        print("\n".join(failures))
        sys.exit(1)
    print("assimp: %d faces, %d corners, %d vertices" % (len(faces), corners, len(verts)))
finally:
    shutil.rmtree(work, ignore_errors=True)
