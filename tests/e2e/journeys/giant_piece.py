"""A piece of 2 147 483 647 bytes, the largest there is, cut from a sparse source of 2.2 GB onto
a disk slow enough that the piece takes minutes: the program's memory stays flat, a screen
reader (a process of its own) is answered within half a second at any moment of the run, the
progress box fills as the piece is copied, a window minimised and restored in the middle of
the piece is painted again, and Escape stops the run there at once, leaving nothing behind."""

import os
import shutil

from morlend_e2e import accessibility as a11y
from morlend_e2e import screen
from morlend_e2e.journey import Journey
from morlend_e2e.outside_reader import OutsideReader
from morlend_e2e.processes import peak_memory
from morlend_e2e.slow_disk import SlowDisk
from morlend_e2e.waiting import wait_until

SOURCE_SIZE = 2_200_000_000
PIECE = 2_147_483_647
# Bytes a second onto the disk, more than the disk's server can take: the piece takes minutes.
RATE = 1 << 30
# How much of the piece is copied before Escape: some seconds of the run.
COPIED_BEFORE_ESCAPE = 256 << 20
MEMORY_ALLOWANCE = 96 << 20
LONGEST_ANSWER = 0.5


class GiantPiece(Journey):
    def setUp(self):
        super().setUp()
        self.disk = SlowDisk(self.processes, os.path.join(self.work, 'disk'),
                             os.path.join(self.work, 'slow'), RATE)
        # The 2 GB go once the disk is unmounted.
        self.addCleanup(shutil.rmtree, self.disk.backing, ignore_errors=True)
        self.mounted(self.disk)

    def window_state(self, morlend):
        return self.session.run(['xprop', '-id', str(morlend.window_id), '_NET_WM_STATE',
                                 'WM_STATE'], text=True).stdout

    def test_a_giant_piece_keeps_memory_flat_and_the_window_alive(self):
        source = os.path.join(self.work, 'huge.img')
        with open(source, 'wb') as file:
            file.truncate(SOURCE_SIZE)
        folder = os.path.join(self.disk.mount_point, 'huge_cut')
        morlend = self.start_morlend()
        self.drop(source)
        self.user.select_all_and_type(morlend.controls.size_text, str(PIECE))
        morlend.wait_for(morlend.estimate, 'files: 2, last file: 52,516,353 bytes')
        self.user.select_all_and_type(morlend.controls.folder_box, folder)
        morlend.wait_for(morlend.folder, folder)
        self.user.park_pointer()
        window = a11y.extents(morlend.controls.window)
        before = screen.pixels(self.session, window)
        idle = peak_memory(morlend.process.pid)

        reader = OutsideReader(self.processes, morlend.process.pid)
        self.user.key('Return')
        wait_until(lambda: os.path.exists(os.path.join(folder, 'huge.img.1')),
                   'the first piece to be begun')
        # In the middle of the piece: the window goes to the task bar and comes back.
        self.session.run(['xdotool', 'windowminimize', '--sync', str(morlend.window_id)])
        wait_until(lambda: 'Iconic' in self.window_state(morlend), 'the window to be minimised')
        self.session.run(['xdotool', 'windowactivate', '--sync', str(morlend.window_id)])
        wait_until(lambda: morlend.looks_as_before(screen.pixels(self.session, window), before),
                   'the restored window to be painted')
        self.assertEqual(morlend.progress(), '0/2',
                         'painted again in the middle of the first piece')
        screen.screenshot(self.session, os.path.join(self.work, 'restored.png'))

        piece = os.path.join(self.disk.backing, 'huge_cut', 'huge.img.1')
        wait_until(lambda: os.path.getsize(piece) > COPIED_BEFORE_ESCAPE,
                   'the run to copy a good part of the piece', timeout=120)
        longest, reads, readings = reader.stop()
        self.assertEqual(morlend.progress(), '0/2')
        self.assertLessEqual(longest, LONGEST_ANSWER,
                             f'the slowest answer of {reads} to the outside reader')
        within = [value for caption, value in readings if caption == '0/2' and value > 0]
        self.assertTrue(within, f'the progress moves within the first piece: {readings}')
        self.assertLess(max(within), 1)
        filled = screen.pixels(self.session, a11y.extents(morlend.controls.progress_box))[2]
        self.assertNotEqual(filled[2], filled[-3], 'the box shows the part copied')
        screen.screenshot(self.session, os.path.join(self.work, 'within.png'))
        growth = peak_memory(morlend.process.pid) - idle
        self.assertLessEqual(growth, MEMORY_ALLOWANCE,
                             f'the run added {growth / (1 << 20):.1f} MiB to the program')
        print(f'slowest of {reads} answers {longest:.3f} s; memory added '
              f'{growth / (1 << 20):.1f} MiB; the progress within the piece {within}')

        self.escape_before_the_first_piece(folder)
