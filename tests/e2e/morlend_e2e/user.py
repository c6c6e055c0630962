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
        return subprocess.run(['xdotool', *arguments], env=self._session.env, check=True,
                              capture_output=True, text=True).stdout

    def key(self, *names):
        """Presses and releases each key or chord in turn: 'Return', 'shift+Return', 'F1'."""
        self._xdotool('key', '--delay', '30', *names)

    def type(self, text):
        self._xdotool('type', '--delay', '20', '--', text)

    def key_down(self, *names):
        self._xdotool('keydown', *names)

    def key_up(self, *names):
        self._xdotool('keyup', *names)

    @contextlib.contextmanager
    def holding(self, *names):
        """Keeps keys down (Shift, Control) for what is done inside the block."""
        self.key_down(*names)
        try:
            yield
        finally:
            self.key_up(*names)

    def move_to(self, point):
        # --sync waits for the pointer to leave where it was, for 15 s when it is there.
        if self.pointer() != tuple(point):
            self._xdotool('mousemove', '--sync', str(point[0]), str(point[1]))

    def pointer(self):
        """Where the pointer is: (x, y)."""
        values = dict(line.split('=', 1)
                      for line in self._xdotool('getmouselocation', '--shell').split())
        return (int(values['X']), int(values['Y']))

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

    def drag(self, start, end, steps=12, pace=0.03, over_target=None):
        """Presses the left button at start, moves to end in steps and lets go there.

        A hand moves in steps and pauses over the target; XDND needs the target to have
        answered the last position before the drop, which the pause over it gives.
        over_target, if given, is done while the pointer rests on the target (a key pressed
        or let go), and the hand pauses there again, so that the target hears of it.
        """
        self.move_to(start)
        self._xdotool('mousedown', '1')
        try:
            for step in range(1, steps + 1):
                x = start[0] + (end[0] - start[0]) * step // steps
                y = start[1] + (end[1] - start[1]) * step // steps
                self._xdotool('mousemove', str(x), str(y))
                time.sleep(pace)
            self._pause_over(end, pace)
            if over_target:
                over_target()
                self._pause_over(end, pace)
        finally:
            self._xdotool('mouseup', '1')

    def _pause_over(self, point, pace):
        # A resting hand still trembles: each move has the drag source tell the target the
        # pointer's place and the keys held, and wait for its answer.
        for wiggle in (1, 0, 1, 0):
            self._xdotool('mousemove', str(point[0] + wiggle), str(point[1]))
            time.sleep(pace)
