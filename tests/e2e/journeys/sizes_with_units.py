"""Sizes as a new user types them: "25M" gives pieces of 25 MiB, in the estimate and in the cut;
"abc" or "4G" is no size the estimate figures out, and Cut says what it takes; "25" on a file
of 50 MB, meant as 25 MB, asks before it writes two million pieces, and Enter there, Cancel,
writes nothing."""

import os

from morlend_e2e import screen
from morlend_e2e.journey import Journey

MIB = 1 << 20
NOT_UNDERSTOOD = ('The size "{}" is not understood.\r\nType the bytes of a piece, or a number '
                  'and a unit, as in 1 457 664, 700K, 25MB or 1{}5GiB (K, M and G count 1024s, '
                  'KB, MB and GB 1000s).')


class SizesWithUnits(Journey):
    def type_size(self, morlend, text, estimate):
        self.user.select_all_and_type(morlend.controls.size_text, text)
        self.user.park_pointer()
        morlend.wait_for(morlend.size_text, text)
        morlend.wait_for(morlend.estimate, estimate)

    def test_a_size_with_a_unit_is_planned_and_cut_so(self):
        source = self.make_source('clip.avi', 60_000_000)
        morlend = self.start_morlend()
        self.drop(source)
        self.type_size(morlend, '25 MB', 'files: 3, last file: 10,000,000 bytes')
        self.type_size(morlend, '25M', 'files: 3, last file: 7,571,200 bytes')
        self.user.key('Return')
        morlend.wait_for(morlend.progress, '3/3')
        self.assertEqual(morlend.size_text(), '25M', 'the box keeps the text as typed')
        self.assert_pieces(os.path.join(self.work, 'clip_cut'), source, 25 * MIB)

    def test_a_decimal_part_in_the_locales_separator(self):
        source = self.make_source('clip.avi', 3_000_000)
        morlend = self.start_morlend('de_DE.UTF-8')
        self.drop(source)
        self.type_size(morlend, '1,5 MB', 'files: 2, last file: 1.500.000 bytes')
        self.type_size(morlend, '1.5 MB', '{size not understood}')

    def test_what_is_no_size_says_so_in_the_estimate_and_at_cut(self):
        source = self.make_source('clip.avi', 3_000_000)
        morlend = self.start_morlend()
        self.drop(source)
        for text, estimate, message in [
                ('abc', '{size not understood}', NOT_UNDERSTOOD.format('abc', '.')),
                ('4G', '{largest size: 2,147,483,647 bytes}',
                 'The size "4G" is too large: a piece has at most 2,147,483,647 bytes.')]:
            with self.subTest(text=text):
                self.type_size(morlend, text, estimate)
                screen.window_screenshot(self.session, morlend.window_id,
                                         os.path.join(self.work, f'{text} estimate.png'))
                self.user.key('Return')
                box = self.message_box()
                screen.screenshot(self.session, os.path.join(self.work, f'{text}.png'))
                self.assertEqual(box.text(), message)
                box.answer_with_keys(self.user, 'Return')
                self.assertFalse(os.path.exists(os.path.join(self.work, 'clip_cut')),
                                 'nothing is written')

    def test_two_million_pieces_are_asked_about_and_enter_cancels(self):
        source = os.path.join(self.work, 'clip.avi')
        with open(source, 'wb') as file:
            file.truncate(50 * MIB)
        morlend = self.start_morlend()
        self.drop(source)
        self.type_size(morlend, '25', 'files: 2097152, last file: 25 bytes')
        self.user.key('Return')
        box = self.message_box()
        screen.screenshot(self.session, os.path.join(self.work, 'question.png'))
        self.assertEqual(box.text(), 'Pieces of 25 bytes cut clip.avi into 2,097,152 files.\r\n'
                                     'OK cuts it so. Cancel writes nothing: a size with a unit, '
                                     'as in 25M (26,214,400 bytes), gives larger pieces.')
        self.assertEqual(sorted(box.buttons()), ['Cancel', 'OK'])
        # Enter, as a habit or still the one that started the cut, answers Cancel.
        box.answer_with_keys(self.user, 'Return')
        morlend.wait_for(morlend.progress, '0/2097152')
        self.assertFalse(os.path.exists(os.path.join(self.work, 'clip_cut')),
                         'Cancel leaves nothing')
        self.assertEqual(morlend.x_windows('Morlend'), [], 'and asks nothing more')
