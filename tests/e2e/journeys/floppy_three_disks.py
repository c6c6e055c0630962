"""A file cut onto three used floppy disks, each cleared first once the user agreed (Enter
keeps a disk as it is), the disks swapped at the prompts, and the pieces copied off the disks
joined back by cmd."""

import os
import subprocess

from morlend_e2e import files, floppy
from morlend_e2e.journey import Journey


def next_disk_prompt(piece, disk):
    return f'File A:\\clip.avi.{piece} written successfully.\r\nPlease insert floppy number {disk}.'


def clear_question(piece):
    return ('The disk in the drive, /media/floppy0 (fusefat), holds 1 file and 1 folder: OLD and '
            f'OLD.TXT.\r\nClearing it for piece {piece} removes all of that. OK clears the disk; '
            'Cancel leaves it as it is, and the cut asks for another disk.')


class FloppyThreeDisks(Journey):
    def test_three_disks_cleared_swapped_and_joined(self):
        source = self.make_source('clip.avi', 3500000)
        disks = [floppy.make_image(os.path.join(self.work, f'disk{n}.img')) for n in (1, 2, 3)]
        # What a used disk holds, which clearing must remove: a file and a folder with a file.
        junk = files.make_file(os.path.join(self.work, 'old.txt'), 1000, seed=9)
        for disk in disks:
            subprocess.run(['mmd', '-i', disk, '::old'], check=True)
            subprocess.run(['mcopy', '-i', disk, junk, '::old.txt'], check=True)
            subprocess.run(['mcopy', '-i', disk, junk, '::old/old.txt'], check=True)
        morlend = self.start_morlend()
        self.drop(source)
        morlend.wait_for(morlend.estimate, 'files: 3, last file: 584,672 bytes')
        self.user.click_on(morlend.controls.floppy_option)
        self.user.park_pointer()
        morlend.wait_for(lambda: morlend.is_enabled(morlend.controls.clear_box), True)
        self.assertTrue(morlend.is_checked(morlend.controls.clear_box))

        scripts = floppy.WaitingScripts('clip.avi')
        self.addCleanup(scripts.remove)
        self.floppy.insert(disks[0])
        self.user.key('Return')
        self.agree_to_clear(1)
        prompt = self.message_box()
        self.assertEqual(prompt.text(), next_disk_prompt(1, 2))
        self.assertEqual(sorted(prompt.buttons()), ['Cancel', 'OK'])
        self.floppy.swap(disks[1])
        prompt.answer_with_keys(self.user, 'Return')

        # Enter, pressed by habit, keeps the disk as it is; the run asks for a disk again.
        question = self.message_box()
        self.assertEqual(question.text(), clear_question(2))
        question.answer_with_keys(self.user, 'Return')
        again = self.message_box()
        self.assertEqual(again.text(), 'The disk in the drive was not cleared.\r\n'
                                       'Please insert floppy number 2.')
        self.assertEqual(floppy.file_names(disks[1]), ['old', 'old.txt'])
        again.answer_with_keys(self.user, 'Return')
        self.agree_to_clear(2)

        prompt = self.message_box()
        self.assertEqual(prompt.text(), next_disk_prompt(2, 3))
        self.floppy.swap(disks[2])
        prompt.answer_with_click(self.user, 'OK')
        self.agree_to_clear(3)

        # The script waits in the temporary folder until the last disk has it.
        morlend.wait_for(scripts.new, [])
        self.floppy.eject()
        self.assertEqual(morlend.progress(), '3/3')
        self.assertFalse(morlend.x_windows('Morlend'), 'nothing more is asked')

        self.assertEqual(floppy.file_names(disks[0]), ['clip.avi.1'])
        self.assertEqual(floppy.file_names(disks[1]), ['clip.avi.2'])
        self.assertEqual(floppy.file_names(disks[2]), ['clip.avi.3', 'clip.avi.bat'])
        self.assert_disks_join_back(disks, source, floppy.FREE_BYTES[1440])

    def agree_to_clear(self, piece):
        question = self.message_box()
        self.assertEqual(question.text(), clear_question(piece))
        self.assertEqual(sorted(question.buttons()), ['Cancel', 'OK'])
        question.answer_with_click(self.user, 'OK')
        self.user.park_pointer()
