"""The program's message boxes, found as windows by their caption and answered as a user
answers them: with a key or a click on a button."""

from . import accessibility as a11y
from .waiting import wait_until

CAPTION = 'Morlend'
ABOUT_CAPTION = 'About Morlend by Ravik'


class MessageBox:
    def __init__(self, morlend, caption, window_id, accessible):
        self._morlend = morlend
        self.caption = caption
        self.window_id = window_id
        self._accessible = accessible

    def text(self):
        """The message's lines, as the box shows them."""
        labels = [a11y.name(c) for c in a11y.descendants(self._accessible)
                  if a11y.role(c) == 'label' and a11y.name(c)]
        return '\n'.join(labels)

    def buttons(self):
        return {a11y.name(c): c for c in a11y.descendants(self._accessible)
                if a11y.role(c) == 'push button'}

    def answer_with_keys(self, user, *keys):
        self._wait_for_focus()
        user.key(*keys)
        self.wait_closed()

    def answer_with_click(self, user, button):
        self._wait_for_focus()
        user.click_on(self.buttons()[button])
        self.wait_closed()

    def _wait_for_focus(self):
        wait_until(lambda: self._morlend.active_window() == self.window_id,
                   f'the box "{self.caption}" to have the focus')

    def is_open(self):
        return self.window_id in self._morlend.x_windows(self.caption)

    def wait_closed(self):
        wait_until(lambda: not self.is_open(), f'the box "{self.caption}" to close')


def wait_for_message_box(morlend, caption=CAPTION, timeout=None):
    """The program's box with this caption once it is on the screen."""
    arguments = {} if timeout is None else {'timeout': timeout}
    window_id = wait_until(lambda: morlend.x_windows(caption),
                           f'a box captioned "{caption}"', **arguments)[0]

    def accessible():
        for window in a11y.top_levels(morlend.application):
            if a11y.name(window) == caption and a11y.role(window) in ('alert', 'dialog'):
                return window
        return None

    return MessageBox(morlend, caption, window_id,
                      wait_until(accessible, f'the box "{caption}" on the accessibility bus'))
