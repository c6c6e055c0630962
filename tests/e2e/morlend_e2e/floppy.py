"""Floppy disks as FAT12 images, mounted one at a time where the program looks for the
floppy, and read back with mtools; and faulty disks (faulty_disk), whose files a folder
holds."""

import os
import re
import shutil
import subprocess
import sys

from . import floppy_lock
from .waiting import wait_until

MOUNT_POINT = '/media/floppy0'

# Bytes free on an empty disk of each size, by the size in kilobytes that mkfs.fat takes.
FREE_BYTES = {1440: 1457664, 1200: 1213952, 720: 730112}


def make_image(path, kilobytes=1440):
    if os.path.exists(path):
        os.remove(path)
    subprocess.run(['mkfs.fat', '-C', path, str(kilobytes)], check=True, capture_output=True)
    return path


# A disk is an image, or a folder that holds a faulty disk's files (FloppyDrive.insert_faulty).

def file_names(disk, folder=''):
    """The names in a folder of the disk (its root by default), as mtools lists them."""
    if os.path.isdir(disk):
        return sorted(os.listdir(os.path.join(disk, folder)))
    listing = subprocess.run(['mdir', '-i', disk, '-b', '::' + folder], check=True,
                             capture_output=True, text=True).stdout
    return sorted(os.path.basename(line.strip().rstrip('/')) for line in listing.splitlines()
                  if line.strip())


def copy_off(disk, destination, folder=''):
    """Copies every file in a folder of the disk into the destination, as a user copies a
    disk."""
    for name in file_names(disk, folder):
        if os.path.isdir(disk):
            shutil.copyfile(os.path.join(disk, folder, name), os.path.join(destination, name))
            continue
        subprocess.run(['mcopy', '-n', '-i', disk, f'::{folder}/{name}',
                        os.path.join(destination, name)], check=True, capture_output=True)


def read_file(image, name):
    return subprocess.run(['mtype', '-i', image, '::' + name], check=True,
                          capture_output=True).stdout


class WaitingScripts:
    """The join scripts that floppy runs keep in the temporary folder, which stands for the
    root of drive C:, for a file's name: ~join~NAME.tmp, or ~join~NAME~2.tmp and on where
    another run's script, or one an earlier run left, has the name. Made before a cut, it
    tells the scripts of the cuts since from those that were there, and takes those away."""

    FOLDER = '/tmp'

    def __init__(self, name):
        self._pattern = re.compile(r'~join~' + re.escape(name) + r'(~[0-9]+)?\.tmp')
        self._before = self._all()

    def _all(self):
        return {os.path.join(self.FOLDER, entry) for entry in os.listdir(self.FOLDER)
                if self._pattern.fullmatch(entry)}

    def new(self):
        """The scripts that came since, in their order."""
        return sorted(self._all() - self._before)

    def only(self):
        """The one script that came since."""
        new = self.new()
        if len(new) != 1:
            raise AssertionError(f'one waiting join script was expected, not {new}')
        return new[0]

    def remove(self):
        for script in self.new():
            os.remove(script)


def _mounts():
    with open('/proc/mounts') as table:
        return [line.split() for line in table]


def mounted_at(path):
    return [fields for fields in _mounts() if fields[1] == path]


class FloppyDrive:
    """The one floppy drive of the machine; inserting an image mounts it there.

    The machine-wide lock is taken before the first image is inserted and released after
    the last one is taken out; a mount there that this drive did not make is never touched.
    """

    def __init__(self, processes):
        self._processes = processes
        self._locked = False
        self._filesystem = None  # the fusefat process of the inserted image
        self.image = None

    def insert(self, image, write_protected=False):
        """Mounts the image as the disk in the drive, read-only when it is write-protected."""
        self._mount(image, 'fusefat', ['fusefat', '-f', '-o', 'ro' if write_protected else 'rw+',
                                       image, MOUNT_POINT])

    def insert_faulty(self, backing, fault, pattern, place):
        """Mounts a faulty disk (morlend_e2e.faulty_disk) whose files are kept in the folder
        backing: 'flip' stores the byte at place of each file whose name matches the pattern
        otherwise, 'pull' takes the disk out once such a file is written up to place."""
        os.makedirs(backing, exist_ok=True)
        self._mount(backing, 'faulty disk',
                    [sys.executable, '-m', 'morlend_e2e.faulty_disk', backing, MOUNT_POINT,
                     fault, pattern, str(place)],
                    cwd=os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

    def _mount(self, disk, server, command, **popen_arguments):
        if not self._locked:
            floppy_lock.take(self._processes.lock_file)
            self._locked = True
            refuse_foreign_mounts()
        if self._filesystem:
            raise AssertionError('a disk is already in the drive')
        os.makedirs(MOUNT_POINT, exist_ok=True)
        self._processes.tell_guardian(True, {'mount': MOUNT_POINT})
        self._filesystem = self._processes.start(
            server, command, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL, **popen_arguments)
        wait_until(lambda: mounted_at(MOUNT_POINT) or self._filesystem.poll() is not None,
                   f'{disk} to be mounted at {MOUNT_POINT}')
        if not mounted_at(MOUNT_POINT):
            raise AssertionError(f'{server} could not mount {disk}')
        self.image = disk

    def eject(self, timeout=None):
        """Unmounts the disk; everything written to it is in the image afterwards."""
        if not self._filesystem:
            return
        arguments = {} if timeout is None else {'timeout': timeout}
        wait_until(lambda: subprocess.run(['fusermount', '-u', MOUNT_POINT],
                                          capture_output=True).returncode == 0,
                   f'{MOUNT_POINT} to be unmounted (nothing may hold a file open there)',
                   **arguments)
        self._filesystem.wait(timeout=10)
        self._gone()

    def swap(self, image, write_protected=False):
        self.eject()
        self.insert(image, write_protected)

    def swap_to_faulty(self, backing, fault, pattern, place):
        self.eject()
        self.insert_faulty(backing, fault, pattern, place)

    def close(self):
        try:
            if self._filesystem:
                try:
                    self.eject(timeout=5)
                except AssertionError:
                    self._pull_out()
        finally:
            if self._locked:
                floppy_lock.release(self._processes.lock_file)
                self._locked = False

    def _pull_out(self):
        # What still waits on the file system (the program, in a failed journey) gets an
        # error once the file system's process is gone, which stopping it in _gone does.
        if mounted_at(MOUNT_POINT):
            subprocess.run(['fusermount', '-u', '-z', MOUNT_POINT], capture_output=True)
        self._gone()

    def _gone(self):
        self._processes.stop(self._filesystem)
        self._processes.tell_guardian(False, {'mount': MOUNT_POINT})
        self._filesystem = None
        self.image = None


def refuse_foreign_mounts():
    """Fails when something that this suite did not mount is where the program takes it for
    the floppy; the caller holds the floppy lock."""
    for fields in _mounts():
        if fields[1] == MOUNT_POINT or fields[0].startswith('/dev/fd'):
            raise AssertionError(
                f'{fields[0]} is mounted at {fields[1]}, where the program would take it '
                'for the floppy, and this suite did not mount it. Unmount it '
                f'(umount {fields[1]}) and run the suite again.')
