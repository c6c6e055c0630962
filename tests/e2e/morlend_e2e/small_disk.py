"""A small disk: a tmpfs of a few pages mounted in the journey's folder, so that a cut into it
fills it at a known point, as a real disk fills: the kernel refuses the write that goes past
its last page with ENOSPC."""

import os
import subprocess
import unittest

from .floppy import mounted_at

PAGE = os.sysconf('SC_PAGE_SIZE')


class SmallDisk:
    """A tmpfs of `pages` pages at mount_point."""

    def __init__(self, processes, mount_point, pages):
        self._processes = processes
        self.mount_point = mount_point
        self._pages = pages
        self._mounted = False

    def mount(self):
        os.makedirs(self.mount_point, exist_ok=True)
        self._processes.tell_guardian(True, {'mount': self.mount_point})
        made = subprocess.run(['mount', '-t', 'tmpfs', '-o', f'size={self._pages * PAGE}',
                               'tmpfs', self.mount_point], capture_output=True, text=True)
        if made.returncode != 0:
            self._processes.tell_guardian(False, {'mount': self.mount_point})
            if os.geteuid() != 0:
                raise unittest.SkipTest('mounting a tmpfs takes root')
            raise AssertionError(f'the small disk could not be mounted: {made.stderr.strip()}')
        self._mounted = True
        return self

    def unmount(self):
        if not self._mounted:
            return
        if mounted_at(self.mount_point):
            subprocess.run(['umount', self.mount_point], check=True)
        self._processes.tell_guardian(False, {'mount': self.mount_point})
        self._mounted = False
