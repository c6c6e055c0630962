"""The join, as a user starts it: the window that a file manager's "Join pieces" opens (the
join's desktop entry's Exec line with the script), and `morlend --join` in a terminal."""

import os
import shlex
import subprocess
from dataclasses import dataclass

from . import accessibility as a11y
from .program import Morlend
from .waiting import wait_until

CAPTION = 'Join pieces - Morlend'
JOIN_ENTRY = os.path.join(os.path.dirname(__file__), '..', '..', '..', 'resources',
                          'org.example.Morlend.Join.desktop')
# How long a join in the terminal may take; the journeys' sets join in well under a second.
TERMINAL_TIMEOUT = 60


def exec_line(program, path, entry=JOIN_ENTRY):
    """A desktop entry's Exec line expanded as a file manager expands it for one file."""
    with open(entry) as lines:
        line = next(line for line in lines if line.startswith('Exec='))[len('Exec='):].strip()
    words = shlex.split(line)
    return [program if words[0] == 'morlend' else words[0]] + [
        path if word == '%f' else word for word in words[1:]]


@dataclass
class JoinControls:
    """The join window's controls as the accessibility bus shows them."""
    window: object
    name: object
    pieces: object
    folder_box: object
    remove_box: object
    progress_bar: object
    result: object
    join_button: object
    cancel_button: object


def _by_position(accessibles):
    return sorted(accessibles, key=lambda a: (a11y.extents(a).y, a11y.extents(a).x))


def _find_controls(window):
    """The window's controls; None until the bus shows them all."""
    found = list(a11y.descendants(window))

    def of_role(role):
        return [c for c in found if a11y.role(c) == role]

    # The captions and the texts shown beside them, row by row, and the result below them.
    labels = _by_position(of_role('label'))
    buttons = {a11y.name(b): b for b in of_role('push button')}
    if len(labels) < 6 or not of_role('progress bar') or 'Join' not in buttons:
        return None
    return JoinControls(
        window=window, name=labels[1], pieces=labels[3], folder_box=of_role('text')[0],
        remove_box=of_role('check box')[0], progress_bar=of_role('progress bar')[0],
        result=labels[-1], join_button=buttons['Join'],
        cancel_button=buttons.get('Cancel') or buttons['Close'])


class JoinWindow(Morlend):
    """The join's window, started by the command a file manager runs for "Join pieces"."""

    def start(self, command=None):
        with open(self._log_path, 'ab') as log:
            self.process = self._processes.start(
                'morlend --join-window', command, env=self.env,
                cwd=os.path.dirname(self._log_path), stdin=subprocess.DEVNULL, stdout=log,
                stderr=subprocess.STDOUT)
        self.application = wait_until(lambda: a11y.application(self.process.pid),
                                      'the program on the accessibility bus')
        window = wait_until(self._join_window, 'the join window')
        self.window_id = wait_until(lambda: self.x_windows(CAPTION),
                                    'the join window on the screen')[0]
        self.controls = wait_until(lambda: _find_controls(window), 'the join window\'s controls')
        wait_until(lambda: self.active_window() == self.window_id,
                   'the join window to have the focus')
        return self

    def _join_window(self):
        for window in a11y.top_levels(self.application):
            if a11y.name(window) == CAPTION:
                return window
        return None

    def name(self):
        return a11y.name(self.controls.name)

    def pieces(self):
        return a11y.name(self.controls.pieces)

    def result(self):
        return a11y.name(self.controls.result)

    def folder(self):
        return a11y.text(self.controls.folder_box)


def join_in_terminal(processes, work, arguments, locale='en_US.UTF-8', stdin=None):
    """Runs `morlend --join ...` as in a terminal without a display: no DISPLAY, nor any
    other way to one. Returns the exit status and what it wrote on standard error."""
    environment = {name: value for name, value in os.environ.items()
                   if name not in ('DISPLAY', 'WAYLAND_DISPLAY', 'QT_QPA_PLATFORM')}
    environment.update(LANG=locale, LC_ALL=locale, LOCPATH=os.environ['MORLEND_E2E_LOCALES'])
    with open(os.path.join(work, 'terminal.log'), 'w+b') as said:
        process = processes.start(
            'morlend --join', [os.environ['MORLEND_E2E_PROGRAM'], *arguments], env=environment,
            cwd=work, stdin=stdin if stdin is not None else subprocess.DEVNULL,
            stdout=subprocess.DEVNULL, stderr=said)
        try:
            status = process.wait(timeout=TERMINAL_TIMEOUT)
        finally:
            processes.stop(process)
        said.seek(0)
        return status, said.read().decode('utf-8')
