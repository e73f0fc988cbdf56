#!/usr/bin/env python3
"""Writes the inputs of the output comparison between two builds into a
folder. Fixed seed: every run and every machine gets the same bytes.

  grid.obj     quad grid laid out by its texture coordinates (sculpt maps),
               uneven positions spelt in assorted ways, several groups
  mixed.obj    triangles, quads and pentagons, relative and v//n corners,
               faces before the first group, odd numerals, texture lines
               with junk
  mesh.vyx     vertices (wide range of magnitudes, -0, a subnormal, inf and
               nan), colours, faces (quads and triangles), UVs over several
               tiles, groups
  faces.vyx    the same faces first, then the vertices
  colours.vyx  the vertex colours as the first block
  data.bin     runs of every length around 255 and random bytes
"""
import math
import os
import random
import struct
import sys

rng = random.Random(20261208)

# The spellings OBJ writers use for numbers.
STYLES = ["%.9g", "%g", "%.4f", "%e", "%.12g", "%.17g", "%.3e", "%.6f"]


def number(value, style=None):
    """A numeral for value in one of the spellings OBJ writers use."""
    if style is None:
        style = rng.randrange(len(STYLES))
    return STYLES[style] % value


def grid_obj(nx, ny):
    lines = ["# grid %d x %d" % (nx, ny)]
    for j in range(ny + 1):
        for i in range(nx + 1):
            x = i * 0.137 + rng.uniform(-0.03, 0.03)
            y = math.sin(i * 0.31) * math.cos(j * 0.17) * 2.5 + rng.uniform(-0.01, 0.01)
            z = j * 0.0911 - 1.7 + rng.uniform(-0.02, 0.02)
            lines.append("v %s %s %s" % (number(x), number(y), number(z)))
    for j in range(ny + 1):
        for i in range(nx + 1):
            # One spelling per column and row: equal coordinates stay equal.
            lines.append("vt %s %s" % (number(i / nx, i % 8), number(j / ny, j % 8)))
    for j in range(ny):
        if j % 7 == 0:
            lines.append("g part_%d" % (j // 7))
        for i in range(nx):
            a = j * (nx + 1) + i + 1
            # Corners 0 and 1 on one column, as the sculpt map wants them.
            b, c, d = a + nx + 1, a + nx + 2, a + 1
            lines.append("f %d/%d %d/%d %d/%d %d/%d" % (a, a, b, b, c, c, d, d))
    return "\n".join(lines) + "\n"


def mixed_obj(count):
    lines = []
    for _ in range(count):
        lines.append("v %s %s %s" % tuple(number(rng.uniform(-40, 40)) for _ in range(3)))
    odd = ["1e-7", ".5", "5.", "-0", "+0.25", "1e+2", "-.75e1", "0x10", "1e", "abc",
           "3.5.2", "1e39", "-1e-50", "1e-40", "nan", "inf"]
    for k in range(count):
        u, v = number(rng.uniform(-0.2, 1.2)), number(rng.uniform(-0.2, 1.2))
        if k % 11 == 0:
            u = rng.choice(odd)
        if k % 13 == 0:
            lines.append("vt %s %s word 0.5" % (u, v))
        elif k % 17 == 0:
            lines.append("vt\t%s\t%s\r" % (u, v))
        else:
            lines.append("vt %s %s" % (u, v))
    lines.append("vn 0 0 1")
    for f in range(count // 2):
        if f == 5:
            lines.append("g first")
        elif f % 40 == 39:
            lines.append("g group_%d" % (f // 40 % 5))
        corners = rng.choice([3, 3, 4, 4, 5])
        picks = rng.sample(range(1, count + 1), corners)
        style = f % 4
        if style == 0:
            text = ["%d/%d" % (p, p) for p in picks]
        elif style == 1:
            text = ["%d//1" % p for p in picks]
        elif style == 2:
            text = ["%d/%d/1" % (p - count - 1, p - count - 1) for p in picks]
        else:
            text = ["%d" % p for p in picks]
        lines.append("f " + " ".join(text))
    return "\n".join(lines) + "\n"


def block(tag, count, records):
    return struct.pack("<IIII", tag, 16 + len(records), count, 0) + records


def vyx_files(nx, ny):
    verts, colours = [], []
    for j in range(ny + 1):
        for i in range(nx + 1):
            scale = 10.0 ** rng.randint(-12, 12)
            verts.append([rng.uniform(-1, 1) * scale for _ in range(3)])
            colours.append(bytes(rng.randrange(256) for _ in range(4)))
    verts[1] = [-0.0, 1e-40, 3.0e38]
    verts[2] = [float("inf"), float("nan"), -float("inf")]
    faces, uvs, groups = [], [], []
    for j in range(ny):
        for i in range(nx):
            a = j * (nx + 1) + i
            quad = [a, a + 1, a + nx + 2, a + nx + 1]
            if (i + j) % 5 == 0:
                quad[3] = 0xFFFFFFFF
            faces.append(quad)
            u0 = rng.uniform(0, 3)
            v0 = rng.uniform(-1, 1)
            uvs.append([u0, v0, u0 + 0.1, v0, u0 + 0.1, v0 + 0.1, u0, v0 + 0.1])
            groups.append(rng.randrange(-3, 9))
    f32 = lambda values: b"".join(struct.pack("<f", v) for v in values)
    vertex = block(10001, len(verts), f32(c for v in verts for c in v))
    colour = block(35001, len(colours), b"".join(colours))
    face = block(20001, len(faces), b"".join(struct.pack("<4I", *f) for f in faces))
    uv = block(25001, len(uvs), f32(c for f in uvs for c in f))
    group = block(40001, len(groups), b"".join(struct.pack("<h", g) for g in groups))
    header = bytes(32)
    return {
        "mesh.vyx": header + vertex + colour + face + uv + group,
        "faces.vyx": header + face + vertex,
        "colours.vyx": header + colour,
    }


def data_bin():
    out = bytearray()
    for length in list(range(250, 262)) + [1, 2, 511, 512, 513, 1000]:
        out += bytes([rng.randrange(256)]) * length
    out += bytes(rng.randrange(256) for _ in range(20000))
    out += bytes(rng.choice(b"ab") for _ in range(20000))
    return bytes(out)


def main():
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    files = {"grid.obj": grid_obj(40, 30).encode(), "mixed.obj": mixed_obj(600).encode()}
    files.update(vyx_files(30, 20))
    files["data.bin"] = data_bin()
    for name, data in files.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
