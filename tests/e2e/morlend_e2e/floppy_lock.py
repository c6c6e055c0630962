"""The machine-wide lock that anything mounting a floppy image at the floppy's place holds.

Several worktrees run the suite on one machine at once, and the program looks for the
floppy at one place only, so a journey holds this lock for as long as its image is mounted.
"""

import fcntl
import os

NAME = 'morlend-e2e-floppy.lock'


def lock_path():
    folder = '/run/lock' if os.path.isdir('/run/lock') else '/tmp'
    return os.path.join(folder, NAME)


def open_lock_file():
    return open(lock_path(), 'a')


def take(lock_file):
    fcntl.flock(lock_file.fileno(), fcntl.LOCK_EX)


def release(lock_file):
    fcntl.flock(lock_file.fileno(), fcntl.LOCK_UN)
