"""A slow disk: a folder whose writes go through at a steady, low rate, as onto a floppy or a
network share, so that a cut into it lasts long enough to do things to the window meanwhile.

It is a FUSE file system that passes everything through to a folder beside it and holds
each write back until the rate allows it. `python3 -m morlend_e2e.slow_disk BACKING MOUNT
BYTES_PER_SECOND` serves it in the foreground; SlowDisk mounts and unmounts it for a
journey, with the guardian told of the mount.
"""

import errno
import os
import subprocess
import sys
import time

from .floppy import mounted_at
from .waiting import wait_until


class SlowDisk:
    """A slow folder at mount_point, its files kept in backing."""

    def __init__(self, processes, backing, mount_point, bytes_per_second):
        self._processes = processes
        self.backing = backing
        self.mount_point = mount_point
        self._bytes_per_second = bytes_per_second
        self._server = None

    def mount(self):
        os.makedirs(self.backing, exist_ok=True)
        os.makedirs(self.mount_point, exist_ok=True)
        self._processes.tell_guardian(True, {'mount': self.mount_point})
        self._server = self._processes.start(
            'slow disk', [sys.executable, '-m', 'morlend_e2e.slow_disk', self.backing,
                          self.mount_point, str(self._bytes_per_second)],
            cwd=os.path.dirname(os.path.dirname(os.path.abspath(__file__))),
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_until(lambda: mounted_at(self.mount_point) or self._server.poll() is not None,
                   f'the slow disk to be mounted at {self.mount_point}')
        if not mounted_at(self.mount_point):
            raise AssertionError('the slow disk could not be mounted')
        return self

    def unmount(self):
        if not self._server:
            return
        if mounted_at(self.mount_point):
            wait_until(lambda: subprocess.run(['fusermount', '-u', self.mount_point],
                                              capture_output=True).returncode == 0,
                       f'{self.mount_point} to be unmounted (nothing may hold a file open)')
        self._processes.stop(self._server)
        self._processes.tell_guardian(False, {'mount': self.mount_point})
        self._server = None


def serve(backing, mount_point, bytes_per_second):
    from fusepy import FUSE, FuseOSError, Operations

    class Throttled(Operations):
        """Everything as in the backing folder; writes at bytes_per_second."""

        use_ns = True

        def __init__(self):
            self._next_write = time.monotonic()

        def _path(self, path):
            return os.path.join(backing, path.lstrip('/'))

        def __call__(self, operation, path, *arguments):
            try:
                return super().__call__(operation, self._path(path), *arguments)
            except OSError as error:
                raise FuseOSError(error.errno or errno.EIO) from None

        def write(self, path, data, offset, handle):
            # A steady pace: each write waits until the bytes before it have had their time.
            now = time.monotonic()
            self._next_write = max(self._next_write, now) + len(data) / bytes_per_second
            time.sleep(self._next_write - now)
            return os.pwrite(handle, data, offset)

        def getattr(self, path, handle=None):
            status = os.lstat(path)
            return {key: getattr(status, key) for key in (
                'st_mode', 'st_nlink', 'st_uid', 'st_gid', 'st_size', 'st_ino')} | {
                key: getattr(status, key + '_ns') for key in ('st_atime', 'st_mtime', 'st_ctime')}

        def readdir(self, path, handle):
            return ['.', '..', *os.listdir(path)]

        def access(self, path, mode):
            if not os.access(path, mode):
                raise FuseOSError(errno.EACCES)

        def create(self, path, mode, info=None):
            return os.open(path, os.O_WRONLY | os.O_CREAT | os.O_EXCL, mode)

        def open(self, path, flags):
            return os.open(path, flags)

        def read(self, path, size, offset, handle):
            return os.pread(handle, size, offset)

        def truncate(self, path, length, handle=None):
            os.truncate(path, length)

        def flush(self, path, handle):
            return 0

        def fsync(self, path, datasync, handle):
            os.fsync(handle)

        def release(self, path, handle):
            os.close(handle)

        def statfs(self, path):
            status = os.statvfs(path)
            return {key: getattr(status, key) for key in (
                'f_bavail', 'f_bfree', 'f_blocks', 'f_bsize', 'f_favail', 'f_ffree',
                'f_files', 'f_flag', 'f_frsize', 'f_namemax')}

        def utimens(self, path, times=None):
            if times:
                os.utime(path, ns=times)
            else:
                os.utime(path)

        def rename(self, old, new):
            os.rename(old, self._path(new))

        chmod = os.chmod
        mkdir = os.mkdir
        readlink = os.readlink
        rmdir = os.rmdir
        unlink = os.unlink

    FUSE(Throttled(), mount_point, foreground=True, nothreads=True)


if __name__ == '__main__':
    serve(sys.argv[1], sys.argv[2], int(sys.argv[3]))
