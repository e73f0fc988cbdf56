"""A UV split whose files would not fit in the free space of the output's
file system is refused before any tile file is written; one that fits is
written as usual. The output goes to a 1 MiB tmpfs mounted in a mount
namespace of the child's own (unshare -m, or unshare -rm in a user
namespace). Skips (77) where no such mount can be made."""
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
    into every one)."""
    uvs = b"".join(struct.pack("<8f", *([t + 0.5, 0.5] * 4)) for t in range(tiles))
    return b"\0" * 32 + block(7, 0, b"\x5a" * padding) + block(25001, tiles, uvs)


if not shutil.which("unshare"):
    print("no unshare: cannot mount a small file system")
    sys.exit(77)

with tempfile.TemporaryDirectory() as d:
    big, small = os.path.join(d, "big.vyx"), os.path.join(d, "small.vyx")
    write(big, tiled(400 * 1024, 3))    # three files of 400 KiB: 1.2 MiB
    write(small, tiled(100 * 1024, 3))  # three files of 100 KiB
    room = os.path.join(d, "room")
    os.mkdir(room)
    # In the namespace: $0 the mount point, then the program, the library
    # and the two inputs; the folder's entries are listed after each split.
    listing = 'echo "files: $(ls -A "$0" | tr "\\n" " ")"; '
    script = ('mount -t tmpfs -o size=1m fennick "$0" || exit 99; '
              '"$1" "$2" tiles "$3" "$0/big.obj"; ' + listing +
              '"$1" "$2" tiles "$4" "$0/small.obj"; ' + listing)
    out = None
    for flags in (["-m"], ["-rm"]):
        o = fault_support.run(["unshare"] + flags + ["--propagation", "private", "sh", "-c",
                                                     script, room, CONVERT, DLL, big, small],
                              timeout=120)
        if o is not None and "files:" in o.out:
            out = o.out + o.err
            break
    if out is None:
        print("no mount namespace with a tmpfs could be made")
        sys.exit(77)
    check("the split that does not fit is refused", said(out, "GetUVsFromVyX", "-22"), out)
    lines = [l.split() for l in out.splitlines() if l.startswith("files:")]
    check("no tile file written for it", len(lines) == 2 and lines[0] == ["files:"], out)
    check("the split that fits is written", said(out, "GetUVsFromVyX", "3"), out)
    check("with its three files", len(lines) == 2 and
          lines[1] == ["files:", "small0.VyX", "small1.VyX", "small2.VyX"], out)

sys.exit(checks.finish())
