"""Sculpt maps written by OBJtoSculpty load in Pillow with the expected size
and every pixel's colour (computed here from the mesh, independently)."""
import math
import os
import random
import struct
import subprocess
import sys
import tempfile

try:
    from PIL import Image
except ImportError:
    sys.exit(77)

HOST = os.environ.get("FENNICK_HOST")
DLL = os.environ.get("FENNICK_DLL")
if not HOST or not DLL:
    sys.exit(77)


def f32(x):
    return struct.unpack("<f", struct.pack("<f", x))[0]


def grid(n, m, rng):
    """n x m quads; vertex (i, j) at u = i/n, v = j/m with random heights.
    Returns the OBJ text and the expected colour of pixel (column, row),
    row 0 being the smallest v (the picture's bottom)."""
    pos = {}
    for j in range(m + 1):
        for i in range(n + 1):
            pos[i, j] = (f32(i * 0.5 - 1.3), f32(-j * 0.25), f32(rng.uniform(-2, 3)))
    order = list(pos)
    rng.shuffle(order)
    index = {k: t + 1 for t, k in enumerate(order)}
    lines = ["# test grid"]
    lines += ["v %.9g %.9g %.9g" % pos[k] for k in order]
    lines += ["vt %.9g %.9g" % (f32(k[0] / n), f32(k[1] / m)) for k in order]
    for j in range(m):
        for i in range(n):
            corners = [(i, j), (i, j + 1), (i + 1, j + 1), (i + 1, j)]
            lines.append("f " + " ".join("%d/%d" % (index[c], index[c]) for c in corners))
    big = max(max(p) for p in pos.values())
    small = min(min(p) for p in pos.values())
    a = max(big, -small, 0.0)
    s = f32(127.5 / a)

    def enc(c):
        return int(127.5 + f32(s * c))

    colour = {}
    for j in range(m):
        for i in range(n):
            for di in (0, 1):
                for dj in (0, 1):
                    x, y, z = pos[i + di, j + dj]
                    colour[2 * i + di, 2 * j + dj] = (enc(x), enc(y), enc(z))
    return "\n".join(lines) + "\n", colour


def main():
    rng = random.Random(3)
    failures = 0
    with tempfile.TemporaryDirectory() as tmp:
        for n, m in [(1, 1), (3, 2), (5, 3), (7, 1), (8, 8), (13, 6)]:
            text, colour = grid(n, m, rng)
            obj = os.path.join(tmp, "g%dx%d.obj" % (n, m))
            bmp = os.path.join(tmp, "g%dx%d.bmp" % (n, m))
            with open(obj, "w") as f:
                f.write(text)
            out = subprocess.run([HOST, DLL, "OBJtoSculpty", obj, "1", bmp],
                                 capture_output=True, text=True).stdout
            if "-> 0" not in out:
                print("call failed:", n, m, out)
                failures += 1
                continue
            with Image.open(bmp) as im:
                im.load()
                if im.format != "BMP" or im.mode != "RGB" or im.size != (2 * n, 2 * m):
                    print("bad image", n, m, im.format, im.mode, im.size)
                    failures += 1
                    continue
                bad = 0
                for (col, row), want in colour.items():
                    got = im.getpixel((col, 2 * m - 1 - row))  # Pillow's rows run top-down
                    if got != want:
                        bad += 1
                        if bad <= 3:
                            print("pixel", n, m, col, row, "got", got, "want", want)
                if bad:
                    failures += 1
                else:
                    print("ok %dx%d quads: %dx%d pixels" % (n, m, 2 * n, 2 * m))
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
