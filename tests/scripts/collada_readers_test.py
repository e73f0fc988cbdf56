# COLLADA documents written from ordinary OBJ files, read back by real
# readers: xmllint (well-formed XML), pycollada and assimp (vertex, texture
# coordinate and face counts as in the OBJ file), for both writers and every
# normal mode.
import math
import os
import shutil
import subprocess
import sys
import tempfile

try:
    import collada
except ImportError:
    print("pycollada missing")
    sys.exit(77)
for tool in ("xmllint", "assimp"):
    if not shutil.which(tool):
        print(tool + " missing")
        sys.exit(77)

HOST = os.environ["FENNICK_HOST"]
DLL = os.environ["FENNICK_DLL"]
SOURCE = os.environ["FENNICK_SOURCE"]
work = tempfile.mkdtemp(prefix="fennick_collada_")
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL:", what)


def grid(nx, ny, groups, crlf=False, tris=False, normals=False, wavy=False):
    """A grid of quads (or triangles) with texture coordinates."""
    end = "\r\n" if crlf else "\n"
    lines = ["# grid " + str(nx) + "x" + str(ny)]
    for j in range(ny + 1):
        for i in range(nx + 1):
            z = math.sin(i * 0.7) * math.cos(j * 0.4) if wavy else 0.0
            lines.append("v %.6f %.6f %.6f" % (i, j, z))
    for j in range(ny + 1):
        for i in range(nx + 1):
            lines.append("vt %.6f %.6f" % (i / nx, j / ny))
    if normals:
        lines.append("vn 0 0 1")
    faces = 0
    rows_per_group = max(1, ny // groups)
    for j in range(ny):
        if j % rows_per_group == 0 and j // rows_per_group < groups:
            lines.append("g part%d" % (j // rows_per_group))
        for i in range(nx):
            a = j * (nx + 1) + i + 1
            b, c, d = a + 1, a + nx + 2, a + nx + 1
            if normals:
                corner = lambda k: "%d/%d/1" % (k, k)
            else:
                corner = lambda k: "%d/%d" % (k, k)
            if tris:
                lines.append("f " + " ".join(corner(k) for k in (a, b, c)))
                lines.append("f " + " ".join(corner(k) for k in (a, c, d)))
                faces += 2
            else:
                lines.append("f " + " ".join(corner(k) for k in (a, b, c, d)))
                faces += 1
    return end.join(lines) + end, faces


def obj_counts(text):
    v = vt = f = corners = 0
    for line in text.splitlines():
        if line.startswith("v "):
            v += 1
        elif line.startswith("vt"):
            vt += 1
        elif line.startswith("f "):
            f += 1
            corners += len(line.split()) - 1
    return v, vt, f, corners


def write(export, obj, mode, out):
    r = subprocess.run([HOST, DLL, export, obj, str(mode), out],
                       capture_output=True, text=True)
    return r.stdout.strip()


def assimp_counts(path):
    r = subprocess.run(["assimp", "info", path, "-r"], capture_output=True, text=True)
    counts = {}
    for line in r.stdout.splitlines():
        for key in ("Vertices:", "Faces:", "Meshes:"):
            parts = line.split()
            if line.startswith(key) and len(parts) > 1 and parts[1].isdigit():
                counts.setdefault(key[:-1], int(parts[1]))
    return r.returncode, counts


cases = []
documents = 0
with open(os.path.join(SOURCE, "samples", "cube.obj")) as f:
    cases.append(("cube", f.read(), False))
cases.append(("grid",) + (grid(12, 9, 3)[0], False))
cases.append(("wavy_crlf",) + (grid(7, 6, 2, crlf=True, wavy=True)[0], False))
cases.append(("tris_vn",) + (grid(6, 5, 4, tris=True, normals=True, wavy=True)[0], True))
cases.append(("R&D <1>",) + (grid(3, 2, 1, tris=True)[0], True))

for name, text, triangles in cases:
    obj = os.path.join(work, name + ".obj")
    with open(obj, "w", newline="") as f:
        f.write(text)
    v, vt, faces, corners = obj_counts(text)
    exports = ["writeCollada", "writeColladaTris"] if triangles else ["writeCollada"]
    for export in exports:
        for mode in (0, 1, 2, 3):
            out = os.path.join(work, "%s_%s_%d.dae" % (name, export, mode))
            what = "%s %s mode %d" % (name, export, mode)
            result = write(export, obj, mode, out)
            documents += 1
            check(result == export + " -> 0", what + ": " + result)
            if not os.path.exists(out):
                continue
            lint = subprocess.run(["xmllint", "--noout", out], capture_output=True, text=True)
            check(lint.returncode == 0, what + ": xmllint " + lint.stderr[:300])
            try:
                doc = collada.Collada(out)
                geometry = doc.geometries[0]
                prims = geometry.primitives
                check(sum(len(p) for p in prims) == faces, what + ": pycollada faces")
                check(len(prims[0].vertex) == v, what + ": pycollada vertices")
                check(len(prims[0].texcoordset[0]) == vt, what + ": pycollada texcoords")
                if mode > 0:
                    n = prims[0].normal
                    check(n is not None and len(n) == corners, what + ": pycollada normals")
                    if mode in (1, 2):
                        lengths = [math.sqrt(x * x + y * y + z * z) for x, y, z in n]
                        check(all(abs(l - 1) < 1e-5 for l in lengths), what + ": unit normals")
                if export == "writeColladaTris":
                    check(len(doc.materials) == len(prims), what + ": one material per group")
            except Exception as e:  # any reader error is a failure
                check(False, what + ": pycollada " + repr(e))
            rc, counts = assimp_counts(out)
            check(rc == 0, what + ": assimp exit %d" % rc)
            check(counts.get("Faces") == faces, what + ": assimp faces %s" % counts)
            # assimp keeps one vertex per face corner.
            check(counts.get("Vertices") == corners, what + ": assimp vertices %s" % counts)

shutil.rmtree(work, ignore_errors=True)
print("%d documents, %d failures" % (documents, len(failures)))
sys.exit(1 if failures else 0)
