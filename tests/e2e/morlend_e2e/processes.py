"""Every process a journey starts, recorded by its id and stopped whatever happens."""

import json
import os
import signal
import subprocess
import sys

from . import floppy_lock
from .process_groups import stop_group


def peak_memory(pid):
    """The process's peak resident memory, in bytes."""
    with open(f'/proc/{pid}/status') as status:
        for line in status:
            if line.startswith('VmHWM:'):
                return int(line.split()[1]) * 1024
    raise RuntimeError('no VmHWM in /proc')


class Processes:
    """Starts programs each in a process group of its own and stops them, newest first.

    What is still running when the journey ends, fails, raises or is sent SIGTERM or SIGINT
    is stopped by stop_all(); after a SIGKILL the guardian does it.
    """

    def __init__(self):
        self._running = []  # (name, Popen), oldest first
        self._lock_file = floppy_lock.open_lock_file()
        self._guardian = subprocess.Popen(
            [sys.executable, os.path.join(os.path.dirname(__file__), 'guardian.py')],
            stdin=subprocess.PIPE, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            pass_fds=(self._lock_file.fileno(),), text=True)
        # Its first process exits as soon as the guardian has left the journey's tree.
        self._guardian.wait()
        self._to_guardian = self._guardian.stdin

    @property
    def lock_file(self):
        return self._lock_file

    def tell_guardian(self, add, what):
        self._to_guardian.write(json.dumps({'add': add, 'what': what}) + '\n')
        self._to_guardian.flush()

    def start(self, name, args, **popen_arguments):
        process = subprocess.Popen(args, start_new_session=True, **popen_arguments)
        self._running.append((name, process))
        self.tell_guardian(True, {'group': process.pid})
        return process

    def stop(self, process, grace=3.0):
        """Ends the process's whole group: SIGTERM, then SIGKILL after the grace time."""
        # A group outlives its leader while other members run, and the kernel gives no new
        # process the group's id meanwhile. So once the leader has been collected, a process
        # that has its id shows that the group has ended and the id was given again, maybe
        # to the leader of someone else's group (on a busy machine ids come round within
        # seconds): that group is not ours to stop.
        if process.poll() is None or not os.path.exists(f'/proc/{process.pid}'):
            stop_group(process.pid, grace, reap=process.poll)
        try:
            process.wait(timeout=grace)
        except subprocess.TimeoutExpired:
            # Stuck in the kernel, on a request to a file system that does not answer; it
            # ends once that file system is gone, and the guardian looks at it again.
            name = next(n for n, p in self._running if p is process)
            print(f'{name} (process {process.pid}) did not end', file=sys.stderr)
            return
        for stream in (process.stdin, process.stdout, process.stderr):
            if stream:
                stream.close()
        self._running = [(n, p) for n, p in self._running if p is not process]
        self.tell_guardian(False, {'group': process.pid})

    def stop_all(self):
        for _, process in reversed(list(self._running)):
            self.stop(process)

    def close(self):
        self.stop_all()
        self._to_guardian.close()
        self._lock_file.close()


def raise_on_termination_signals():
    """Turns SIGTERM and SIGINT into an exception, so that every finally clause runs."""

    def interrupted(number, _frame):
        raise KeyboardInterrupt(f'stopped by signal {signal.Signals(number).name}')

    signal.signal(signal.SIGTERM, interrupted)
    signal.signal(signal.SIGINT, interrupted)
