"""Ways to give the window a file besides a single drop: Ctrl+O opens a file chooser above the
window, which stays on top of others, and the file chosen there is taken as a drop; a drop of
two files takes the first and says so."""

import os

from morlend_e2e import screen
from morlend_e2e.journey import Journey
from morlend_e2e.waiting import wait_until

CHOOSER = 'Choose a file to cut'


class WaysIn(Journey):
    def stacking(self):
        """The desktop's windows from the bottom to the top."""
        listed = self.session.run(['xprop', '-root', '_NET_CLIENT_LIST_STACKING'],
                                  text=True).stdout
        return [int(window, 16) for window in listed.split('#')[1].split(',')]

    def test_ctrl_o_chooses_a_file_in_a_chooser_above_the_window(self):
        source = self.make_source('clip.avi', 3_500_000)
        # Qt's own chooser keeps the folders it visited in the user's settings; these are the
        # journey's.
        morlend = self.start_morlend(
            environment={'XDG_CONFIG_HOME': os.path.join(self.work, 'config')})
        self.user.key('ctrl+o')
        chooser = wait_until(lambda: morlend.x_windows(CHOOSER), 'the file chooser')[0]
        wait_until(lambda: morlend.active_window() == chooser, 'the chooser to have the focus')
        screen.screenshot(self.session, os.path.join(self.work, 'chooser.png'))
        stacking = self.stacking()
        self.assertGreater(stacking.index(chooser), stacking.index(morlend.window_id),
                           'the chooser above the window, which stays on top')
        # Its name field has the focus; a whole path there and Enter choose the file.
        self.user.type(source)
        self.user.key('Return')
        morlend.wait_for(morlend.file_text, source + ' * 3,500,000 bytes')
        self.assertEqual(morlend.x_windows(CHOOSER), [])
        morlend.wait_for(morlend.estimate, 'files: 3, last file: 584,672 bytes')
        self.assertEqual(morlend.folder(), os.path.join(self.work, 'clip_cut'))

    def test_a_drop_of_two_files_takes_the_first_and_says_so(self):
        first = self.make_source('first.avi', 1000)
        second = self.make_source('second.avi', 2000, seed=2)
        morlend = self.start_morlend()
        self.drag_onto(morlend.controls.drop_area, first, second)
        box = self.message_box()
        screen.screenshot(self.session, os.path.join(self.work, 'two files.png'))
        self.assertEqual(box.text(), 'Morlend cuts one file at a time, so of the 2 files '
                                     f'dropped it took {first}.')
        box.answer_with_keys(self.user, 'Return')
        morlend.wait_for(morlend.file_text, first + ' * 1,000 bytes')
