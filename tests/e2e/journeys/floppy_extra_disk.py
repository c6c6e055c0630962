"""A file whose last piece leaves no room for the join script: the warning, one more disk
(not cleared) for the script alone, and the disks joined back by cmd. One more disk that holds
a file of the joined name in another case is refused, with clearing on as well."""

import os
import subprocess

from morlend_e2e import files, floppy
from morlend_e2e.journey import Journey

PIECE = floppy.FREE_BYTES[1440]


class FloppyExtraDisk(Journey):
    def test_script_goes_to_one_more_disk(self):
        scripts = floppy.WaitingScripts('clip.avi')
        self.addCleanup(scripts.remove)
        source = self.make_source('clip.avi', 2 * PIECE)
        disks = [floppy.make_image(os.path.join(self.work, f'disk{n}.img')) for n in (1, 2, 3)]
        kept = files.make_file(os.path.join(self.work, 'kept.txt'), 100, seed=5)
        subprocess.run(['mcopy', '-i', disks[2], kept, '::kept.txt'], check=True)
        morlend = self.start_morlend()
        self.drop(source)
        morlend.wait_for(morlend.estimate, 'files: 2, last file: 1,457,664 bytes')
        self.user.click_on(morlend.controls.floppy_option)
        self.user.park_pointer()

        self.floppy.insert(disks[0])
        self.user.key('Return')
        prompt = self.message_box()
        self.assertEqual(prompt.text(), 'File A:\\clip.avi.1 written successfully.\r\n'
                                        'Please insert floppy number 2.')
        self.floppy.swap(disks[1])
        prompt.answer_with_click(self.user, 'OK')

        warning = self.message_box()
        self.assertEqual(warning.text(), 'You probably will need one more FDD for clip.avi.bat')
        self.assertEqual(list(warning.buttons()), ['OK'])
        warning.answer_with_keys(self.user, 'Return')
        one_more = self.message_box()
        self.assertEqual(one_more.text(), 'Please insert one more floppy.')
        self.assertEqual(sorted(one_more.buttons()), ['Cancel', 'OK'])
        self.floppy.swap(disks[2])
        one_more.answer_with_keys(self.user, 'Return')

        morlend.wait_for(scripts.new, [])
        self.floppy.eject()
        self.assertEqual(morlend.progress(), '2/2')
        self.assertEqual(floppy.file_names(disks[0]), ['clip.avi.1'])
        self.assertEqual(floppy.file_names(disks[1]), ['clip.avi.2'])
        self.assertEqual(floppy.file_names(disks[2]), ['clip.avi.bat', 'kept.txt'])
        self.assert_disks_join_back(disks, source, PIECE, leave_out=['kept.txt'])

    def test_one_more_disk_with_the_joined_name_is_refused(self):
        scripts = floppy.WaitingScripts('fax.bin')
        self.addCleanup(scripts.remove)
        source = self.make_source('fax.bin', 3 * PIECE)
        disks = [floppy.make_image(os.path.join(self.work, f'disk{n}.img')) for n in (1, 2, 3, 5)]
        theirs = floppy.make_image(os.path.join(self.work, 'theirs.img'))
        fax = files.make_file(os.path.join(self.work, 'FAX.BIN'), 5000, seed=3)
        subprocess.run(['mcopy', '-i', theirs, fax, '::FAX.BIN'], check=True)
        morlend = self.start_morlend()
        self.drop(source)
        self.user.click_on(morlend.controls.floppy_option)
        self.user.park_pointer()
        morlend.wait_for(lambda: morlend.is_enabled(morlend.controls.clear_box), True)
        self.assertTrue(morlend.is_checked(morlend.controls.clear_box))

        self.floppy.insert(disks[0])
        self.user.key('Return')
        for piece in (1, 2):
            prompt = self.message_box()
            self.assertEqual(prompt.text(), f'File A:\\fax.bin.{piece} written successfully.\r\n'
                                            f'Please insert floppy number {piece + 1}.')
            self.floppy.swap(disks[piece])
            prompt.answer_with_keys(self.user, 'Return')
        self.message_box().answer_with_keys(self.user, 'Return')  # the warning
        one_more = self.message_box()
        self.assertEqual(one_more.text(), 'Please insert one more floppy.')
        self.floppy.swap(theirs)
        one_more.answer_with_keys(self.user, 'Return')
        refused = self.message_box()
        self.assertEqual(refused.text(), 'The disk in the drive holds a file named FAX.BIN, the '
                                         'name the pieces join back into: joining them beside it '
                                         'would add them to that file.')
        refused.answer_with_keys(self.user, 'Return')
        one_more = self.message_box()
        self.assertEqual(one_more.text(), 'Please insert one more floppy.')
        self.floppy.swap(disks[3])
        one_more.answer_with_keys(self.user, 'Return')

        morlend.wait_for(scripts.new, [])
        self.floppy.eject()
        self.assertEqual(morlend.progress(), '3/3')
        self.assertEqual(floppy.file_names(theirs), ['FAX.BIN'])
        self.assertEqual(floppy.read_file(theirs, 'FAX.BIN'), files.contents(fax))
        self.assertEqual(floppy.file_names(disks[3]), ['fax.bin.bat'])
        self.assert_disks_join_back(disks, source, PIECE)
