"""A screen reader's view of the progress from outside: a process of its own, as a screen reader
is, that reads the program's progress bar and caption over the accessibility bus again and
again and times each answer.

`python3 -m morlend_e2e.outside_reader PID` prints "ready" once it has found the program, then
reads until its standard input is closed, and prints what it saw as one line of JSON: the
longest answer in seconds, how many reads it made, and each reading that differed from the one
before, as [caption, value] pairs. OutsideReader runs it for a journey.
"""

import json
import os
import select
import subprocess
import sys
import time

from .waiting import wait_until

# What a screen reader asks now and then, not as fast as it can.
INTERVAL = 0.05


class OutsideReader:
    """The reader started on the program with process id pid; stop() returns what it saw."""

    def __init__(self, processes, pid):
        # The harness's environment names the session's buses (and where Python keeps its
        # compiled modules, outside the sources).
        self._processes = processes
        self._process = processes.start(
            'outside reader', [sys.executable, '-m', 'morlend_e2e.outside_reader', str(pid)],
            cwd=os.path.dirname(os.path.dirname(os.path.abspath(__file__))),
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        ready = self._process.stdout.readline().strip()
        if ready != 'ready':
            raise AssertionError(f'the outside reader did not start: {ready!r}')

    def stop(self):
        """Ends the reading: (longest answer in seconds, reads, readings that changed)."""
        self._process.stdin.close()
        seen = json.loads(self._process.stdout.readline())
        wait_until(lambda: self._process.poll() is not None, 'the outside reader to end')
        self._processes.stop(self._process)
        return seen['longest'], seen['reads'], [tuple(reading) for reading in seen['changes']]


def _find(accessible, role):
    for child in accessible:
        if child is None:
            continue
        if child.getRoleName() == role:
            return child
        found = _find(child, role)
        if found is not None:
            return found
    return None


def read(pid):
    import pyatspi
    application = next(a for a in pyatspi.Registry.getDesktop(0)
                       if a is not None and a.get_process_id() == pid)
    window = next(w for w in application if w is not None and w.name.startswith('Morlend '))
    bar = _find(window, 'progress bar')
    caption = _find(window, 'label')
    print('ready', flush=True)
    longest = 0.0
    reads = 0
    changes = []
    while not select.select([sys.stdin], [], [], INTERVAL)[0]:
        start = time.monotonic()
        caption.clear_cache()
        reading = [caption.name, bar.queryValue().currentValue]
        longest = max(longest, time.monotonic() - start)
        reads += 1
        if not changes or changes[-1] != reading:
            changes.append(reading)
    print(json.dumps({'longest': longest, 'reads': reads, 'changes': changes}), flush=True)


if __name__ == '__main__':
    read(int(sys.argv[1]))
