#!/usr/bin/python3
"""A network share that has stopped answering: a read-only file system in which every lookup of a file
waits, then finds it. The folder itself answers at once, so that it can be mounted and listed.

    slow_share.py <mount point> <seconds> <log file>

It holds tool.exe. Each lookup writes "begin <path>" to the log when it starts and "end <path>" when it
answers, so that a test can tell whether a lookup is still waiting. Returns once the share is mounted,
leaving the file system running in the background; stop it with "fusermount -uz <mount point>".
"""
import errno
import stat
import sys
import threading
import time

from fusepy import FUSE, FuseOSError, Operations

CONTENT = b"MZ" + bytes(510)  # the size of a small program; never read as one


class SlowShare(Operations):
    def __init__(self, seconds, log):
        self.seconds = seconds
        self.log = log
        self.lock = threading.Lock()

    def note(self, what, path):
        with self.lock, open(self.log, "a") as f:
            f.write(f"{what} {path}\n")

    def wait(self, path):
        self.note("begin", path)
        time.sleep(self.seconds)
        self.note("end", path)

    def getattr(self, path, fh=None):
        now = time.time()
        if path == "/":
            return dict(st_mode=stat.S_IFDIR | 0o755, st_nlink=2, st_ctime=now, st_mtime=now, st_atime=now)
        self.wait(path)
        if path != "/tool.exe":
            raise FuseOSError(errno.ENOENT)
        return dict(st_mode=stat.S_IFREG | 0o755, st_nlink=1, st_size=len(CONTENT), st_ctime=now,
                    st_mtime=now, st_atime=now)

    def readdir(self, path, fh):
        return [".", "..", "tool.exe"]

    def open(self, path, flags):
        self.wait(path)
        return 0

    def read(self, path, size, offset, fh):
        return CONTENT[offset:offset + size]


if __name__ == "__main__":
    mount_point, seconds, log = sys.argv[1], float(sys.argv[2]), sys.argv[3]
    FUSE(SlowShare(seconds, log), mount_point, foreground=False, ro=True, nothreads=False)
