"""A private file stays private against another user (uid 65534, run by
setpriv; root only, else skipped with 77):
  - while mergeFiles rewrites a 0600 target of 60 MB, a reader running as
    the other user lists the folder and opens every entry: it may never
    read one; a merge killed part way leaves no file others could read;
  - FileCopyTo run as that user, of its 0600 file onto its own 0644 file in
    a folder it cannot write, copies the bytes and leaves a 0600 file."""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

import fault_support
from fault_support import CONVERT, DLL, DLL02, HOST, Checks, read, write

checks = Checks()
check = checks.check
NOBODY = 65534
AS_NOBODY = ["setpriv", f"--reuid={NOBODY}", f"--regid={NOBODY}", "--clear-groups", "--"]

# Lists the folder again and again until the stop file appears, opening
# every entry; prints each name it could read from.
READER = r"""
import os, sys
folder, stop = sys.argv[1], sys.argv[2]
seen = set()
print("started", flush=True)
while not os.path.exists(stop):
    try:
        names = os.listdir(folder)
    except OSError:
        continue
    for name in names:
        try:
            with open(os.path.join(folder, name), "rb") as f:
                if f.read(64) and name not in seen:
                    seen.add(name)
                    print("read", name, flush=True)
        except OSError:
            pass
print("stopped", flush=True)
"""


def usable():
    if os.geteuid() != 0 or not shutil.which("setpriv"):
        return "not root, or no setpriv: no other user to run as"
    p = subprocess.run(AS_NOBODY + [sys.executable, "-c", "import os; print(os.getuid())"],
                       capture_output=True, text=True)
    if p.returncode != 0 or p.stdout.strip() != str(NOBODY):
        return f"setpriv cannot run as {NOBODY}: {p.stderr.strip()}"
    p = subprocess.run(AS_NOBODY + ["test", "-x", HOST, "-a", "-r", DLL, "-a", "-r", DLL02])
    if p.returncode != 0:
        return f"user {NOBODY} cannot run {HOST} with the editions"
    return None


def open_folders(path):
    """Makes the folders down to `path` traversable by everyone."""
    while path not in ("/", ""):
        st = os.stat(path)
        if st.st_mode & 0o001 == 0:
            return False
        path = os.path.dirname(path)
    return True


def merges(d):
    folder = os.path.join(d, "merge")
    os.mkdir(folder)
    os.chmod(folder, 0o755)
    target = os.path.join(folder, "secret.bin")
    with open(target, "wb") as f:
        os.fchmod(f.fileno(), 0o600)
        chunk = bytes(range(256)) * 4096
        for _ in range(60):  # 60 MiB
            f.write(chunk)
    append = os.path.join(d, "append.bin")
    write(append, b"appended" * 512)
    stop = os.path.join(d, "stop")
    reader = subprocess.Popen(AS_NOBODY + [sys.executable, "-c", READER, folder, stop],
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    check("the reader started", reader.stdout.readline().strip() == "started")
    codes = []
    for _ in range(4):
        o = fault_support.run([CONVERT, DLL, "merge", append, target], timeout=120)
        codes.append(o.result("mergeFiles") if o else "no answer")
    write(stop, b"")
    out, err = reader.communicate(timeout=60)
    check("the merges succeed", codes == ["0"] * 4, codes)
    check("the reader ran to the end", "stopped" in out, out + err)
    read_names = [l.split(" ", 1)[1] for l in out.splitlines() if l.startswith("read ")]
    check(f"user {NOBODY} read nothing in the folder during the merges", not read_names,
          f"it read {read_names}")
    check("the target stays 0600", os.stat(target).st_mode & 0o7777 == 0o600,
          oct(os.stat(target).st_mode))

    # Killed part way: once something new shows in the folder, or at once
    # when the merge is over too soon to see it.
    p = subprocess.Popen([CONVERT, DLL, "merge", append, target], stdout=subprocess.DEVNULL,
                         stderr=subprocess.DEVNULL)
    deadline = time.monotonic() + 30
    while p.poll() is None and time.monotonic() < deadline:
        if len(os.listdir(folder)) > 1:
            break
    p.send_signal(signal.SIGKILL)
    p.wait()
    for name in os.listdir(folder):
        mode = os.lstat(os.path.join(folder, name)).st_mode & 0o7777
        check(f"after a kill, {name} is not readable by others", mode & 0o044 == 0, oct(mode))


def copy_in_a_locked_folder(d):
    folder = os.path.join(d, "locked")
    os.mkdir(folder)
    os.chmod(folder, 0o755)  # root's: the other user cannot create a file in it
    src, dst = os.path.join(folder, "secret.bin"), os.path.join(folder, "copy.bin")
    secret = b"only for its owner\n" * 50
    for dll in (DLL, DLL02):
        write(src, secret)
        write(dst, b"old copy\n")
        for path, mode in ((src, 0o600), (dst, 0o644)):
            os.chown(path, NOBODY, NOBODY)
            os.chmod(path, mode)
        o = fault_support.run(fault_support.host_args("FileCopyTo", src, 0, dst, dll),
                              prefix=AS_NOBODY)
        got = o.result() if o else "no answer"
        name = os.path.basename(dll)
        check(f"FileCopyTo ({name}) in a folder its user cannot write", got == "0", got)
        check(f"FileCopyTo ({name}) copied the bytes", read(dst) == secret, read(dst)[:40])
        mode = os.stat(dst).st_mode & 0o7777
        check(f"FileCopyTo ({name}) of a 0600 file leaves a 0600 file", mode == 0o600, oct(mode))
        check(f"FileCopyTo ({name}) leaves nothing else", sorted(os.listdir(folder)) ==
              ["copy.bin", "secret.bin"], os.listdir(folder))
        # Written in place, a copy that does not fit (a file-size limit) puts
        # the old bytes back.
        old = b"previous copy\n" * 100
        write(dst, old)
        os.chown(dst, NOBODY, NOBODY)
        write(src, bytes(range(256)) * 64)  # 16 KiB against a limit of 8 KiB
        os.chown(src, NOBODY, NOBODY)
        o = fault_support.run(fault_support.host_args("FileCopyTo", src, 0, dst, dll),
                              prefix=AS_NOBODY, limit=8192)
        got = o.result() if o else "no answer"
        check(f"FileCopyTo ({name}) in place on a full disk fails", got == "-1", got)
        check(f"FileCopyTo ({name}) in place on a full disk keeps the old bytes",
              read(dst) == old, len(read(dst)))


why = usable()
if why:
    print("SKIP:", why)
    sys.exit(77)
os.umask(0o022)
with tempfile.TemporaryDirectory() as d:
    os.chmod(d, 0o755)
    if not open_folders(os.path.dirname(d)):
        print("SKIP: the temporary folder's parents are closed to other users")
        sys.exit(77)
    copy_in_a_locked_folder(d)
    merges(d)
sys.exit(checks.finish())
