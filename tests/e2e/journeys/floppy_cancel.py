"""Cancel at the floppy prompts: what was written stays, the script waits in the temporary
folder when it joins anything, and the run says so; the progress shows the pieces on disks."""

import os

from morlend_e2e import files, floppy
from morlend_e2e.journey import Journey

PIECE = floppy.FREE_BYTES[1440]


class FloppyCancel(Journey):
    def setUp(self):
        super().setUp()
        self.scripts = floppy.WaitingScripts('clip.avi')
        self.addCleanup(self.scripts.remove)
        self.disks = [floppy.make_image(os.path.join(self.work, f'disk{n}.img')) for n in (1, 2)]

    def start_floppy_run(self, size):
        source = self.make_source('clip.avi', size)
        morlend = self.start_morlend()
        self.drop(source)
        self.user.click_on(morlend.controls.floppy_option)
        self.user.park_pointer()
        self.floppy.insert(self.disks[0])
        self.user.key('Return')
        return morlend, source

    def test_cancel_at_the_next_disk(self):
        morlend, source = self.start_floppy_run(3500000)
        prompt = self.message_box()
        self.assertIn('Please insert floppy number 2.', prompt.text())
        prompt.answer_with_keys(self.user, 'Escape')

        # The lines for the piece before the cancel are not written, so the script joins
        # nothing: it goes, and the message names none.
        told = self.message_box()
        self.assertEqual(told.text(), 'The cut was cancelled after piece 1 of 3. The pieces on '
                                      'the disks do not rebuild the file; cut it again.')
        told.answer_with_keys(self.user, 'Return')
        morlend.wait_for(morlend.progress, '1/3')
        self.floppy.eject()
        self.assertEqual(floppy.file_names(self.disks[0]), ['clip.avi.1'])
        self.assertEqual(floppy.read_file(self.disks[0], 'clip.avi.1'),
                         files.contents(source)[:PIECE])
        self.assertEqual(self.scripts.new(), [])

    def test_cancel_at_one_more_disk(self):
        morlend, _ = self.start_floppy_run(2 * PIECE)
        prompt = self.message_box()
        self.floppy.swap(self.disks[1])
        prompt.answer_with_click(self.user, 'OK')
        self.message_box().answer_with_click(self.user, 'OK')  # the warning
        one_more = self.message_box()
        self.assertEqual(one_more.text(), 'Please insert one more floppy.')
        one_more.answer_with_click(self.user, 'Cancel')

        told = self.message_box()
        self.assertEqual(told.text(), 'All 2 pieces are on their disks, but the join script is '
                                      f'not: it is the file {self.scripts.only()}, and the disks '
                                      'cannot be joined without it. Copy it onto a disk as '
                                      'clip.avi.bat.')
        told.answer_with_keys(self.user, 'Return')
        morlend.wait_for(morlend.progress, '2/2')
        self.floppy.eject()
        self.assertEqual(floppy.file_names(self.disks[0]), ['clip.avi.1'])
        self.assertEqual(floppy.file_names(self.disks[1]), ['clip.avi.2'])
        self.assertTrue(files.contents(self.scripts.only()).endswith(b'del "clip.avi.bat"'))
