"""Files dragged onto the program as from a file manager, through XDND."""

import subprocess

from .waiting import wait_until

TITLE = 'morlend-e2e-drag-source'


class DragSource:
    """The suite's small Qt program that drags the files it is given when pressed."""

    def __init__(self, session, processes, program):
        self._session = session
        self._processes = processes
        self._program = program
        self._process = None

    def drop(self, user, paths, target, holding=()):
        """Drags the files from the source's window to the target point and drops them.

        Returns the action the drop answered: 'copy', 'move', 'link' or 'none'.
        """
        self.close()
        process = self._processes.start(
            'drag source', [self._program, *paths], env=self._session.env,
            stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
            text=True)
        try:
            window = wait_until(lambda: self._window(process.pid), 'the drag source\'s window')
            start = self._centre(window)
            if holding:
                with user.holding(*holding):
                    user.drag(start, target)
            else:
                user.drag(start, target)
            return process.stdout.readline().strip()
        finally:
            # The target fetches the files' names after it answered the drop, so the source
            # stays until the next drop or the end of the journey.
            self._process = process

    def close(self):
        if self._process:
            self._processes.stop(self._process)
            self._process = None

    def _window(self, pid):
        found = subprocess.run(
            ['xdotool', 'search', '--all', '--onlyvisible', '--pid', str(pid),
             '--name', f'^{TITLE}$'],
            env=self._session.env, capture_output=True, text=True)
        return found.stdout.split()[0] if found.stdout.split() else None

    def _centre(self, window):
        shape = subprocess.run(['xdotool', 'getwindowgeometry', '--shell', window],
                               env=self._session.env, capture_output=True, text=True,
                               check=True).stdout
        values = dict(line.split('=', 1) for line in shape.split())
        return (int(values['X']) + int(values['WIDTH']) // 2,
                int(values['Y']) + int(values['HEIGHT']) // 2)
