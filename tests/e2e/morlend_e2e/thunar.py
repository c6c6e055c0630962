"""Files dragged from Thunar, a real GTK file manager, as a user drags them: its window is opened
on a folder, and an item's row is pressed and moved onto the target.

Thunar's icon view shows its icons to the accessibility bus only as one pane, so the window is
switched to its details view, whose rows it shows cell by cell, each with its name and place:
an item is found by its name wherever the folder's sorting put it. (A run that makes its
folder of pieces beside the source moves the source's row down: Thunar lists folders first.)"""

import os
import subprocess

from . import accessibility as a11y
from .waiting import wait_until

# Thunar's window: wide enough for its details' columns, and clear of a window at x 640 and on.
PLACE = a11y.Rect(0, 0, 600, 480)


class Thunar:
    def __init__(self, session, processes, home):
        self._session = session
        self._processes = processes
        # A home of the journey's own: Thunar keeps its settings there.
        os.makedirs(home, exist_ok=True)
        self._env = dict(session.env, HOME=home, XDG_CONFIG_HOME=os.path.join(home, '.config'))
        self._process = None
        self._view = None

    def open(self, folder):
        """Shows the folder in a new Thunar, in its details view, closing the last one. Its
        window takes the screen's left part (PLACE), where the window manager puts it on top of
        whatever is there."""
        self.close()
        self._process = self._processes.start(
            'thunar', ['thunar', folder], env=self._env, stdin=subprocess.DEVNULL,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        name = os.path.basename(folder.rstrip('/'))
        window = wait_until(lambda: self._xdotool(
            'search', '--onlyvisible', '--pid', str(self._process.pid), '--name',
            f'^{name} - Thunar$'), 'Thunar\'s window')
        window = window.split()[0]
        self._xdotool('windowsize', '--sync', window, str(PLACE.width), str(PLACE.height))
        self._xdotool('windowmove', '--sync', window, str(PLACE.x), str(PLACE.y))
        self._xdotool('windowactivate', '--sync', window)
        self._xdotool('key', '--clearmodifiers', 'ctrl+2')
        application = wait_until(lambda: a11y.application(self._process.pid),
                                 'Thunar on the accessibility bus')
        self._view = wait_until(lambda: next(
            (d for d in a11y.descendants(application)
             if a11y.role(d) == 'directory pane' and a11y.name(d) == 'Details view'), None),
            'Thunar\'s details view')

    def place_of(self, item):
        """Where the name of the folder's item is on the screen, once Thunar lists it."""
        cell = wait_until(lambda: next((d for d in a11y.descendants(self._view)
                                        if a11y.role(d) == 'table cell'
                                        and a11y.name(d) == item), None),
                          f'{item} in Thunar\'s list')
        return a11y.extents(cell).centre

    def close(self):
        if self._process:
            self._processes.stop(self._process)
            self._process = None
            self._view = None

    def _xdotool(self, *arguments):
        """Its output, or None where it failed (a window not found yet)."""
        done = subprocess.run(['xdotool', *arguments], env=self._env, capture_output=True,
                              text=True)
        return done.stdout if done.returncode == 0 else None
