"""The join script offered to full disks: the error, one more disk asked for, and the script
on the first disk with room; the full disks keep what they held."""

import os
import subprocess

from morlend_e2e import files, floppy
from morlend_e2e.journey import Journey

PIECE = floppy.FREE_BYTES[1440]


class FloppyHandOverError(Journey):
    def full_disk(self, name):
        image = floppy.make_image(os.path.join(self.work, name), 720)
        filler = files.make_file(os.path.join(self.work, 'fill.bin'), floppy.FREE_BYTES[720])
        subprocess.run(['mcopy', '-i', image, filler, '::fill.bin'], check=True)
        return image

    def test_script_offered_to_full_disks(self):
        scripts = floppy.WaitingScripts('clip.avi')
        self.addCleanup(scripts.remove)
        source = self.make_source('clip.avi', 2 * PIECE)
        disks = [floppy.make_image(os.path.join(self.work, f'disk{n}.img')) for n in (1, 2, 3)]
        full = [self.full_disk(f'full{n}.img') for n in (1, 2)]
        morlend = self.start_morlend()
        self.drop(source)
        self.user.click_on(morlend.controls.floppy_option)
        self.user.park_pointer()
        self.floppy.insert(disks[0])
        self.user.key('Return')
        next_disk = self.message_box()
        self.floppy.swap(disks[1])
        next_disk.answer_with_keys(self.user, 'Return')
        self.message_box().answer_with_keys(self.user, 'Return')  # the warning

        for disk, close_error in [(full[0], 'click'), (full[1], 'key')]:
            one_more = self.message_box()
            self.assertEqual(one_more.text(), 'Please insert one more floppy.')
            self.floppy.swap(disk)
            one_more.answer_with_keys(self.user, 'Return')
            error = self.message_box()
            # fusefat refuses a write to a full disk with EPERM where the kernel's FAT driver
            # says ENOSPC, which the program would show as "Disk full" (#61).
            self.assertEqual(error.text(),
                             'An error #70 occured:\r\nPermission denied\r\nMorlend\r\n'
                             'The join script is not on this disk.')
            self.assertEqual(list(error.buttons()), ['OK'])
            if close_error == 'click':
                error.answer_with_click(self.user, 'OK')
                self.user.park_pointer()
            else:
                error.answer_with_keys(self.user, 'space')

        one_more = self.message_box()
        self.assertEqual(one_more.text(), 'Please insert one more floppy.')
        self.floppy.swap(disks[2])
        one_more.answer_with_click(self.user, 'OK')
        morlend.wait_for(scripts.new, [])
        self.floppy.eject()
        self.assertEqual(morlend.progress(), '2/2')
        for disk in full:
            self.assertEqual(floppy.file_names(disk), ['fill.bin'], 'no partial script is left')
        self.assertEqual(floppy.file_names(disks[2]), ['clip.avi.bat'])
        self.assert_disks_join_back(disks, source, PIECE)
