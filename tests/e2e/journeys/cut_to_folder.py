"""A file dropped, cut into a folder with Enter, and joined back by cmd."""

import os

from morlend_e2e import accessibility as a11y
from morlend_e2e import files, program, screen
from morlend_e2e.journey import Journey

PIECE = 1457664
EXAMPLE_SCRIPT = (b'@echo off\r\n'
                  b'ren "clip.avi.1" "clip.avi"\r\n'
                  b'copy /b "clip.avi"+"clip.avi.2" "clip.avi"\r\n'
                  b'del "clip.avi.2"\r\n'
                  b'copy /b "clip.avi"+"clip.avi.3" "clip.avi"\r\n'
                  b'del "clip.avi.3"\r\n'
                  b'del "clip.avi.bat"')


class CutToFolder(Journey):
    def test_the_window_after_start_up(self):
        morlend = self.start_morlend()
        controls = morlend.controls
        self.assertEqual(morlend.caption(), program.title())
        self.assertEqual(morlend.size_list(), ['1 457 664', '1 213 952', '730 112'])
        self.assertEqual(morlend.size_text(), '1 457 664')
        self.assertEqual(morlend.file_text(), '{none}')
        self.assertEqual(morlend.estimate(), '{no source file selected}')
        self.assertEqual(morlend.folder(), '')
        self.assertEqual(morlend.progress(), '0/0')
        self.assertTrue(morlend.is_checked(controls.folder_option))
        self.assertFalse(morlend.is_checked(controls.floppy_option))
        self.assertTrue(morlend.is_checked(controls.clear_box))
        self.assertFalse(morlend.is_enabled(controls.clear_box))

    def test_drop_estimate_enter_and_join(self):
        source = self.make_source('clip.avi', 3500000)
        folder = os.path.join(self.work, 'clip_cut')
        morlend = self.start_morlend()
        bar = a11y.extents(morlend.controls.progress_box)
        empty_bar = screen.pixels(self.session, bar)

        self.assertEqual(self.drop(source), 'copy')
        morlend.wait_for(morlend.file_text, source + ' * 3,500,000 bytes')
        self.assertEqual(morlend.folder(), folder)
        self.assertEqual(morlend.estimate(), 'files: 3, last file: 584,672 bytes')
        self.assertEqual(morlend.progress(), '0/3')

        self.user.key('Return')
        morlend.wait_for(morlend.progress, '3/3')
        # Within its sunken border, the full bar is a band of one colour from end to end.
        full_rows = [row for row, before in zip(screen.pixels(self.session, bar), empty_bar)
                     if len(set(row[2:-2])) == 1 and row != before]
        self.assertTrue(full_rows, 'the progress bar is drawn across the whole box')
        self.assert_pieces(folder, source, PIECE)
        self.assertEqual(files.contents(os.path.join(folder, 'clip.avi.bat')), EXAMPLE_SCRIPT)
        self.assertEqual(len(EXAMPLE_SCRIPT), 182)
        self.assertFalse(morlend.x_windows('Morlend'), 'a run into a folder asks nothing')

        self.assert_joins_back(folder, source)
