"""Files dragged from Thunar, a real GTK file manager, as a user drags them: its window is opened
on a folder that holds one file, and the file's icon is pressed and moved onto the target.

Thunar's icon view shows its icons to the accessibility bus only as one pane, so the icon is
found where the view puts the first of its items: near the pane's top left corner. Each
folder dragged from holds that one file, so that nothing else moves it (a folder of pieces made
beside it would come first)."""

import os
import subprocess

from . import accessibility as a11y
from .waiting import wait_until

# The centre of the first icon, from the top left corner of the icon view (Thunar 4.18, its
# default icon size).
FIRST_ICON = (39, 45)


class Thunar:
    def __init__(self, session, processes, home):
        self._session = session
        self._processes = processes
        # A home of the journey's own: Thunar keeps its settings there.
        os.makedirs(home, exist_ok=True)
        self._env = dict(session.env, HOME=home, XDG_CONFIG_HOME=os.path.join(home, '.config'))
        self._process = None

    def open(self, folder):
        """Shows the folder in a new Thunar, closing the last one; returns where its one file's
        icon is on the screen."""
        self.close()
        self._process = self._processes.start(
            'thunar', ['thunar', folder], env=self._env, stdin=subprocess.DEVNULL,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        application = wait_until(lambda: a11y.application(self._process.pid),
                                 'Thunar on the accessibility bus')
        view = wait_until(lambda: next((d for d in a11y.descendants(application)
                                        if a11y.role(d) == 'directory pane'), None),
                          'Thunar\'s icon view')
        name = os.path.basename(folder.rstrip('/'))
        wait_until(lambda: subprocess.run(
            ['xdotool', 'search', '--onlyvisible', '--pid', str(self._process.pid), '--name',
             f'^{name} - Thunar$'], env=self._env, capture_output=True).returncode == 0,
            'Thunar\'s window')
        place = a11y.extents(view)
        return place.x + FIRST_ICON[0], place.y + FIRST_ICON[1]

    def close(self):
        if self._process:
            self._processes.stop(self._process)
            self._process = None
