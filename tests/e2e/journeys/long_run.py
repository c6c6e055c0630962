"""A cut onto a slow disk that lasts several seconds, and the window alive through it: another
window covers it and goes, and it is painted again with the progress as it stands while the
run goes on; the window manager's close button stops the run after the piece it writes, the
program says so and ends, and the pieces so far are whole and join back as far as the
script goes. Escape stops the run as well and the window stays; a stop signal (a session that
ends) stops it without a message, and the program ends as the signal ends it. Enter pressed again
during the run cuts nothing again."""

import os
import re
import signal
import subprocess

from morlend_e2e import accessibility as a11y
from morlend_e2e import files, message_boxes, screen, wine
from morlend_e2e.journey import Journey
from morlend_e2e.slow_disk import SlowDisk
from morlend_e2e.waiting import wait_until

PIECE = 131072
PIECES = 48
# Bytes a second onto the disk: the run lasts some six seconds.
RATE = 1 << 20


class LongRun(Journey):
    def setUp(self):
        super().setUp()
        self.disk = self.mounted(SlowDisk(self.processes, os.path.join(self.work, 'disk'),
                                          os.path.join(self.work, 'slow'), RATE))

    def start_cut(self):
        source = self.make_source('clip.avi', PIECES * PIECE)
        folder = os.path.join(self.disk.mount_point, 'clip_cut')
        morlend = self.start_morlend()
        self.drop(source)
        self.user.select_all_and_type(morlend.controls.size_text, str(PIECE))
        morlend.wait_for(morlend.estimate, f'files: {PIECES}, last file: 131,072 bytes')
        self.user.select_all_and_type(morlend.controls.folder_box, folder)
        morlend.wait_for(morlend.folder, folder)
        self.user.park_pointer()
        self.user.key('Return')
        return morlend, source, folder

    def written(self):
        """The pieces the progress counts, read while the run goes on."""
        return int(self.morlend.progress().split('/')[0])

    def cover(self, area):
        """A window over the area, above every other, as a notice that pops up."""
        return self.processes.start(
            'cover', ['xmessage', '-xrm', '*overrideRedirect: true', '-geometry',
                      f'{area.width}x{area.height}+{area.x}+{area.y}', 'Something else'],
            env=self.session.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    @staticmethod
    def filled_width(bar_pixels):
        """How far the progress bar is filled, in pixels inside its two-pixel border; the run
        fills the interior's top row."""
        row = bar_pixels[2][2:-2]
        return next((x for x, colour in enumerate(row) if colour != row[0]), len(row))

    def test_a_covered_window_is_painted_again_during_the_run(self):
        morlend, _, _ = self.start_cut()
        wait_until(lambda: self.written() >= 2, 'the run to write its first pieces')
        window = a11y.extents(morlend.controls.window)
        bar = a11y.extents(morlend.controls.progress_box)
        before = screen.pixels(self.session, window)
        screen.screenshot(self.session, os.path.join(self.work, '1-before.png'))

        def looks_as_before(now):
            """Everything but the progress row, which moves on, is as before the cover."""
            return morlend.looks_as_before(now, before)

        cover = self.cover(window)
        wait_until(lambda: not looks_as_before(screen.pixels(self.session, window)),
                   'the other window over the program')
        screen.screenshot(self.session, os.path.join(self.work, '2-covered.png'))
        self.processes.stop(cover)

        def repainted():
            now = screen.pixels(self.session, window)
            return now if looks_as_before(now) else None

        low = self.written()
        after = wait_until(repainted, 'the program\'s window painted again')
        high = self.written()
        screen.screenshot(self.session, os.path.join(self.work, '3-uncovered.png'))
        self.assertLess(high, PIECES, 'the run still goes on')
        # The bar shows the progress of the moment, as the caption counts it.
        left, top = bar.x - window.x, bar.y - window.y
        shown = self.filled_width([row[left:left + bar.width]
                                   for row in after[top:top + bar.height]])
        inner = bar.width - 4
        self.assertGreaterEqual(shown, inner * low // PIECES - 1)
        self.assertLessEqual(shown, -(-inner * high // PIECES) + 1)
        morlend.wait_for(morlend.progress, f'{PIECES}/{PIECES}', timeout=60)

    def test_closing_the_window_stops_the_run(self):
        morlend, source, folder = self.start_cut()
        wait_until(lambda: self.written() >= 3, 'the run to write its first pieces')
        window = a11y.extents(morlend.controls.window)
        # The window manager's close button, at the right end of the title bar.
        self.user.click((window.x + window.width - 10, morlend.title_bar()[1]))
        box = self.message_box()
        stopped_after = self.stopped_after(box, 'The window is being closed')
        self.assertEqual(morlend.progress(), f'0/{PIECES}', 'reset, as after a cancel')
        box.answer_with_keys(self.user, 'Return')
        self.assertEqual(morlend.wait_until_ended(), 0, 'the program ends of itself')
        self.assert_stopped_set(source, folder, stopped_after)

    def test_escape_stops_the_run_and_the_window_stays(self):
        morlend, source, folder = self.start_cut()
        wait_until(lambda: self.written() >= 3, 'the run to write its first pieces')
        self.user.key('Escape')
        box = self.message_box()
        stopped_after = self.stopped_after(box, 'Escape was pressed')
        box.answer_with_keys(self.user, 'Return')
        self.assertEqual(morlend.progress(), f'0/{PIECES}', 'reset, as after a cancel')
        self.assertFalse(morlend.has_ended(), 'Escape stops the run, not the program')
        self.assert_nothing_more_happens(morlend)
        self.assert_stopped_set(source, folder, stopped_after)

    def test_enter_pressed_again_during_a_run_cuts_once(self):
        morlend, source, folder = self.start_cut()
        wait_until(lambda: self.written() >= 2, 'the run to write its first pieces')
        self.user.key('Return')
        morlend.wait_for(morlend.progress, f'{PIECES}/{PIECES}', timeout=60)
        self.assert_nothing_more_happens(morlend)
        self.assert_pieces(folder, source, PIECE)

    def assert_nothing_more_happens(self, morlend):
        """No second run and no end of the program follow from what was pressed during the
        run: F1 now brings the About box, which no other box would let through."""
        self.user.key('F1')
        about = self.message_box(message_boxes.ABOUT_CAPTION)
        about.answer_with_keys(self.user, 'Return')
        self.assertFalse(morlend.x_windows('^Morlend$'), 'no other box is open')
        self.assertFalse(morlend.has_ended())

    def test_a_stop_signal_stops_the_run_and_ends_the_program(self):
        morlend, source, folder = self.start_cut()
        wait_until(lambda: self.written() >= 3, 'the run to write its first pieces')
        morlend.process.send_signal(signal.SIGTERM)
        self.assertEqual(morlend.wait_until_ended(), -signal.SIGTERM,
                         'the program ends as the signal ends it')
        stopped = re.search(
            f'^Morlend: Morlend was sent SIGTERM, so the cut stopped after piece ([0-9]+) of '
            f'{PIECES}. The pieces written so far and the join script as far as it goes are kept; '
            'they do not rebuild the whole file.$', morlend.log(), re.MULTILINE)
        self.assertTrue(stopped, morlend.log())
        self.assert_stopped_set(source, folder, int(stopped[1]))

    def stopped_after(self, box, reason):
        """The piece after which the box says the cut stopped, for the reason given."""
        stopped = re.fullmatch(
            f'{reason}, so the cut stopped after piece ([0-9]+) of {PIECES}.\r\n'
            'The pieces written so far and the join script as far as it goes are kept; they do '
            'not rebuild the whole file.', box.text())
        self.assertTrue(stopped, box.text())
        return int(stopped[1])

    def assert_stopped_set(self, source, folder, stopped_after):
        """The pieces up to the one the run stopped after are whole, the one it was copying is
        gone, and cmd joins them all."""
        self.assertGreaterEqual(stopped_after, 3)
        self.assertLess(stopped_after, PIECES)
        data = files.contents(source)
        names = [f'clip.avi.{i}' for i in range(1, stopped_after + 1)]
        self.assertEqual(files.listing(folder), sorted(names + ['clip.avi.bat']))
        for index, name in enumerate(names):
            self.assertEqual(files.contents(os.path.join(folder, name)),
                             data[index * PIECE:(index + 1) * PIECE], name)
        # The script joins every piece written: the run stopped in the middle of the next one.
        joined = os.path.join(self.work, 'joined')
        os.makedirs(joined)
        for name in names + ['clip.avi.bat']:
            os.link(os.path.join(self.disk.backing, 'clip_cut', name), os.path.join(joined, name))
        wine.join(self.processes, joined, 'clip.avi.bat', self.morlend.locale)
        self.assertEqual(files.listing(joined), ['clip.avi', 'clip.avi.bat'])
        self.assertEqual(files.contents(os.path.join(joined, 'clip.avi')),
                         data[:stopped_after * PIECE])
