"""A UV split whose files would not fit in the free space of the output's
file system is refused before any tile file is written; one that fits is
written as usual. Space is counted in whole blocks, and each file takes an
inode: many small tiles that fit by their bytes but not by their blocks or
the free inodes are refused too. The output goes to a small tmpfs mounted
in a mount namespace of the child's own (unshare -m, or unshare -rm in a
user namespace). Skips (77) where no such mount can be made."""
import os
import shutil
import struct
import sys
import tempfile

import fault_support
from fault_support import CONVERT, DLL, Checks, block, said, write

checks = Checks()
check = checks.check


def tiled(padding, tiles):
    """A VyX file whose faces lie in `tiles` tiles of u, each tile file
    about `padding` bytes (an unknown block before the UV block is copied
    into every one; none when None: 64 + 32 x tiles bytes a file)."""
    uvs = b"".join(struct.pack("<8f", *([t + 0.5, 0.5] * 4)) for t in range(tiles))
    pad = b"" if padding is None else block(7, 0, b"\x5a" * padding)
    return b"\0" * 32 + pad + block(25001, tiles, uvs)


def in_tmpfs(options, d, splits):
    """Mounts a tmpfs with `options` in a namespace of its own and runs each
    (input, output name) split into it, listing the folder after each: the
    programs' output, or None when no such mount could be made."""
    room = os.path.join(d, "room")
    os.makedirs(room, exist_ok=True)
    # $0 the mount point, $1 the program, $2 the library, then the splits.
    script = f'mount -t tmpfs -o {options} fennick "$0" || exit 99; '
    args = []
    for i, (vyx, name) in enumerate(splits):
        script += (f'"$1" "$2" tiles "${{{3 + 2 * i}}}" "$0/${{{4 + 2 * i}}}"; '
                   'echo "files: $(ls -A "$0" | tr "\\n" " ")"; ')
        args += [vyx, name]
    for flags in (["-m"], ["-rm"]):
        o = fault_support.run(["unshare"] + flags + ["--propagation", "private", "sh", "-c",
                                                     script, room, CONVERT, DLL] + args,
                              timeout=120)
        if o is not None and "files:" in o.out:
            return o.out + o.err
    return None


def listings(out):
    return [l.split() for l in out.splitlines() if l.startswith("files:")]


if not shutil.which("unshare"):
    print("no unshare: cannot mount a small file system")
    sys.exit(77)

with tempfile.TemporaryDirectory() as d:
    big, small = os.path.join(d, "big.vyx"), os.path.join(d, "small.vyx")
    write(big, tiled(400 * 1024, 3))    # three files of 400 KiB: 1.2 MiB
    write(small, tiled(100 * 1024, 3))  # three files of 100 KiB
    out = in_tmpfs("size=1m", d, [(big, "big.obj"), (small, "small.obj")])
    if out is None:
        print("no mount namespace with a tmpfs could be made")
        sys.exit(77)
    check("the split that does not fit is refused", said(out, "GetUVsFromVyX", "-22"), out)
    lines = listings(out)
    check("no tile file written for it", len(lines) == 2 and lines[0] == ["files:"], out)
    check("the split that fits is written", said(out, "GetUVsFromVyX", "3"), out)
    check("with its three files", len(lines) == 2 and
          lines[1] == ["files:", "small0.VyX", "small1.VyX", "small2.VyX"], out)

    # 100 tiles of 3,264 bytes: 326,400 bytes, but 100 pages of 4 KiB
    # (409,600 bytes) on a file system of 384 KiB; then the same on one of
    # ample size that has 20 inodes.
    many = os.path.join(d, "many.vyx")
    write(many, tiled(None, 100))
    for options, why in (("size=384k", "by its blocks"), ("size=4m,nr_inodes=20", "by its inodes")):
        out = in_tmpfs(options, d, [(many, "many.obj")])
        if not check(f"tmpfs {options} mounted", out is not None):
            continue
        check(f"100 small tiles that do not fit {why} are refused",
              said(out, "GetUVsFromVyX", "-22"),
              " ".join(l for l in out.splitlines() if l.startswith("GetUVsFromVyX(")))
        check(f"no tile file written when they do not fit {why}",
              listings(out) == [["files:"]], f"{len(listings(out)[0]) - 1} files written")

sys.exit(checks.finish())
