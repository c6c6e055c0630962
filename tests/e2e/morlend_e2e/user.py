"""What a user does with keyboard and mouse, sent through the X server's XTEST extension.

xdotool sends these as real input (never with --window, which would send synthetic events
that programs can tell apart), so focus, grabs and the window manager act as for a user.
"""

import contextlib
import subprocess
import time

from . import accessibility as a11y

# Where the pointer rests when it should be over nothing of the program's.
PARKING_PLACE = (1010, 750)


class User:
    def __init__(self, session):
        self._session = session

    def _xdotool(self, *arguments):
        subprocess.run(['xdotool', *arguments], env=self._session.env, check=True,
                       capture_output=True)

    def key(self, *names):
        """Presses and releases each key or chord in turn: 'Return', 'shift+Return', 'F1'."""
        self._xdotool('key', '--delay', '30', *names)

    def type(self, text):
        self._xdotool('type', '--delay', '20', '--', text)

    @contextlib.contextmanager
    def holding(self, *names):
        """Keeps keys down (Shift, Control) for what is done inside the block."""
        self._xdotool('keydown', *names)
        try:
            yield
        finally:
            self._xdotool('keyup', *names)

    def move_to(self, point):
        self._xdotool('mousemove', '--sync', str(point[0]), str(point[1]))

    def park_pointer(self):
        """Moves the pointer off the program, as a user's hand leaves the mouse."""
        self.move_to(PARKING_PLACE)

    def click(self, point, button=1):
        self.move_to(point)
        self._xdotool('click', str(button))

    def click_on(self, accessible):
        self.click(a11y.extents(accessible).centre)

    def select_all_and_type(self, accessible, text):
        """Clicks into a text box, selects what it holds and types over it."""
        self.click_on(accessible)
        self.key('ctrl+a')
        self.type(text)

    def drag(self, start, end, steps=12, pace=0.03):
        """Presses the left button at start, moves to end in steps and lets go there.

        A hand moves in steps and pauses over the target; XDND needs the target to have
        answered the last position before the drop, which the pause over it gives.
        """
        self.move_to(start)
        self._xdotool('mousedown', '1')
        try:
            for step in range(1, steps + 1):
                x = start[0] + (end[0] - start[0]) * step // steps
                y = start[1] + (end[1] - start[1]) * step // steps
                self._xdotool('mousemove', str(x), str(y))
                time.sleep(pace)
            for wiggle in (1, 0, 1, 0):
                self._xdotool('mousemove', str(end[0] + wiggle), str(end[1]))
                time.sleep(pace)
        finally:
            self._xdotool('mouseup', '1')
