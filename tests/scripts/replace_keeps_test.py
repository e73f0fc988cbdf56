"""An output that replaces an existing file keeps what the user gave that
file: its extended attributes (user.*, and so ACLs and labels where they
live there), and a symbolic link standing as the target stays a link, to
the file that now holds the output. mergeFiles keeps the target's
permission bits too. Skips (77) where the file system takes no user
extended attributes."""
import errno
import os
import sys
import tempfile

import fault_support
from fault_support import CONVERT, DLL, DLL02, Checks, faces_first, mesh, obj_grid, read, write

checks = Checks()
check = checks.check
H = fault_support.host_args
TAG = ("user.fennick.tag", b"kept by the user")


def result(o, call=None):
    return "no answer" if o is None else o.result(call)


with tempfile.TemporaryDirectory() as d:
    probe = os.path.join(d, "probe")
    write(probe, b"")
    try:
        os.setxattr(probe, *TAG)
    except OSError as e:
        if e.errno in (errno.ENOTSUP, errno.EPERM):
            print("SKIP: no user extended attributes on", d)
            sys.exit(77)
        raise
    src = os.path.join(d, "src")
    os.mkdir(src)
    s = lambda n: os.path.join(src, n)  # noqa: E731
    m = mesh(6)
    write(s("mesh.vyx"), m)
    write(s("faces.vyx"), faces_first(m, 6))
    write(s("grid.obj"), obj_grid(6))
    write(s("data.bin"), b"aaaabbbcc" * 100)
    write(s("pairs.rle"), b"\x04a\x03b" * 100)
    calls = [  # name, command for an output, call whose result is read, success
        ("mergeFiles", lambda o: [CONVERT, DLL, "merge", s("mesh.vyx"), o], "mergeFiles", "0"),
        ("writeOBJfromVyx", lambda o: [CONVERT, DLL, "obj", s("faces.vyx"), "1", s("mesh.vyx"), o],
         "writeOBJfromVyx", "0"),
        ("ReadVertColorVyx", lambda o: [CONVERT, DLL, "colours", s("mesh.vyx"), o],
         "ReadVertColorVyx", "0"),
        ("writeCollada", lambda o: H("writeCollada", s("grid.obj"), 1, o), None, "0"),
        ("writeColladaTris", lambda o: H("writeColladaTris", s("grid.obj"), 1, o), None, "0"),
        ("OBJtoSculpty", lambda o: H("OBJtoSculpty", s("grid.obj"), 0, o), None, "0"),
        ("ScaleUVs", lambda o: H("ScaleUVs", s("grid.obj"), 0.5, o), None, "0"),
        ("FileCopyTo", lambda o: H("FileCopyTo", s("data.bin"), 0, o), None, "0"),
        ("FileCopyTo DLL02", lambda o: H("FileCopyTo", s("data.bin"), 0, o, DLL02), None, "0"),
        ("CompressFile", lambda o: H("CompressFile", s("data.bin"), 0, o, DLL02), None, "0.666666687"),
        ("DecompressFile", lambda o: H("DecompressFile", s("pairs.rle"), 0, o, DLL02), None, "0"),
    ]
    for name, command, call, done in calls:
        for through_link in (False, True):
            out = os.path.join(d, "out")
            os.mkdir(out)
            real = os.path.join(out, "target.dat")
            write(real, m[:3000])  # a VyX head: a target mergeFiles can take
            os.chmod(real, 0o640)
            os.setxattr(real, *TAG)
            named = real
            if through_link:
                named = os.path.join(out, "link.dat")
                os.symlink("target.dat", named)
            what = f"{name} onto {'a link to ' if through_link else ''}a file with an attribute"
            got = result(fault_support.run(command(named)), call)
            check(f"{what}: done", got == done, got)
            check(f"{what}: the output is written", read(real) != m[:3000])
            try:
                kept = os.getxattr(real, TAG[0])
            except OSError as e:
                kept = f"gone ({e.strerror})"
            check(f"{what}: the attribute is kept", kept == TAG[1], kept)
            if through_link:
                check(f"{what}: the link stays a link to the file",
                      os.path.islink(named) and os.readlink(named) == "target.dat",
                      "a link" if os.path.islink(named) else "not a link")
            if name == "mergeFiles":
                mode = os.stat(real).st_mode & 0o7777
                check(f"{what}: the permission bits are kept", mode == 0o640, oct(mode))
            names = sorted(os.listdir(out))
            check(f"{what}: nothing else in the folder",
                  names == (["link.dat", "target.dat"] if through_link else ["target.dat"]), names)
            for n in os.listdir(out):
                os.remove(os.path.join(out, n))
            os.rmdir(out)

sys.exit(checks.finish())
