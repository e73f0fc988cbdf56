"""What the fault scripts share: the programs under test, running them with
limits, reading their answers, and generated meshes."""
import os
import re
import resource
import signal
import struct
import subprocess

HOST = os.environ["FENNICK_HOST"]
DLL = os.environ["FENNICK_DLL"]
DLL02 = os.environ["FENNICK_DLL02"]
CONVERT = os.path.join(os.path.dirname(HOST), "vyx-convert")
SANITIZED = os.environ.get("FENNICK_SANITIZED") == "1"


class Checks:
    def __init__(self):
        self.failures = []

    def check(self, what, condition, detail=""):
        if not condition:
            self.failures.append(f"{what}: {detail}")
        return condition

    def finish(self):
        for f in self.failures:
            print("FAIL:", f)
        return 1 if self.failures else 0


def limited(limit_bytes=None, address_space=None):
    """Limits for the child: a file size (SIGXFSZ ignored so writes fail)
    and an address space (not under AddressSanitizer, which reserves much)."""
    def setup():
        if limit_bytes:
            signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
            resource.setrlimit(resource.RLIMIT_FSIZE, (limit_bytes, limit_bytes))
        if address_space and not SANITIZED:
            resource.setrlimit(resource.RLIMIT_AS, (address_space, address_space))
    return setup


class Outcome:
    def __init__(self, p):
        self.code = p.returncode
        self.out = p.stdout
        self.err = p.stderr

    def crashed(self):
        """A signal, a sanitizer report, or no answer printed."""
        return (self.code < 0 or "Sanitizer" in self.err or "runtime error" in self.err
                or " -> " not in self.out)

    def result(self, call=None):
        """The result printed for `call` (the first call when None)."""
        for line in self.out.splitlines():
            m = re.match(r"^(\w+)(\(.*\))? -> (\S+)$", line)
            if m and (call is None or m.group(1) == call):
                return m.group(3)
        return None


def run(args, limit=None, prefix=(), env=None, timeout=60, address_space=None):
    """Runs a program; None when it gave no answer within the timeout."""
    try:
        p = subprocess.run(list(prefix) + list(args), capture_output=True, text=True,
                           preexec_fn=limited(limit, address_space)
                           if limit or address_space else None,
                           env=env, timeout=timeout)
    except subprocess.TimeoutExpired:
        return None
    return Outcome(p)


def host_args(export, text, number=0, block="@null", dll=DLL):
    return [HOST, dll, export, text, str(number), block]


def host(export, text, number=0, block="@null", dll=DLL, **kw):
    """Calls one export through fennick-host: its result as printed."""
    o = run(host_args(export, text, number, block, dll), **kw)
    return "hang" if o is None else (o.result() or o.out + o.err)


def said(out, call, result):
    """Whether vyx-convert printed `call(...) -> result`."""
    return re.search(r"^%s\(.*\) -> %s$" % (call, re.escape(result)), out, re.M) is not None


def block(tag, count, records):
    return struct.pack("<4I", tag, 16 + len(records), count, 0) + records


def mesh(n):
    """VyX n x n quad grid: vertices, colours, faces, UVs (all in tile 0)."""
    verts, faces, uvs = b"", b"", b""
    for j in range(n + 1):
        for i in range(n + 1):
            verts += struct.pack("<3f", i / n, j / n, 0.25)
    for j in range(n):
        for i in range(n):
            a = j * (n + 1) + i
            faces += struct.pack("<4I", a, a + 1, a + n + 2, a + n + 1)
            uvs += struct.pack("<8f", *([0.5] * 8))
    nv = (n + 1) ** 2
    return (b"\0" * 32 + block(10001, nv, verts) + block(35001, nv, b"\x10\x20\x30\xff" * nv)
            + block(20001, n * n, faces) + block(25001, n * n, uvs))


def faces_first(m, n):
    """The face block of mesh(n) alone at offset 32: the face-ID input."""
    nv = (n + 1) ** 2
    at = 32 + (16 + 12 * nv) + (16 + 4 * nv)
    return b"\0" * 32 + m[at:at + 16 + 16 * n * n]


def obj_grid(n):
    """OBJ n x n quad grid with one texture coordinate per vertex."""
    lines = []
    for j in range(n + 1):
        for i in range(n + 1):
            lines.append(f"v {i} {j} 0\n")
    for j in range(n + 1):
        for i in range(n + 1):
            lines.append(f"vt {i / n} {j / n}\n")
    for j in range(n):
        for i in range(n):
            a = j * (n + 1) + i + 1
            lines.append(f"f {a}/{a} {a + n + 1}/{a + n + 1} {a + n + 2}/{a + n + 2} {a + 1}/{a + 1}\n")
    return "".join(lines)


def write(path, data):
    with open(path, "wb" if isinstance(data, bytes) else "w") as f:
        f.write(data)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def snapshot(folder):
    """Every entry of a folder tree with its bytes (None for a folder)."""
    seen = {}
    for root, dirs, files in os.walk(folder):
        for d in dirs:
            seen[os.path.relpath(os.path.join(root, d), folder)] = None
        for f in files:
            seen[os.path.relpath(os.path.join(root, f), folder)] = read(os.path.join(root, f))
    return seen
