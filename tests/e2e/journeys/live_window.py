"""The window stays alive onto a disk of any speed.

A disk that takes two thirds of a second for the 32 KiB the program used to write in one call:
a screen reader (a process of its own) is still answered within half a second throughout, and
Escape stops the run at once."""

import os

from morlend_e2e.journey import Journey
from morlend_e2e.outside_reader import OutsideReader
from morlend_e2e.slow_disk import SlowDisk
from morlend_e2e.waiting import wait_until

# Bytes a second: 32 KiB take two thirds of a second.
SLOW = 48 * 1024
LONGEST_ANSWER = 0.5


class LiveWindow(Journey):
    def slow_disk(self, rate):
        disk = SlowDisk(self.processes, os.path.join(self.work, 'disk'),
                        os.path.join(self.work, 'slow'), rate)
        return self.mounted(disk)

    def start_cut(self, disk, size, piece):
        source = self.make_source('clip.avi', size)
        folder = os.path.join(disk.mount_point, 'clip_cut')
        morlend = self.start_morlend()
        self.drop(source)
        self.user.select_all_and_type(morlend.controls.size_text, piece)
        self.user.select_all_and_type(morlend.controls.folder_box, folder)
        morlend.wait_for(morlend.folder, folder)
        self.user.park_pointer()
        return morlend, source, os.path.join(disk.backing, 'clip_cut')

    def test_a_screen_reader_is_answered_while_each_write_takes_long(self):
        disk = self.slow_disk(SLOW)
        morlend, _, written = self.start_cut(disk, 4 << 20, '4M')
        reader = OutsideReader(self.processes, morlend.process.pid)
        self.user.key('Return')
        piece = os.path.join(written, 'clip.avi.1')
        wait_until(lambda: os.path.exists(piece) and os.path.getsize(piece) > 4 * SLOW,
                   'four seconds of the piece to be written', timeout=60)
        longest, reads, _ = reader.stop()
        print(f'slowest of {reads} answers {longest:.3f} s')
        self.assertLessEqual(longest, LONGEST_ANSWER,
                             f'the slowest answer of {reads} to the outside reader')

        self.user.key('Escape')
        box = self.message_box()
        self.assertEqual(box.text(), 'Escape was pressed, so the cut stopped before its first '
                                     'piece. Nothing was written.')
        box.answer_with_keys(self.user, 'Return')
        self.assertFalse(os.path.exists(written), 'the piece and the folder made for it go')
