"""A floppy whose writes reach the disk slowly, with the kernel's writeback in the way as
before a real drive: a piece lands in the page cache at once, and the run puts it on the disk
at 40 KiB a second, some fifteen seconds a piece here. Throughout that flush the window is
painted again when it comes back from the task bar, the accessibility bus answers within half
a second, the progress box fills as the piece goes onto the disk, and Escape stops the run
within half a second, leaving nothing on the disk. A cut left to run ends with its set on the
disk, which cmd joins back."""

import os
import time

from morlend_e2e import accessibility as a11y
from morlend_e2e import floppy, message_boxes, screen
from morlend_e2e.journey import Journey
from morlend_e2e.loop_disk import LoopDisk
from morlend_e2e.waiting import wait_until

RATE = 40 * 1024
SIZE = 600000
LONGEST_ANSWER = 0.5


class FloppySlowFlush(Journey):
    def setUp(self):
        super().setUp()
        self.disk = self.mounted(LoopDisk(self.processes, os.path.join(self.work, 'loop'), RATE))
        self.scripts = floppy.WaitingScripts('clip.avi')
        self.addCleanup(self.scripts.remove)

    def window_state(self, morlend):
        return self.session.run(['xprop', '-id', str(morlend.window_id), '_NET_WM_STATE',
                                 'WM_STATE'], text=True).stdout

    def test_the_window_lives_through_a_slow_flush(self):
        source = self.make_source('clip.avi', SIZE)
        morlend = self.start_morlend()
        self.drop(source)
        morlend.wait_for(morlend.estimate, 'files: 1, last file: 600,000 bytes')
        self.user.click_on(morlend.controls.floppy_option)
        self.user.park_pointer()
        window = morlend.extents(morlend.controls.window)
        before = screen.pixels(self.session, window)
        progress_rows = morlend.progress_rows()

        def painted_as(pixels):
            """The window shows pixels again, but for the progress row."""
            now = screen.pixels(self.session, window)
            return all(now[y] == pixels[y] for y in range(len(pixels)) if y not in progress_rows)

        piece = os.path.join(floppy.MOUNT_POINT, 'clip.avi.1')
        longest = 0.0
        # What the progress box shows, in pieces, as the bus reads it.
        filled = []

        def answered():
            """Reads the progress through the bus, timing the answer."""
            nonlocal longest
            start = time.monotonic()
            progress = morlend.progress()
            longest = max(longest, time.monotonic() - start)
            filled.append(a11y.value(morlend.controls.progress_box)[0])
            return progress

        self.user.key('Return')
        wait_until(lambda: os.path.exists(piece) and os.path.getsize(piece) > 0,
                   'the piece to be begun')
        self.session.run(['xdotool', 'windowminimize', '--sync', str(morlend.window_id)])
        wait_until(lambda: 'Iconic' in self.window_state(morlend), 'the window to be minimised')
        self.session.run(['xdotool', 'windowactivate', '--sync', str(morlend.window_id)])
        restored = time.monotonic()
        wait_until(lambda: painted_as(before), 'the restored window to be painted',
                   timeout=LONGEST_ANSWER)
        while time.monotonic() - restored < 2:
            self.assertEqual(answered(), '0/1', 'the piece is still being put on the disk')
        self.assertLessEqual(longest, LONGEST_ANSWER,
                             'the slowest answer of the accessibility bus during the flush')
        within = sorted(set(filled))
        self.assertGreater(len(within), 1, f'the progress moves within the piece: {within}')
        self.assertTrue(0 < within[-1] < 1, f'the progress stays within the piece: {within}')
        row = screen.pixels(self.session, a11y.extents(morlend.controls.progress_box))[2]
        self.assertNotEqual(row[2], row[-3], 'the box shows the part of the piece on the disk')

        pressed = time.monotonic()
        self.user.key('Escape')
        wait_until(lambda: morlend.x_windows(message_boxes.CAPTION), 'the run to stop')
        stopped = time.monotonic() - pressed
        print(f'slowest answer {longest:.3f} s; stopped {stopped:.3f} s after Escape')
        self.assertLessEqual(stopped, LONGEST_ANSWER, 'Escape stops the run')
        box = self.message_box()
        self.assertEqual(box.text(), 'Escape was pressed, so the cut stopped before its first '
                                     'piece. Nothing was written.')
        box.answer_with_keys(self.user, 'Return')
        self.assertEqual(os.listdir(floppy.MOUNT_POINT), [], 'the piece begun goes')
        self.assertEqual(self.scripts.new(), [], 'and so does the script')

        self.user.key('Return')
        morlend.wait_for(morlend.progress, '1/1', timeout=60)
        morlend.wait_for(self.scripts.new, [])
        self.assertEqual(sorted(os.listdir(floppy.MOUNT_POINT)), ['clip.avi.1', 'clip.avi.bat'])
        joined = os.path.join(self.work, 'joined')
        os.makedirs(joined)
        floppy.copy_off(floppy.MOUNT_POINT, joined)
        self.assert_joins_back(joined, source)
