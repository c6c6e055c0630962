"""What a user may do while a floppy prompt waits, with "Clear disk before copying" on: answer
it without changing the disk, which is then not cleared but asked for again; change the file
being cut, which stops the run with a message and removes nothing; or close the window, which
ends the run once the prompt is answered and then closes the window."""

import os

from morlend_e2e import files, floppy
from morlend_e2e.journey import Journey

SOURCE_SIZE = 25000
PIECE_SIZE = 10000
# The script as far as a run stopped before its second piece wrote it.
SCRIPT_AFTER_ONE_PIECE = b'@echo off\r\nren "clip.avi.1" "clip.avi"\r\n'


def script_left(script):
    return (f'\r\nThe join script, as far as it goes, is the file {script}: the disks cannot be '
            'joined without it.')


def next_disk(piece, disk):
    return f'File A:\\clip.avi.{piece} written successfully.\r\nPlease insert floppy number {disk}.'


def same_disk(piece, disk):
    return (f'The disk in the drive is still the one with A:\\clip.avi.{piece}.\r\n'
            f'Please insert floppy number {disk}.')


def appended(path):
    with open(path, 'ab') as file:
        file.write(b'more')


def changed_in_place(path):
    with open(path, 'r+b') as file:
        file.seek(PIECE_SIZE + 10)
        file.write(b'X')


