"""Pieces that a cut into a folder wrote, joined back here: through "Join pieces", the join's
desktop entry, as a file manager starts it, and with `morlend --join` in a terminal without a
display. Each whole is compared with the source and with what Wine's cmd makes of the same
set; sets that are not whole, a question answered Cancel, a folder without room and a stop
signal leave nothing written."""

import os
import shutil
import signal
import subprocess

from morlend_e2e import files, screen, wine
from morlend_e2e.joining import JoinWindow, exec_line, join_in_terminal
from morlend_e2e.journey import Journey
from morlend_e2e.slow_disk import SlowDisk
from morlend_e2e.small_disk import SmallDisk
from morlend_e2e.waiting import wait_until

SIZE = 3500000
PIECE = 1457664
# Slow enough that a join onto the slow disk lasts seconds.
SLOW_RATE = 1000000


def snapshot(folder):
    """Every file in the folder with its bytes."""
    return {name: files.contents(os.path.join(folder, name)) for name in files.listing(folder)}


class JoinPieces(Journey):
    def cut(self, name='clip.avi'):
        """Cuts a source of SIZE bytes into pieces of PIECE with the program's window, into the
        folder it proposes; returns the source and the folder."""
        source = self.make_source(name, SIZE)
        morlend = self.start_morlend()
        self.drop(source)
        morlend.wait_for(morlend.file_text, f'{source} * {SIZE:,} bytes')
        self.user.key('Return')
        morlend.wait_for(morlend.progress, '3/3')
        self.processes.stop(morlend.process)
        self.morlend = None
        folder = os.path.join(self.work, os.path.splitext(name)[0] + '_cut')
        self.assert_pieces(folder, source, PIECE)
        return source, folder

    def joined_by_cmd(self, folder, name):
        """What Wine's cmd makes of the set in the folder, run on a copy of it."""
        copy = folder + '.cmd'
        shutil.copytree(folder, copy)
        printed = wine.join(self.processes, copy, name + '.bat', 'en_US.UTF-8')
        self.assertEqual(files.listing(copy), [name], f'cmd printed: {printed}')
        return files.contents(os.path.join(copy, name))

    def open_join_window(self, script):
        """"Join pieces" on the script, as a file manager starts it."""
        self.morlend = JoinWindow(self.session, self.processes, os.environ['MORLEND_E2E_PROGRAM'],
                                  os.environ['MORLEND_E2E_LOCALES'], self.work).start(
            exec_line(os.environ['MORLEND_E2E_PROGRAM'], script))
        return self.morlend

    def test_join_pieces_from_the_file_manager(self):
        source, folder = self.cut()
        by_cmd = self.joined_by_cmd(folder, 'clip.avi')
        script = os.path.join(folder, 'clip.avi.bat')
        window = self.open_join_window(script)
        self.assertEqual(window.name(), 'clip.avi')
        self.assertEqual(window.pieces(), f'3 in {folder}, 3,500,000 bytes in all')
        self.assertEqual(window.folder(), folder)
        self.assertEqual(window.result(), 'Enter joins the pieces; Escape closes the window.')
        screen.window_screenshot(self.session, window.window_id,
                                 os.path.join(self.work, 'join-window.png'))

        self.user.key('Return')
        window.wait_for(window.result,
                        f'Joined 3 pieces into {folder}/clip.avi (3,500,000 bytes).')
        screen.window_screenshot(self.session, window.window_id,
                                 os.path.join(self.work, 'join-window-joined.png'))
        self.assertEqual(files.contents(os.path.join(folder, 'clip.avi')), files.contents(source))
        self.assertEqual(files.contents(os.path.join(folder, 'clip.avi')), by_cmd)
        self.assertEqual(files.listing(folder), ['clip.avi', 'clip.avi.1', 'clip.avi.2',
                                                 'clip.avi.3', 'clip.avi.bat'])
        self.user.key('Escape')
        self.assertEqual(window.wait_until_ended(), 0)

    def test_join_in_a_terminal_into_another_folder(self):
        source, folder = self.cut()
        by_cmd = self.joined_by_cmd(folder, 'clip.avi')
        set_before = snapshot(folder)
        out = os.path.join(self.work, 'out')
        os.makedirs(out)

        status, said = join_in_terminal(self.processes, self.work,
                                        ['--join', os.path.join(folder, 'clip.avi.bat'),
                                         '--to', 'out'])
        self.assertEqual((status, said),
                         (0, f'morlend: Joined 3 pieces into {out}/clip.avi (3,500,000 bytes).\n'))
        self.assertEqual(files.contents(os.path.join(out, 'clip.avi')), files.contents(source))
        self.assertEqual(files.contents(os.path.join(out, 'clip.avi')), by_cmd)
        self.assertEqual(snapshot(folder), set_before, 'the pieces and the script stay')

        again = os.path.join(self.work, 'again')
        os.makedirs(again)
        status, said = join_in_terminal(self.processes, self.work,
                                        ['--join=' + os.path.join(folder, 'clip.avi.bat'),
                                         '--to=' + again, '--remove-pieces'])
        self.assertEqual(status, 0, said)
        self.assertEqual(files.contents(os.path.join(again, 'clip.avi')), files.contents(source))
        self.assertEqual(files.listing(folder), [])

    def test_sets_that_are_not_whole_are_refused_with_nothing_written(self):
        _, folder = self.cut()
        missing = folder + '.missing'
        shutil.copytree(folder, missing)
        os.remove(os.path.join(missing, 'clip.avi.2'))
        short = folder + '.short'
        shutil.copytree(folder, short)
        os.truncate(os.path.join(short, 'clip.avi.2'), 1000000)
        before = {set_folder: snapshot(set_folder) for set_folder in (missing, short)}

        status, said = join_in_terminal(self.processes, self.work,
                                        ['--join', os.path.join(missing, 'clip.avi.bat')])
        self.assertEqual((status, said), (4, f'morlend: clip.avi.2 is missing from {missing}.\n'
                                             'morlend: Nothing was written.\n'))
        status, said = join_in_terminal(self.processes, self.work,
                                        ['--join', os.path.join(short, 'clip.avi.bat')])
        self.assertEqual((status, said),
                         (4, 'morlend: clip.avi.2 has 1,000,000 bytes, the pieces before the '
                             'last have 1,457,664 bytes.\nmorlend: Nothing was written.\n'))

        window = self.open_join_window(os.path.join(short, 'clip.avi.bat'))
        self.assertEqual(window.result(), 'clip.avi.2 has 1,000,000 bytes, the pieces before '
                                          'the last have 1,457,664 bytes.')
        self.user.key('Return')
        window.wait_for(window.result, 'clip.avi.2 has 1,000,000 bytes, the pieces before the '
                                       'last have 1,457,664 bytes.\nNothing was written.')
        self.user.key('Escape')
        self.assertEqual(window.wait_until_ended(), 4)
        self.assertEqual({set_folder: snapshot(set_folder) for set_folder in before}, before)

    def test_a_file_of_the_joined_name_is_kept_when_the_answer_is_cancel(self):
        _, folder = self.cut()
        mine = os.path.join(folder, 'clip.avi')
        with open(mine, 'wb') as file:
            file.write(b'mine')
        before = snapshot(folder)

        window = self.open_join_window(os.path.join(folder, 'clip.avi.bat'))
        self.user.key('Return')
        box = self.message_box()
        self.assertEqual(box.text(), f'{mine} already exists.\r\nOK replaces it with the joined '
                                     'file; Cancel keeps it and writes nothing.')
        # Enter answers Cancel there.
        box.answer_with_keys(self.user, 'Return')
        window.wait_for(window.result, f'{mine} was kept.\nNothing was written.')
        self.assertEqual(snapshot(folder), before)
        self.user.key('Escape')
        window.wait_until_ended()

        # Without a terminal no one answers, and the file is kept.
        status, said = join_in_terminal(self.processes, self.work,
                                        ['--join', os.path.join(folder, 'clip.avi.bat')])
        self.assertEqual(status, 5, said)
        self.assertTrue(said.endswith(f'morlend: No one can answer here (standard input is no '
                                      f'terminal), so the answer is Cancel.\nmorlend: {mine} '
                                      f'was kept.\nmorlend: Nothing was written.\n'), said)
        self.assertEqual(snapshot(folder), before)

    def test_a_folder_without_room_is_refused_before_anything_is_written(self):
        _, folder = self.cut()
        small = self.mounted(SmallDisk(self.processes, os.path.join(self.work, 'small'), 2))
        status, said = join_in_terminal(self.processes, self.work,
                                        ['--join', os.path.join(folder, 'clip.avi.bat'),
                                         '--to', small.mount_point])
        self.assertEqual((status, said),
                         (4, f'morlend: The folder {small.mount_point} has 8,192 bytes free, and '
                             'the joined file needs 3,502,080 bytes.\n'
                             'morlend: Nothing was written.\n'))
        self.assertEqual(os.listdir(small.mount_point), [])

    def test_a_stop_signal_during_a_join_leaves_nothing(self):
        _, folder = self.cut()
        disk = self.mounted(SlowDisk(self.processes, os.path.join(self.work, 'backing'),
                                     os.path.join(self.work, 'slow'), SLOW_RATE))
        environment = {name: value for name, value in os.environ.items() if name != 'DISPLAY'}
        with open(os.path.join(self.work, 'terminal.log'), 'w+b') as said:
            join = self.processes.start(
                'morlend --join', [os.environ['MORLEND_E2E_PROGRAM'], '--join',
                                   os.path.join(folder, 'clip.avi.bat'), '--to',
                                   disk.mount_point],
                env=environment, stdin=subprocess.DEVNULL, stderr=said)
            # The unfinished whole, under its hidden name, is being written.
            wait_until(lambda: os.listdir(disk.backing), 'the join to start writing')
            join.send_signal(signal.SIGINT)
            status = join.wait(timeout=30)
            said.seek(0)
            self.assertEqual(status, -signal.SIGINT)
            self.assertEqual(said.read().decode(), 'morlend: Morlend was sent SIGINT, so the '
                                                   'join stopped.\nmorlend: Nothing was written.\n')
        self.assertEqual(os.listdir(disk.backing), [])
