"""The machine-wide lock that anything mounting a floppy image at the floppy's place holds.

Several worktrees run the suite on one machine at once, and the program looks for the
floppy at one place only, so a journey holds this lock for as long as its image is mounted.
"""

import fcntl
import os
import sys
import time

NAME = 'morlend-e2e-floppy.lock'

# Another worktree's journey holds the lock for seconds; someone trying a floppy by hand
# may hold it for minutes.
WAIT = 240.0


def lock_path():
    folder = '/run/lock' if os.path.isdir('/run/lock') else '/tmp'
    return os.path.join(folder, NAME)


def open_lock_file():
    return open(lock_path(), 'a')


def holders(lock_file):
    """Who holds the lock, as far as /proc/locks tells: process ids and command lines."""
    inode = os.fstat(lock_file.fileno()).st_ino
    found = []
    with open('/proc/locks') as table:
        for line in table:
            fields = line.split()
            if fields[1] == 'FLOCK' and fields[5].endswith(f':{inode}'):
                try:
                    with open(f'/proc/{fields[4]}/cmdline', 'rb') as cmdline:
                        command = cmdline.read().replace(b'\0', b' ').decode(errors='replace')
                except OSError:
                    command = '?'
                found.append(f'{fields[4]} ({command.strip()})')
    return ', '.join(found) or 'unknown'


def take(lock_file):
    try:
        fcntl.flock(lock_file.fileno(), fcntl.LOCK_EX | fcntl.LOCK_NB)
        return
    except BlockingIOError:
        pass
    print(f'waiting for {lock_path()}, held by {holders(lock_file)}', file=sys.stderr,
          flush=True)
    deadline = time.monotonic() + WAIT
    while time.monotonic() < deadline:
        try:
            fcntl.flock(lock_file.fileno(), fcntl.LOCK_EX | fcntl.LOCK_NB)
            return
        except BlockingIOError:
            time.sleep(0.2)
    raise AssertionError(f'{lock_path()} was held for more than {WAIT:g} s by '
                         f'{holders(lock_file)}; the floppy is in use on this machine')


def release(lock_file):
    fcntl.flock(lock_file.fileno(), fcntl.LOCK_UN)
