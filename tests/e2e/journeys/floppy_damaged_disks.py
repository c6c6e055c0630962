"""Disks that do not keep what is written on them: one that stores a byte of a piece otherwise,
which only reading the piece back from the disk shows, and one taken out of the drive as the
join script is copied onto it. The run says that the disk is damaged, or what the disk holds
instead of the script, and takes another disk; no disk holds a bad piece or a script cut
inside a line, and the disks copied off join back by cmd byte for byte."""

import os

from morlend_e2e import floppy
from morlend_e2e.journey import Journey

SIZE = 25000
PIECE = 10000


def written(piece):
    return (f'File A:\\clip.avi.{piece} written successfully.\r\n'
            f'Please insert floppy number {piece + 1}.')


class FloppyDamagedDisks(Journey):
    def setUp(self):
        super().setUp()
        self.scripts = floppy.WaitingScripts('clip.avi')
        self.addCleanup(self.scripts.remove)

    def start_cut(self):
        source = self.make_source('clip.avi', SIZE)
        morlend = self.start_morlend()
        self.drop(source)
        self.user.select_all_and_type(morlend.controls.size_text, str(PIECE))
        self.user.click_on(morlend.controls.floppy_option)
        self.user.park_pointer()
        return morlend, source

    def disk(self, name):
        return floppy.make_image(os.path.join(self.work, f'{name}.img'))

    def answer(self, text, then=None):
        box = self.message_box()
        self.assertEqual(box.text(), text)
        if then:
            then()
        box.answer_with_keys(self.user, 'Return')

    def test_a_disk_that_stores_a_wrong_byte(self):
        morlend, source = self.start_cut()
        disks = [self.disk(f'disk{n}') for n in (1, 2, 3)]
        worn = os.path.join(self.work, 'worn')
        self.floppy.insert(disks[0])
        self.user.key('Return')
        self.answer(written(1), lambda: self.floppy.swap_to_faulty(worn, 'flip', 'clip.avi.2',
                                                                   PIECE // 2))
        self.answer('The disk in the drive is damaged: A:\\clip.avi.2, read back from it, '
                    'differs from what was written. The cut writes piece 2 anew onto the next '
                    'disk.\r\nPlease insert floppy number 2.',
                    lambda: self.floppy.swap(disks[1]))
        self.assertEqual(os.listdir(worn), [], 'the bad copy is removed')
        self.answer(written(2), lambda: self.floppy.swap(disks[2]))
        morlend.wait_for(self.scripts.new, [])
        self.assertEqual(morlend.progress(), '3/3')
        self.floppy.eject()
        self.assert_disks_join_back(disks, source, PIECE)

    def test_a_disk_taken_out_as_the_script_is_copied(self):
        morlend, source = self.start_cut()
        disks = [self.disk(f'disk{n}') for n in (1, 2, 4)]
        pulled = os.path.join(self.work, 'pulled')
        self.floppy.insert(disks[0])
        self.user.key('Return')
        self.answer(written(1), lambda: self.floppy.swap(disks[1]))
        # The disk takes the last piece, and is gone once a script is partly on it, whatever
        # its name: nothing on it can be taken away again.
        self.answer(written(2), lambda: self.floppy.swap_to_faulty(
            pulled, 'pull', r'clip\.avi\.bat|~join~clip\.avi.*\.tmp', 50))
        self.answer('An error #75 occured:\r\nPath/File access error\r\nMorlend\r\n'
                    'The join script is not on the disk with A:\\clip.avi.3. '
                    'A:\\~join~clip.avi.tmp on it is an incomplete copy of the script: '
                    'delete it.')
        self.answer('Please insert one more floppy.', lambda: self.floppy.swap(disks[2]))
        morlend.wait_for(self.scripts.new, [])
        self.assertEqual(morlend.progress(), '3/3')
        self.floppy.eject()
        self.assertEqual(floppy.file_names(pulled), ['clip.avi.3', '~join~clip.avi.tmp'],
                         'no clip.avi.bat, whole or cut short, on the disk taken out')
        self.assert_disks_join_back([disks[0], disks[1], pulled, disks[2]], source, PIECE,
                                    leave_out=['~join~clip.avi.tmp'])
