"""Stopping a process group whole. Used by the harness and by its guardian, which runs it
as a plain module."""

import os
import signal
import time


def living_members(group):
    """The ids of the group's processes that have not ended. An ended one whose parent has
    not collected it yet (a zombie) still counts for the kernel, but runs no more."""
    members = []
    for entry in os.listdir('/proc'):
        if not entry.isdigit():
            continue
        try:
            with open(f'/proc/{entry}/stat') as stat:
                # The name in parentheses may hold blanks; the fields after it do not.
                fields = stat.read().rsplit(')', 1)[1].split()
        except OSError:
            continue
        if int(fields[2]) == group and fields[0] != 'Z':
            members.append(int(entry))
    return members


def stop_group(group, grace=3.0, reap=lambda: None):
    """SIGTERM to the group, then SIGKILL to what is still running after the grace time.
    `reap` collects our own ended children, so they count as ended."""
    for number in (signal.SIGTERM, signal.SIGKILL):
        try:
            os.killpg(group, number)
        except ProcessLookupError:
            return
        deadline = time.monotonic() + grace
        while True:
            reap()
            if not living_members(group):
                return
            if time.monotonic() >= deadline:
                break
            time.sleep(0.02)
