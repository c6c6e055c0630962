"""The keys the window answers whatever has the focus: Enter and Shift+Enter cut, F1 shows
the About box, Escape ends the program."""

import os

from morlend_e2e import message_boxes, program
from morlend_e2e.journey import Journey

ABOUT_TEXT = (program.title() + '\r\n'
              'Written by Ravik, 2026. Free to use and to pass on.\r\n'
              'View readme.txt and license.txt for more information.\r\n'
              '\r\n'
              'E-MAIL: ravik@example.org\r\n'
              'WEB: https://example.org/morlend or https://morlend.example.org')


class KeysAndAbout(Journey):
    def test_f1_shows_the_about_box(self):
        morlend = self.start_morlend()
        for close in (lambda box: box.answer_with_click(self.user, 'OK'),
                      lambda box: box.answer_with_keys(self.user, 'Return'),
                      lambda box: box.answer_with_keys(self.user, 'Escape')):
            self.user.key('F1')
            about = self.message_box(message_boxes.ABOUT_CAPTION)
            self.assertEqual(about.text(), ABOUT_TEXT)
            self.assertEqual(list(about.buttons()), ['OK'])
            close(about)
            self.assertFalse(morlend.has_ended(), 'closing the About box ends nothing')
            self.assertEqual(morlend.active_window(), morlend.window_id)

    def test_escape_ends_the_program(self):
        morlend = self.start_morlend()
        self.user.click_on(morlend.controls.folder_box)  # the focus in a text box
        self.user.park_pointer()
        self.user.key('Escape')
        self.assertEqual(morlend.wait_until_ended(), 0)

    def test_enter_and_shift_enter_cut_from_any_control(self):
        morlend = self.start_morlend()
        cases = [('Return', morlend.controls.size_text),
                 ('shift+Return', morlend.controls.folder_box),
                 ('KP_Enter', morlend.controls.folder_option)]
        for index, (key, focus) in enumerate(cases):
            with self.subTest(key=key):
                source = self.make_source(f'clip{index}.avi', 1000000 + index, seed=index)
                self.drop(source)
                morlend.wait_for(morlend.progress, '0/1')
                self.user.click_on(focus)
                self.user.park_pointer()
                self.user.key(key)
                morlend.wait_for(morlend.progress, '1/1')
                self.assert_pieces(os.path.join(self.work, f'clip{index}_cut'), source, 1457664)
        self.assertFalse(morlend.x_windows(message_boxes.ABOUT_CAPTION), 'Enter never asks')
