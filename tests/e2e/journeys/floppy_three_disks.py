"""A file cut onto three floppy disks, each cleared first, the disks swapped at the prompts,
and the pieces copied off the disks joined back by cmd."""

import os
import subprocess

from morlend_e2e import files, floppy
from morlend_e2e.journey import Journey


def next_disk_prompt(piece, disk):
    return f'File A:\\clip.avi.{piece} written successfully.\r\nPlease insert floppy number {disk}.'


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

        self.floppy.insert(disks[0])
        self.user.key('Return')
        prompt = self.message_box()
        self.assertEqual(prompt.text(), next_disk_prompt(1, 2))
        self.assertEqual(sorted(prompt.buttons()), ['Cancel', 'OK'])
        self.floppy.swap(disks[1])
        prompt.answer_with_keys(self.user, 'Return')

        prompt = self.message_box()
        self.assertEqual(prompt.text(), next_disk_prompt(2, 3))
        self.floppy.swap(disks[2])
        prompt.answer_with_click(self.user, 'OK')

        # The script waits in the temporary folder until the last disk has it.
        temporary_script = '/tmp/~join~clip.avi.tmp'
        morlend.wait_for(lambda: os.path.exists(temporary_script), False)
        self.floppy.eject()
        self.assertEqual(morlend.progress(), '3/3')
        self.assertFalse(morlend.x_windows('Morlend'), 'nothing more is asked')

        self.assertEqual(floppy.file_names(disks[0]), ['clip.avi.1'])
        self.assertEqual(floppy.file_names(disks[1]), ['clip.avi.2'])
        self.assertEqual(floppy.file_names(disks[2]), ['clip.avi.3', 'clip.avi.bat'])
        self.assert_disks_join_back(disks, source, floppy.FREE_BYTES[1440])