class FloppyWhileAPromptWaits(Journey):
    def setUp(self):
        super().setUp()
        self.scripts = floppy.WaitingScripts('clip.avi')
        self.addCleanup(self.scripts.remove)
        self.cases = 0

    def start_floppy_run(self, morlend=None):
        """Drops a new source, inserts a new first disk and presses Enter; returns the
        source, the disks made for the run and the prompt after the first piece."""
        self.cases += 1
        folder = os.path.join(self.work, f'case{self.cases}')
        os.makedirs(folder)
        source = self.make_source('clip.avi', SOURCE_SIZE, seed=self.cases, folder=folder)
        disks = [floppy.make_image(os.path.join(folder, f'disk{n}.img')) for n in (1, 2, 3)]
        if morlend is None:
            morlend = self.start_morlend()
            self.user.select_all_and_type(morlend.controls.size_text, str(PIECE_SIZE))
            self.user.click_on(morlend.controls.floppy_option)
            self.user.park_pointer()
            morlend.wait_for(lambda: morlend.is_enabled(morlend.controls.clear_box), True)
            self.assertTrue(morlend.is_checked(morlend.controls.clear_box))
        self.drop(source)
        morlend.wait_for(morlend.file_text, f'{source} * {SOURCE_SIZE:,} bytes')
        self.floppy.insert(disks[0])
        self.user.key('Return')
        prompt = self.message_box()
        self.assertEqual(prompt.text(), next_disk(1, 2))
        return source, disks, prompt

    def assert_first_piece_in_the_drive(self, source):
        self.assertEqual(os.listdir(floppy.MOUNT_POINT), ['clip.avi.1'], 'nothing is cleared')
        self.assertEqual(files.contents(os.path.join(floppy.MOUNT_POINT, 'clip.avi.1')),
                         files.contents(source)[:PIECE_SIZE])

    def test_the_same_disk_is_asked_for_again(self):
        source, disks, prompt = self.start_floppy_run()
        prompt.answer_with_keys(self.user, 'Return')
        for answer in ('key', 'click'):
            again = self.message_box()
            self.assertEqual(again.text(), same_disk(1, 2))
            self.assertEqual(sorted(again.buttons()), ['Cancel', 'OK'])
            self.assert_first_piece_in_the_drive(source)
            if answer == 'key':
                again.answer_with_keys(self.user, 'Return')
            else:
                again.answer_with_click(self.user, 'OK')
                self.user.park_pointer()

        again = self.message_box()
        self.assertEqual(again.text(), same_disk(1, 2))
        self.floppy.swap(disks[1])
        again.answer_with_keys(self.user, 'Return')
        prompt = self.message_box()
        self.assertEqual(prompt.text(), next_disk(2, 3))
        self.floppy.swap(disks[2])
        prompt.answer_with_keys(self.user, 'Return')

        self.morlend.wait_for(self.scripts.new, [])
        self.floppy.eject()
        self.assertEqual(self.morlend.progress(), '3/3')
        self.assertEqual(floppy.file_names(disks[0]), ['clip.avi.1'])
        self.assertEqual(floppy.file_names(disks[1]), ['clip.avi.2'])
        self.assertEqual(floppy.file_names(disks[2]), ['clip.avi.3', 'clip.avi.bat'])
        self.assert_disks_join_back(disks, source, PIECE_SIZE)

    def test_cancel_when_asked_for_the_same_disk_again(self):
        source, disks, prompt = self.start_floppy_run()
        prompt.answer_with_keys(self.user, 'Return')
        again = self.message_box()
        self.assertEqual(again.text(), same_disk(1, 2))
        again.answer_with_click(self.user, 'Cancel')
        self.user.park_pointer()

        told = self.message_box()
        self.assertEqual(told.text(), 'The cut was cancelled after piece 1 of 3. The pieces on '
                                      'the disks do not rebuild the file; cut it again.'
                         + script_left(self.scripts.only()))
        told.answer_with_keys(self.user, 'Return')
        self.morlend.wait_for(self.morlend.progress, '1/3')
        self.assert_first_piece_in_the_drive(source)
        self.floppy.eject()
        self.assertEqual(files.contents(self.scripts.only()), SCRIPT_AFTER_ONE_PIECE)

    def test_a_source_changed_while_a_prompt_waits(self):
        morlend = None
        for change in (appended, changed_in_place):
            with self.subTest(change.__name__):
                source, disks, prompt = self.start_floppy_run(morlend)
                morlend = self.morlend
                first_piece = files.contents(source)[:PIECE_SIZE]
                change(source)
                self.floppy.swap(disks[1])
                prompt.answer_with_keys(self.user, 'Return')
                stop = self.message_box()
                self.assertEqual(stop.text(),
                                 f'The file {source} changed while it was cut, so the pieces do '
                                 'not rebuild it. Nothing was removed.\r\n'
                                 'Cut the file again when nothing changes it.')
                stop.answer_with_keys(self.user, 'Return')
                morlend.wait_for(morlend.progress, '1/3')
                self.floppy.eject()
                self.assertEqual(floppy.file_names(disks[1]), [], 'nothing is written after')
                self.assertEqual(floppy.file_names(disks[0]), ['clip.avi.1'])
                self.assertEqual(floppy.read_file(disks[0], 'clip.avi.1'), first_piece)
                self.assertEqual(files.contents(self.scripts.only()), SCRIPT_AFTER_ONE_PIECE)
                self.scripts.remove()

    def test_closing_the_window_while_a_prompt_waits(self):
        source, disks, prompt = self.start_floppy_run()
        window = self.morlend.extents(self.morlend.controls.window)
        # The window manager's close button, at the right end of the title bar.
        self.user.click((window.x + window.width - 10, self.morlend.title_bar()[1]))
        self.assertFalse(self.morlend.has_ended(), 'the prompt still waits')
        self.floppy.swap(disks[1])
        prompt.answer_with_keys(self.user, 'Return')
        stopped = self.message_box()
        self.assertEqual(stopped.text(),
                         'The window is being closed, so the cut stopped after piece 1 of 3.\r\n'
                         'The pieces written so far and the join script as far as it goes are '
                         'kept; they do not rebuild the whole file.'
                         + script_left(self.scripts.only()))
        stopped.answer_with_keys(self.user, 'Return')
        self.assertEqual(self.morlend.wait_until_ended(), 0, 'the window closes')
        self.floppy.eject()
        self.assertEqual(floppy.file_names(disks[1]), [], 'no piece after the prompt')
        self.assertEqual(files.contents(self.scripts.only()), SCRIPT_AFTER_ONE_PIECE)
