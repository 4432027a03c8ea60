#!/usr/bin/python3
"""A network share that does not answer, as a FUSE file system. The folder itself answers at once, so
that it can be mounted and listed; every lookup of a file in it waits.

    slow_share.py <mount point> <seconds> <log file> [<source folder> <release file>]

With three arguments the share has stopped answering: it holds tool.exe (never run), and each lookup
waits the given seconds, then finds it. With five it is out until it comes back: it holds the files of
the source folder, which programs may also write (a program started from it logs beside itself), and each
lookup waits until the release file exists (at most the given seconds), after which all answer at once.

Each lookup writes "begin <path>" to the log when it starts and "end <path>" when it answers, so that a
test can tell whether a lookup is still waiting. Returns once the share is mounted, leaving the file
system running in the background; stop it with "fusermount -uz <mount point>".
"""
import errno
import os
import stat
import sys
import threading
import time

from fusepy import FUSE, FuseOSError, Operations

CONTENT = b"MZ" + bytes(510)  # the size of a small program; never read as one


class SlowShare(Operations):
    def __init__(self, seconds, log, source=None, release=None):
        self.seconds = seconds
        self.log = log
        self.source = source
        self.release = release
        self.lock = threading.Lock()

    def note(self, what, path):
        with self.lock, open(self.log, "a") as f:
            f.write(f"{what} {path}\n")

    def wait(self, path):
        if self.release and os.path.exists(self.release):
            return
        self.note("begin", path)
        if self.release:
            deadline = time.time() + self.seconds
            while not os.path.exists(self.release) and time.time() < deadline:
                time.sleep(0.05)
        else:
            time.sleep(self.seconds)
        self.note("end", path)

    def real(self, path):
        return os.path.join(self.source, path.lstrip("/"))

    def getattr(self, path, fh=None):
        now = time.time()
        if path == "/":
            return dict(st_mode=stat.S_IFDIR | 0o755, st_nlink=2, st_ctime=now, st_mtime=now, st_atime=now)
        self.wait(path)
        if self.source:
            try:
                st = os.lstat(self.real(path))
            except OSError as e:
                raise FuseOSError(e.errno)
            return {key: getattr(st, key) for key in
                    ("st_mode", "st_nlink", "st_size", "st_ctime", "st_mtime", "st_atime", "st_uid", "st_gid")}
        if path != "/tool.exe":
            raise FuseOSError(errno.ENOENT)
        return dict(st_mode=stat.S_IFREG | 0o755, st_nlink=1, st_size=len(CONTENT), st_ctime=now,
                    st_mtime=now, st_atime=now)

    def readdir(self, path, fh):
        return [".", ".."] + (os.listdir(self.source) if self.source else ["tool.exe"])

    def open(self, path, flags):
        self.wait(path)
        if not self.source:
            return 0
        # Only logs are written here, and several programs may append to one at once.
        writing = flags & (os.O_WRONLY | os.O_RDWR)
        return os.open(self.real(path), flags | os.O_APPEND if writing else flags)

    def create(self, path, mode, fi=None):
        self.wait(path)
        # Appending, as the programs that log here do: several may create the file at once.
        return os.open(self.real(path), os.O_WRONLY | os.O_CREAT | os.O_APPEND, mode)

    def read(self, path, size, offset, fh):
        if not self.source:
            return CONTENT[offset:offset + size]
        # At the offset, whatever other reads of the file run at the same time.
        return os.pread(fh, size, offset)

    def write(self, path, data, offset, fh):
        return os.write(fh, data)  # the file is open for appending

    def truncate(self, path, length, fh=None):
        with open(self.real(path), "r+") as f:
            f.truncate(length)

    def release(self, path, fh):
        if self.source:
            os.close(fh)
        return 0


if __name__ == "__main__":
    mount_point, seconds, log = sys.argv[1], float(sys.argv[2]), sys.argv[3]
    source, release = (sys.argv[4], sys.argv[5]) if len(sys.argv) > 5 else (None, None)
    FUSE(SlowShare(seconds, log, source, release), mount_point, foreground=False, ro=source is None,
         nothreads=False)
