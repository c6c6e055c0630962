"""The window stays alive onto a disk of any speed, and asks for attention when a run ends while
the user is in another window.

A disk that takes a second for the 32 KiB the program used to write in one call: a screen
reader (a process of its own) is still answered within half a second throughout, and Escape
stops the run at once. A run that ends while another window has the focus marks the program's
window as asking for attention, the desktop's way, and leaves the focus where it is."""

import os
import subprocess

from morlend_e2e.journey import Journey
from morlend_e2e.outside_reader import OutsideReader
from morlend_e2e.slow_disk import SlowDisk
from morlend_e2e.waiting import wait_until

# Bytes a second: 32 KiB take two thirds of a second.
SLOW = 48 * 1024
LONGEST_ANSWER = 0.5
# Bytes a second for a run of a few seconds.
STEADY = 256 * 1024
ATTENTION = '_NET_WM_STATE_DEMANDS_ATTENTION'
URGENCY_HINT = 1 << 8


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

    def window_state(self, window_id):
        return self.session.run(['xprop', '-id', str(window_id), '_NET_WM_STATE'],
                                text=True).stdout

    def is_urgent(self, window_id):
        """Whether the window's WM_HINTS carry the urgency hint (ICCCM)."""
        flags = self.session.run(['xprop', '-id', str(window_id), '-notype', '-f', 'WM_HINTS',
                                  '32c', '=$0', 'WM_HINTS'], text=True).stdout
        return bool(int(flags.split('=')[1]) & URGENCY_HINT)

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

        self.escape_before_the_first_piece(written)

    def test_a_run_that_ends_in_the_background_asks_for_attention(self):
        disk = self.slow_disk(STEADY)
        morlend, source, written = self.start_cut(disk, 3 * STEADY, '1 000 000')
        self.user.key('Return')
        wait_until(lambda: os.path.exists(os.path.join(written, 'clip.avi.1')),
                   'the run to begin')
        other = self.processes.start(
            'other window', ['xmessage', '-name', 'other', 'Another program'],
            env=self.session.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        other_id = wait_until(lambda: subprocess.run(
            ['xdotool', 'search', '--onlyvisible', '--classname', '^other$'],
            env=self.session.env, capture_output=True, text=True).stdout.split(),
            'the other window')[0]
        self.session.run(['xdotool', 'windowactivate', '--sync', other_id])
        self.assertNotIn(ATTENTION, self.window_state(morlend.window_id),
                         'the run still goes on')

        morlend.wait_for(morlend.progress, '1/1', timeout=30)
        # Qt's state for the desktops that read it, and the urgency hint that every window
        # manager reads (and Openbox turns into that state).
        wait_until(lambda: ATTENTION in self.window_state(morlend.window_id),
                   'the window to ask for attention')
        self.assertTrue(self.is_urgent(morlend.window_id))
        self.assertEqual(morlend.active_window(), int(other_id), 'the focus stays where it is')
        self.assert_pieces(written, source, 1000000)

        morlend.activate(self.user)
        wait_until(lambda: not self.is_urgent(morlend.window_id)
                   and ATTENTION not in self.window_state(morlend.window_id),
                   'the attention to be given')
        self.processes.stop(other)
