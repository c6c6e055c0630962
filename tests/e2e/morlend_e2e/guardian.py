"""The journey's last line of clean-up: a process that outlives the journey.

CTest stops a journey that overstays its time with SIGKILL, which no clean-up code of the
journey survives, and it stops the journey's descendants with it, but not daemons that left
the journey's process tree (the Wine server) nor the mounts the journey made. The guardian
leaves the tree at once (it forks and its first process exits) and reads what the journey
tells it on a pipe: process groups it started, mounts it made, commands that stop a
service, scratch folders. When the pipe closes with things still on its list, the journey
died without cleaning up, and the guardian does it.

The guardian also keeps open the floppy lock file the journey opened before starting it,
so the machine-wide floppy lock the journey takes stays held until the guardian has
unmounted the image.
"""

import json
import os
import shutil
import signal
import subprocess
import sys
import time

from process_groups import stop_group


def is_mounted(path):
    with open('/proc/mounts') as table:
        return any(line.split()[1] == path for line in table)


def unmount(path):
    # A file the program still holds open there makes a plain unmount fail for a while.
    deadline = time.monotonic() + 5
    while is_mounted(path) and time.monotonic() < deadline:
        if subprocess.run(['fusermount', '-u', path], capture_output=True).returncode:
            time.sleep(0.1)
    if is_mounted(path):
        subprocess.run(['fusermount', '-u', '-z', path], capture_output=True)
    # A kernel file system (a small tmpfs) is no FUSE mount.
    if is_mounted(path):
        subprocess.run(['umount', '-l', path], capture_output=True)


def main():
    # Away from the journey's session, so that an interrupt typed at its terminal does not
    # reach the guardian before the journey's own clean-up had its chance.
    os.setsid()
    if os.fork():
        os._exit(0)
    signal.signal(signal.SIGINT, signal.SIG_IGN)
    signal.signal(signal.SIGHUP, signal.SIG_IGN)
    pending = {}
    for line in sys.stdin:
        entry = json.loads(line)
        key = json.dumps(entry['what'], sort_keys=True)
        if entry['add']:
            pending[key] = entry['what']
        else:
            pending.pop(key, None)
    # The programs first, newest first, so that nothing holds a file open on a mount; then
    # the mounts, then the services that have commands of their own to stop them.
    left = list(reversed(list(pending.values())))
    for what in left:
        if 'group' in what:
            stop_group(what['group'])
    for what in left:
        if 'mount' in what:
            unmount(what['mount'])
    for what in left:
        if 'command' in what:
            subprocess.run(what['command'], env=what['env'], capture_output=True, timeout=30)
        elif 'folder' in what:
            shutil.rmtree(what['folder'], ignore_errors=True)


if __name__ == '__main__':
    main()
