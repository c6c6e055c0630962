"""A FUSE file system that passes everything through to a folder beside it: the ground of the
disks that behave otherwise than a folder in one way (a slow disk, a faulty one), each of
which serves a subclass of operations(backing) that changes only what it needs to.

Debian's python3-fusepy serves it; it is imported where a disk is served, so that the rest of
the harness runs without it.
"""

import errno
import os
import subprocess
import sys

from .floppy import mounted_at
from .waiting import wait_until


def operations(backing):
    """The class of the operations that pass everything through to the folder backing."""
    from fusepy import FuseOSError, Operations

    class Passthrough(Operations):
        use_ns = True

        def _path(self, path):
            return os.path.join(backing, path.lstrip('/'))

        def __call__(self, operation, path, *arguments):
            try:
                return super().__call__(operation, self._path(path), *arguments)
            except OSError as error:
                raise FuseOSError(error.errno or errno.EIO) from None

        def write(self, path, data, offset, handle):
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
            # The kernel's direct I/O (a loop device's, say) reaches this server all the same;
            # the backing folder's file system would want aligned buffers for it.
            return os.open(path, flags & ~os.O_DIRECT)

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

    return Passthrough


def serve(operations_object, mount_point):
    from fusepy import FUSE
    FUSE(operations_object, mount_point, foreground=True, nothreads=True)


class Server:
    """A disk served by `python3 -m morlend_e2e.MODULE BACKING MOUNT ARGUMENTS...` at a mount
    point, its files kept in a backing folder; the guardian is told of the mount."""

    def __init__(self, processes, module, backing, mount_point, *arguments):
        self._processes = processes
        self._module = module
        self.backing = backing
        self.mount_point = mount_point
        self._arguments = [str(argument) for argument in arguments]
        self._server = None

    def mount(self):
        os.makedirs(self.backing, exist_ok=True)
        os.makedirs(self.mount_point, exist_ok=True)
        self._processes.tell_guardian(True, {'mount': self.mount_point})
        self._server = self._processes.start(
            self._module, [sys.executable, '-m', f'morlend_e2e.{self._module}', self.backing,
                           self.mount_point, *self._arguments],
            cwd=os.path.dirname(os.path.dirname(os.path.abspath(__file__))),
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_until(lambda: mounted_at(self.mount_point) or self._server.poll() is not None,
                   f'the {self._module} to be mounted at {self.mount_point}')
        if not mounted_at(self.mount_point):
            raise AssertionError(f'the {self._module} could not be mounted')
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
