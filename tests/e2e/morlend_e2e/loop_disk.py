"""A floppy disk with a kernel file system: an ext2 image of a 1.44 MB disk on a loop device,
mounted where the program looks for the floppy, under the machine-wide floppy lock.

Its writes reach the disk at a low rate, so that the kernel's own writeback stands between the
program and the disk as it does before a real floppy drive: a write lands in the page cache at
once, and only the flush waits for the disk. The image lives on a slow disk (slow_disk) that
the loop device reaches with direct I/O, so that every write to the disk waits for its rate,
the kernel's own writeback included, as on a real drive.

A control group's write limit on the loop device was tried first. cgroup v2's io controller,
which charges the kernel's writeback to the group that dirtied the pages, is not there on the
machines this suite runs on so far; cgroup v1's blkio.throttle.write_bps_device holds back only
what the program submits itself, and the kernel's flusher wrote a 600 KB piece out unheld in
some runs, the flush then taking a second.

Loop devices and mounts take root: elsewhere the journey is skipped.
"""

import os
import subprocess
import unittest

from . import floppy, floppy_lock
from .slow_disk import SlowDisk
from .waiting import wait_until

IMAGE_BYTES = 1474560


class LoopDisk:
    """The disk, its image made in folder, taking writes at bytes_per_second."""

    def __init__(self, processes, folder, bytes_per_second):
        self._processes = processes
        self._folder = folder
        self._rate = bytes_per_second
        self._slow = None
        self._device = None
        self._mounted = False
        self._locked = False

    def mount(self):
        if os.geteuid() != 0:
            raise unittest.SkipTest('loop devices and mounts take root')
        try:
            return self._mount()
        except BaseException:
            self.unmount()
            raise

    def _mount(self):
        floppy_lock.take(self._processes.lock_file)
        self._locked = True
        floppy.refuse_foreign_mounts()
        backing = os.path.join(self._folder, 'backing')
        os.makedirs(backing, exist_ok=True)
        image = os.path.join(backing, 'disk.img')
        with open(image, 'wb') as file:
            file.truncate(IMAGE_BYTES)
        subprocess.run(['mkfs.ext2', '-q', image], check=True, capture_output=True)
        self._slow = SlowDisk(self._processes, backing, os.path.join(self._folder, 'slow'),
                              self._rate).mount()
        made = subprocess.run(['losetup', '--find', '--show', '--direct-io=on',
                               os.path.join(self._slow.mount_point, 'disk.img')],
                              capture_output=True, text=True)
        if made.returncode != 0:
            raise unittest.SkipTest(f'no loop device: {made.stderr.strip()}')
        self._device = made.stdout.strip()
        self._processes.tell_guardian(True, self._detach())
        os.makedirs(floppy.MOUNT_POINT, exist_ok=True)
        self._processes.tell_guardian(True, {'mount': floppy.MOUNT_POINT})
        mounted = subprocess.run(['mount', self._device, floppy.MOUNT_POINT],
                                 capture_output=True, text=True)
        if mounted.returncode != 0:
            self._processes.tell_guardian(False, {'mount': floppy.MOUNT_POINT})
            raise unittest.SkipTest(f'no ext2 here: {mounted.stderr.strip()}')
        self._mounted = True
        # A disk fresh from the box holds nothing, not even ext2's folder for lost blocks.
        os.rmdir(os.path.join(floppy.MOUNT_POINT, 'lost+found'))
        return self

    def unmount(self):
        """Once the program has ended."""
        if self._mounted:
            # A program stopped in the middle of a flush holds the disk until the flush ends.
            wait_until(lambda: subprocess.run(['umount', floppy.MOUNT_POINT],
                                              capture_output=True).returncode == 0,
                       f'{floppy.MOUNT_POINT} to be unmounted', timeout=60)
            self._processes.tell_guardian(False, {'mount': floppy.MOUNT_POINT})
            self._mounted = False
        if self._device:
            subprocess.run(self._detach()['command'], check=True)
            self._processes.tell_guardian(False, self._detach())
            self._device = None
        if self._slow:
            self._slow.unmount()
            self._slow = None
        if self._locked:
            floppy_lock.release(self._processes.lock_file)
            self._locked = False

    def _detach(self):
        return {'command': ['losetup', '--detach', self._device], 'env': dict(os.environ)}
