"""What a cut leaves behind, taken as a set that someone joins later, and the user's own files
around it: a disk that fills while the join script is written, the source's own folder as the
destination, files of the user's at the set's names (and Enter held at the question they
bring), a run that fails before its first piece, and two programs writing into one folder.
What is left is run by Wine's cmd, as it would be."""

import os
import shutil
import time

from morlend_e2e import files, message_boxes, wine
from morlend_e2e.journey import Journey
from morlend_e2e.program import Morlend
from morlend_e2e.slow_disk import SlowDisk
from morlend_e2e.small_disk import PAGE, SmallDisk
from morlend_e2e.waiting import wait_until


def replace_question(folder, count, file_name, names):
    files_text = '1 file' if count == 1 else f'{count} files'
    return (f'The folder {folder} already holds {files_text} with the names of the pieces or '
            f'the join script of {file_name}: {names}.\r\nOK replaces them, so that only this '
            "cut's files have those names; Cancel stops the cut without touching them.")


class SafeSets(Journey):
    def small_disk(self, pages):
        return self.mounted(SmallDisk(self.processes, os.path.join(self.work, 'small'),
                                      pages)).mount_point

    def slow_disk(self):
        return self.mounted(SlowDisk(self.processes, os.path.join(self.work, 'backing'),
                                     os.path.join(self.work, 'slow'), 1 << 20))

    def make_folder(self, name):
        folder = os.path.join(self.work, name)
        os.makedirs(folder, exist_ok=True)
        return folder

    def prepare_cut(self, morlend, source, piece_size, folder):
        """Drops the source, types the size and the folder, as a user prepares a cut."""
        self.drop(source)
        morlend.wait_for(morlend.file_text, f'{source} * {os.path.getsize(source):,} bytes')
        self.user.select_all_and_type(morlend.controls.size_text, str(piece_size))
        self.user.select_all_and_type(morlend.controls.folder_box, folder)
        morlend.wait_for(morlend.folder, folder)
        self.user.park_pointer()

    def copy_of(self, folder):
        """The set as someone takes it away to join it."""
        copy = os.path.join(self.work, 'joined')
        shutil.copytree(folder, copy)
        return copy

    def test_a_disk_that_fills_while_the_script_is_written(self):
        # 100 pieces of a page each and one page more, which the script outgrows.
        disk = self.small_disk(101)
        source = self.make_source('aaa.bin', 100 * PAGE)
        morlend = self.start_morlend()
        self.prepare_cut(morlend, source, PAGE, disk)
        self.user.key('Return')
        box = self.message_box()
        self.assertEqual(box.text(),
                         'General error.\r\n\r\nAn error #61 occured:\r\nDisk full\r\n\r\n'
                         f'The set is incomplete: pieces 1 to 100 of 100 were written in {disk}, '
                         'but not the whole join script. It does not rebuild the file; cut the '
                         'file again.')
        box.answer_with_keys(self.user, 'Return')
        morlend.wait_for(morlend.progress, '0/100')
        script = files.contents(os.path.join(disk, 'aaa.bin.bat'))
        self.assertTrue(script.endswith(b'\r\n'), f'the script ends in {script[-40:]!r}')

        # Run anyway, it joins the start of the file and loses no piece it has not joined.
        joined = self.copy_of(disk)
        wine.join(self.processes, joined, 'aaa.bin.bat', morlend.locale)
        data = files.contents(source)
        start = files.contents(os.path.join(joined, 'aaa.bin'))
        self.assertEqual(start, data[:len(start)])
        rest = [os.path.join(joined, f'aaa.bin.{i}') for i in range(len(start) // PAGE + 1, 101)]
        self.assertEqual(start + b''.join(files.contents(piece) for piece in rest), data)

    def test_the_sources_own_folder_is_refused(self):
        source = self.make_source('clip.avi', 5000, folder=self.make_folder('data'))
        folder = os.path.dirname(source)
        before = files.listing(folder)
        morlend = self.start_morlend()
        self.prepare_cut(morlend, source, 1000, folder)
        self.user.key('Return')
        box = self.message_box()
        self.assertEqual(box.text(),
                         f'The folder {folder} holds a file named clip.avi, the name the pieces '
                         'join back into: joining them there would add them to that file.\r\n'
                         'Choose another folder, or move that file away, and cut again.')
        box.answer_with_keys(self.user, 'Return')
        morlend.wait_for(morlend.progress, '0/5')
        self.assertEqual(files.listing(folder), before, 'nothing is written')

    def test_files_of_the_users_at_the_sets_names(self):
        folder = os.path.join(self.work, 'out')
        os.makedirs(folder)
        for name in ('backup.bat', 'backup.1', 'notes.txt'):
            files.make_file(os.path.join(folder, name), 100, seed=len(name))
        kept = {name: files.contents(os.path.join(folder, name)) for name in files.listing(folder)}
        source = self.make_source('backup', 3000, folder=self.make_folder('sources'))
        morlend = self.start_morlend()
        self.prepare_cut(morlend, source, 1000, folder)
        question = replace_question(folder, 2, 'backup', 'backup.1 and backup.bat')

        self.user.key('Return')
        box = self.message_box()
        self.assertEqual(box.text(), question)
        # Enter answers Cancel here, so that a key pressed by habit replaces nothing.
        box.answer_with_keys(self.user, 'Return')
        morlend.wait_for(morlend.progress, '0/3')
        self.assertEqual({name: files.contents(os.path.join(folder, name))
                          for name in files.listing(folder)}, kept, 'Cancel changes nothing')

        self.user.key('Return')
        box = self.message_box()
        self.assertEqual(box.text(), question)
        box.answer_with_click(self.user, 'OK')
        morlend.wait_for(morlend.progress, '3/3')
        os.remove(os.path.join(folder, 'notes.txt'))
        self.assert_pieces(folder, source, 1000)

        # A cut again in fewer pieces takes the earlier further ones away.
        self.user.select_all_and_type(morlend.controls.size_text, '2500')
        self.user.park_pointer()
        self.user.key('Return')
        box = self.message_box()
        self.assertEqual(box.text(), replace_question(
            folder, 4, 'backup', 'backup.1, backup.2, backup.3 and 1 more'))
        box.answer_with_click(self.user, 'OK')
        morlend.wait_for(morlend.progress, '2/2')
        self.assert_pieces(folder, source, 2500)
        self.assert_joins_back(folder, source)

    def test_enter_held_at_the_question_asks_once(self):
        folder = self.make_folder('out')
        for name in ('backup.bat', 'backup.1'):
            files.make_file(os.path.join(folder, name), 100, seed=len(name))
        kept = {name: files.contents(os.path.join(folder, name)) for name in files.listing(folder)}
        source = self.make_source('backup', 3000, folder=self.make_folder('sources'))
        morlend = self.start_morlend()
        self.prepare_cut(morlend, source, 1000, folder)

        # The X server repeats the held key some 25 times a second; for five seconds, every box
        # on the screen is the one question, which no repeat answers.
        with self.user.holding('Return'):
            box = self.message_box()
            self.assertEqual(box.text(),
                             replace_question(folder, 2, 'backup', 'backup.1 and backup.bat'))
            boxes_seen = set()
            held_until = time.monotonic() + 5
            while time.monotonic() < held_until:
                boxes_seen.update(morlend.x_windows(message_boxes.CAPTION) or ['none'])
        self.assertEqual(boxes_seen, {box.window_id}, 'the question shows once, and stays')
        self.assertTrue(box.is_open(), 'the key let go answers nothing')

        box.answer_with_keys(self.user, 'Escape')
        morlend.wait_for(morlend.progress, '0/3')
        self.assertEqual(morlend.x_windows(message_boxes.CAPTION), [], 'nothing asks again')
        self.assertEqual({name: files.contents(os.path.join(folder, name))
                          for name in files.listing(folder)}, kept, 'Cancel changes nothing')

    def test_a_run_that_fails_before_its_first_piece_leaves_no_trace(self):
        disk = self.small_disk(2)
        source = self.make_source('clip.avi', 3 * 4 * PAGE)
        folder = os.path.join(disk, 'clip_cut')
        morlend = self.start_morlend()
        self.prepare_cut(morlend, source, 4 * PAGE, folder)
        self.user.key('Return')
        box = self.message_box()
        self.assertEqual(box.text(), 'General error.\r\n\r\nAn error #61 occured:\r\nDisk full')
        box.answer_with_keys(self.user, 'Return')
        # The progress shows 0/3 from the run's start, so it tells nothing of the run's end.
        wait_until(lambda: files.listing(disk) == [],
                   'the folder the run made to go with its script once the box is answered')
        morlend.wait_for(morlend.progress, '0/3')

    def test_a_disk_with_too_little_room_left_to_join_on(self):
        # Two pieces of four pages and a script of one fill nine of ten pages: the set is whole,
        # but joining it there needs a piece's room more.
        disk = self.small_disk(10)
        source = self.make_source('clip.avi', 8 * PAGE, folder=self.make_folder('sources'))
        morlend = self.start_morlend()
        self.prepare_cut(morlend, source, 4 * PAGE, disk)

        def expect_the_warning():
            box = self.message_box()
            free = os.statvfs(disk).f_bavail * os.statvfs(disk).f_frsize
            self.assertEqual(box.text(),
                             f'The pieces and the join script are in {disk}, but joining them '
                             f'there needs {4 * PAGE:,} bytes free on its disk, and it has '
                             f'{free:,} bytes free.\r\nJoin them where there is that much room, '
                             'or make room there first: a join that runs out of room loses the '
                             'pieces it has deleted.')
            box.answer_with_keys(self.user, 'Return')
            morlend.wait_for(morlend.progress, '2/2')
            self.assert_pieces(disk, source, 4 * PAGE)

        self.user.key('Return')
        expect_the_warning()

        # Cut again: the earlier set, which the user agrees to replace, keeps its room until the
        # first piece needs it, and then gives it up.
        self.user.key('Return')
        box = self.message_box()
        self.assertEqual(box.text(), replace_question(disk, 3, 'clip.avi',
                                                      'clip.avi.1, clip.avi.2 and clip.avi.bat'))
        box.answer_with_click(self.user, 'OK')
        expect_the_warning()
        self.assertEqual([name for name in os.listdir(disk) if name.startswith('.')], [],
                         'nothing set aside is left')
        self.assert_joins_back(self.copy_of(disk), source)

    def test_two_programs_writing_into_one_folder(self):
        # A slow disk, so that the first cut lasts some seconds.
        slow = self.slow_disk()
        folder = os.path.join(slow.mount_point, 'shared')
        first_source = self.make_source('clip.avi', 48 * 131072,
                                        folder=self.make_folder('first'))
        second_source = self.make_source('clip.avi', 20000, seed=2,
                                         folder=self.make_folder('second'))
        first = self.start_morlend()
        self.prepare_cut(first, first_source, 131072, folder)
        second = Morlend(self.session, self.processes, os.environ['MORLEND_E2E_PROGRAM'],
                         os.environ['MORLEND_E2E_LOCALES'], self.make_folder('second-program'),
                         first.locale).start()
        self.addCleanup(self.processes.stop, second.process)
        # Both windows open centred; the second goes aside to the right, clear of the first and
        # of the drag source at the top left.
        beside = first.extents(first.controls.window)
        second.move_window(beside.x + beside.width + 40, beside.y)
        wait_until(lambda: second.extents(second.controls.window).x > beside.x + beside.width,
                   'the second window to move aside')
        first.activate(self.user)
        self.user.key('Return')
        wait_until(lambda: int(first.progress().split('/')[0]) >= 2, 'the first run to begin')

        self.morlend = second
        self.prepare_cut(second, second_source, 1000, folder)
        self.user.key('Return')
        box = self.message_box()
        self.assertEqual(box.text(), f'Another Morlend is writing into the folder {folder}.\r\n'
                                     'Wait until it has finished, and cut again.')
        box.answer_with_keys(self.user, 'Return')
        self.morlend = first
        first.wait_for(first.progress, '48/48', timeout=60)
        self.assert_pieces(folder, first_source, 131072)
        self.assert_joins_back(self.copy_of(os.path.join(slow.backing, 'shared')), first_source)

    def test_a_folder_renamed_during_a_run(self):
        folder = os.path.join(self.slow_disk().mount_point, 'clip_cut')
        source = self.make_source('clip.avi', 48 * 131072)
        morlend = self.start_morlend()
        self.prepare_cut(morlend, source, 131072, folder)
        self.user.key('Return')
        wait_until(lambda: int(morlend.progress().split('/')[0]) >= 2, 'the run to begin')
        os.rename(folder, folder + '-renamed')
        box = self.message_box()
        # Met as the next piece is made, or as the one being written is closed.
        self.assertRegex(box.text(), r'\r\n\r\nThe set is incomplete: pieces 1 to |'
                                     r'Do not join the set; cut the file again\.$')
        box.answer_with_keys(self.user, 'Return')
        morlend.wait_for(morlend.progress, '0/48')
