#!/usr/bin/python3
# A folder mounted again with every request to it taking a set time, as on a network share where
# each call is a round trip. The kernel caches nothing of it, so each call reaches it.
# Run (as root, Debian's python3-fusepy): bench/slowfs.py FOLDER MOUNTPOINT [milliseconds]
import errno
import os
import sys
import threading
import time

from fusepy import FUSE, FuseOSError, Operations

calls = 0
lock = threading.Lock()


class Slow(Operations):
    def __init__(self, root, delay):
        self.root = root
        self.delay = delay

    def __call__(self, op, path, *args):
        global calls
        with lock:
            calls += 1
        time.sleep(self.delay)
        return super().__call__(op, self.root + path, *args)

    def access(self, path, mode):
        if not os.access(path, mode):
            raise FuseOSError(errno.EACCES)

    def getattr(self, path, fh=None):
        st = os.fstat(fh) if fh is not None else os.lstat(path)
        return {key: getattr(st, key) for key in ('st_atime', 'st_ctime', 'st_gid', 'st_mode', 'st_mtime', 'st_nlink',
                                                  'st_size', 'st_uid', 'st_ino')}

    def readdir(self, path, fh):
        return ['.', '..'] + os.listdir(path)

    def statfs(self, path):
        st = os.statvfs(path)
        return {key: getattr(st, key) for key in ('f_bavail', 'f_bfree', 'f_blocks', 'f_bsize', 'f_favail', 'f_ffree',
                                                  'f_files', 'f_flag', 'f_frsize', 'f_namemax')}

    chmod = os.chmod
    mkdir = os.mkdir
    rmdir = os.rmdir
    unlink = os.unlink

    def chown(self, path, uid, gid):
        os.chown(path, uid, gid)

    def rename(self, old, new):
        os.rename(old, self.root + new)

    def link(self, target, source):
        os.link(self.root + source, target)

    def utimens(self, path, times=None):
        os.utime(path, times)

    def open(self, path, flags):
        return os.open(path, flags)

    def create(self, path, mode, fi=None):
        return os.open(path, os.O_WRONLY | os.O_CREAT | os.O_EXCL, mode)

    def read(self, path, size, offset, fh):
        return os.pread(fh, size, offset)

    def write(self, path, data, offset, fh):
        return os.pwrite(fh, data, offset)

    def truncate(self, path, length, fh=None):
        os.truncate(fh if fh is not None else path, length)

    def flush(self, path, fh):
        return 0

    def release(self, path, fh):
        os.close(fh)

    def fsync(self, path, datasync, fh):
        os.fdatasync(fh) if datasync else os.fsync(fh)


if __name__ == '__main__':
    delay = float(sys.argv[3]) / 1000 if len(sys.argv) > 3 else 0.010
    try:
        FUSE(Slow(os.path.realpath(sys.argv[1]), delay), sys.argv[2], foreground=True, nothreads=True,
             attr_timeout=0, entry_timeout=0, negative_timeout=0, allow_other=True)
    finally:
        print(f'{calls} requests', file=sys.stderr)
