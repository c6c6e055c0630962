"""The floppy named in the folder box: "A:\\" writes onto the disk's root as the floppy's option
does, and "a:\\games" into a folder on the disk, made for it; the clear box follows the text."""

import os

from morlend_e2e import floppy
from morlend_e2e.journey import Journey

# The last piece leaves room for the script beside it (the piece size stands for a disk's).
SIZE = 2300
PIECE = 1000


class FloppyFolderTexts(Journey):
    def test_the_drive_typed_with_backslashes(self):
        source = self.make_source('clip.avi', SIZE)
        morlend = self.start_morlend()
        self.drop(source)
        self.user.select_all_and_type(morlend.controls.size_text, str(PIECE))
        for text, shown, folder in [('A:\\', 'A:', ''), ('a:\\games', 'A:\\games', 'games')]:
            with self.subTest(text):
                disk = floppy.make_image(os.path.join(self.work, f'disk-{folder or "root"}.img'))
                self.floppy.insert(disk)
                self.user.select_all_and_type(morlend.controls.folder_box, text)
                morlend.wait_for(lambda: morlend.is_enabled(morlend.controls.clear_box), True)
                # Clearing would take the pieces away from a folder of the disk, and a disk of
                # one run holds all three pieces here: nothing is cleared.
                if morlend.is_checked(morlend.controls.clear_box):
                    self.user.click_on(morlend.controls.clear_box)
                self.user.park_pointer()
                scripts = floppy.WaitingScripts('clip.avi')
                self.addCleanup(scripts.remove)
                self.user.key('Return')
                if not folder:
                    # The disk's root takes one piece a disk; this one takes them all.
                    for piece in (1, 2):
                        prompt = self.message_box()
                        self.assertEqual(prompt.text(),
                                         f'File A:\\clip.avi.{piece} written successfully.\r\n'
                                         f'Please insert floppy number {piece + 1}.')
                        prompt.answer_with_keys(self.user, 'Return')
                morlend.wait_for(morlend.progress, '3/3')
                if not folder:
                    morlend.wait_for(scripts.new, [])
                self.assertEqual(morlend.folder(), shown)
                self.floppy.eject()
                self.assertEqual(floppy.file_names(disk, folder),
                                 ['clip.avi.1', 'clip.avi.2', 'clip.avi.3', 'clip.avi.bat'])
                joined = os.path.join(self.work, f'joined-{folder or "root"}')
                os.makedirs(joined)
                floppy.copy_off(disk, joined, folder)
                self.assert_joins_back(joined, source)
