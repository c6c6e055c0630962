"""A file cut from the floppy itself: into a folder on it, which is never cleared, and not
onto the floppy's root while clearing is on, which would remove the file first."""

import os
import subprocess

from morlend_e2e import files, floppy
from morlend_e2e.journey import Journey


def folder_not_cleared(folder):
    return (f'The floppy will not be cleared: the pieces go into the folder {folder} on it, '
            'and clearing would remove them.')


SOURCE_ON_CLEARED_DISK = ('The file to cut is on the floppy, which would be cleared before its '
                          'first piece is written.\r\nUntick "Clear disk before copying" or '
                          'move the file to another disk, and cut again.')


class FloppySourceOnDisk(Journey):
    def test_cut_from_the_floppy(self):
        source = self.make_source('clip.avi', 100000)
        disk = floppy.make_image(os.path.join(self.work, 'disk.img'))
        subprocess.run(['mcopy', '-i', disk, source, '::clip.avi'], check=True)
        self.floppy.insert(disk)
        morlend = self.start_morlend()
        self.drop(os.path.join(floppy.MOUNT_POINT, 'clip.avi'))
        morlend.wait_for(morlend.file_text, '/media/floppy0/clip.avi * 100,000 bytes')
        self.assertEqual(morlend.folder(), '/media/floppy0/clip_cut')
        self.assertTrue(morlend.is_enabled(morlend.controls.clear_box))
        # A folder on the floppy is never cleared, so the file is safe there.
        self.assertEqual(morlend.estimate(), 'files: 1, last file: 100,000 bytes')
        self.user.select_all_and_type(morlend.controls.size_text, '40000')
        self.user.park_pointer()
        morlend.wait_for(morlend.estimate, 'files: 3, last file: 20,000 bytes')

        self.user.key('Return')
        notice = self.message_box()
        self.assertEqual(notice.text(), folder_not_cleared('/media/floppy0/clip_cut'))
        notice.answer_with_click(self.user, 'OK')
        self.user.park_pointer()
        morlend.wait_for(morlend.progress, '3/3')

        self.user.click_on(morlend.controls.floppy_option)
        self.user.park_pointer()
        morlend.wait_for(morlend.estimate, '{file is on disk being cleared}')
        for close in ('key', 'click'):
            self.user.key('Return')
            refusal = self.message_box()
            self.assertEqual(refusal.text(), SOURCE_ON_CLEARED_DISK)
            if close == 'key':
                refusal.answer_with_keys(self.user, 'Return')
            else:
                refusal.answer_with_click(self.user, 'OK')
                self.user.park_pointer()
            morlend.wait_for(morlend.progress, '0/3')

        # Another folder: fusefat fails to write a file it has just emptied, which a cut over
        # the pieces already there would ask of it.
        self.user.click_on(morlend.controls.folder_option)
        self.user.select_all_and_type(morlend.controls.folder_box, '/media/floppy0/again')
        self.user.park_pointer()
        self.user.key('Return')
        notice = self.message_box()
        self.assertEqual(notice.text(), folder_not_cleared('/media/floppy0/again'))
        notice.answer_with_keys(self.user, 'Return')
        morlend.wait_for(morlend.progress, '3/3')

        self.floppy.eject()
        self.assertEqual(floppy.file_names(disk), ['again', 'clip.avi', 'clip_cut'])
        self.assertEqual(floppy.file_names(disk, 'again'), floppy.file_names(disk, 'clip_cut'))
        self.assertEqual(floppy.read_file(disk, 'clip.avi'), files.contents(source))
        joined = os.path.join(self.work, 'joined')
        os.makedirs(joined)
        floppy.copy_off(disk, joined, 'clip_cut')
        self.assert_pieces(joined, source, 40000)
        self.assert_joins_back(joined, source)
