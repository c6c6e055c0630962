"""A file cut by the window onto three FAT floppy images, then joined back from the disks
through "Join pieces" on the script in the floppy's folder, as a file manager starts it: the
disk with the script gives its piece at once, the others come out of order with a disk of
someone else's between them, which is named and another asked for; the whole, written into a
folder off the floppy, is the source byte for byte and what Wine's cmd makes of the disks'
files. The window's close button, pressed while a disk prompt waits, stops the join once the
prompt is answered, with nothing written. In a terminal, `morlend --join` asks for the disks
there, each prompt on lines of its own below the progress."""

import os
import pty
import select
import shutil
import subprocess
import time

from morlend_e2e import files, floppy, screen, wine
from morlend_e2e.joining import TERMINAL_TIMEOUT, JoinWindow, exec_line, join_in_terminal
from morlend_e2e.journey import Journey
from morlend_e2e.small_disk import SmallDisk

SIZE = 3500000
SCRIPT = os.path.join(floppy.MOUNT_POINT, 'clip.avi.bat')
ANSWER_PROMPT = 'morlend: OK or Cancel? [Y/n] '


def shown_lines(output):
    """The lines a terminal shows for output: a carriage return goes back to the line's start,
    and what follows writes over what was there."""
    lines = []
    line = []
    column = 0
    for character in output:
        if character == '\n':
            lines.append(''.join(line).rstrip())
            line, column = [], 0
        elif character == '\r':
            column = 0
        else:
            if column < len(line):
                line[column] = character
            else:
                line.append(character)
            column += 1
    return lines + [''.join(line).rstrip()]


class Terminal:
    """`morlend --join` in a terminal of its own, with no display."""

    def __init__(self, processes, work, arguments):
        environment = {name: value for name, value in os.environ.items()
                       if name not in ('DISPLAY', 'WAYLAND_DISPLAY', 'QT_QPA_PLATFORM')}
        environment.update(LANG='en_US.UTF-8', LC_ALL='en_US.UTF-8',
                           LOCPATH=os.environ['MORLEND_E2E_LOCALES'])
        self._processes = processes
        self._master, terminal = pty.openpty()
        self.process = processes.start(
            'morlend --join', [os.environ['MORLEND_E2E_PROGRAM'], '--join', *arguments],
            env=environment, cwd=work, stdin=terminal, stdout=terminal, stderr=terminal)
        os.close(terminal)
        self.output = ''

    def read_until(self, text):
        """Reads what the terminal shows until what comes from now on ends with text."""
        deadline = time.monotonic() + TERMINAL_TIMEOUT
        start = len(self.output)
        while not self.output[start:].endswith(text):
            if time.monotonic() > deadline:
                raise AssertionError(f'the terminal did not show {text!r}: {self.output!r}')
            if select.select([self._master], [], [], 1)[0]:
                self.output += os.read(self._master, 4096).decode()

    def type(self, text):
        os.write(self._master, text.encode())

    def wait(self):
        """The exit status, once what the program wrote is read."""
        status = self.process.wait(timeout=TERMINAL_TIMEOUT)
        try:
            while select.select([self._master], [], [], 0.5)[0]:
                self.output += os.read(self._master, 4096).decode()
        except OSError:
            # The terminal is closed once the program has ended and all is read.
            pass
        os.close(self._master)
        self._processes.stop(self.process)
        return status


def asked_for(said, piece):
    return f'{said}\r\nPlease insert the disk with clip.avi.{piece}.'


def read(piece):
    return f'File A:\\clip.avi.{piece} read successfully.'


class JoinFromFloppies(Journey):
    def setUp(self):
        super().setUp()
        self.scripts = floppy.WaitingScripts('clip.avi')
        self.addCleanup(self.scripts.remove)

    def cut_onto_disks(self):
        """Cuts a source of SIZE bytes onto three fresh disks, not cleared; returns the source
        and the disks' images, with none in the drive."""
        source = self.make_source('clip.avi', SIZE)
        disks = [floppy.make_image(os.path.join(self.work, f'disk{n}.img')) for n in (1, 2, 3)]
        morlend = self.start_morlend()
        self.drop(source)
        morlend.wait_for(morlend.estimate, 'files: 3, last file: 584,672 bytes')
        self.user.click_on(morlend.controls.floppy_option)
        if morlend.is_checked(morlend.controls.clear_box):
            self.user.click_on(morlend.controls.clear_box)
        self.user.park_pointer()
        self.floppy.insert(disks[0])
        self.user.key('Return')
        for disk in disks[1:]:
            prompt = self.message_box()
            self.floppy.swap(disk)
            prompt.answer_with_keys(self.user, 'Return')
        morlend.wait_for(morlend.progress, '3/3')
        morlend.wait_for(self.scripts.new, [])
        self.processes.stop(morlend.process)
        self.morlend = None
        self.floppy.eject()
        self.assertEqual(floppy.file_names(disks[2]), ['clip.avi.3', 'clip.avi.bat'])
        return source, disks

    def joined_by_cmd(self, disks):
        """What Wine's cmd makes of the disks' files copied into one folder."""
        folder = os.path.join(self.work, 'by_cmd')
        os.makedirs(folder)
        for disk in disks:
            floppy.copy_off(disk, folder)
        printed = wine.join(self.processes, folder, 'clip.avi.bat', 'en_US.UTF-8')
        self.assertEqual(files.listing(folder), ['clip.avi'], f'cmd printed: {printed}')
        return files.contents(os.path.join(folder, 'clip.avi'))

    def open_join_window(self, folder):
        """"Join pieces" on the script in the floppy's folder, the whole to go into folder."""
        window = JoinWindow(self.session, self.processes, os.environ['MORLEND_E2E_PROGRAM'],
                            os.environ['MORLEND_E2E_LOCALES'], self.work).start(
            exec_line(os.environ['MORLEND_E2E_PROGRAM'], SCRIPT))
        self.morlend = window
        self.assertEqual(window.name(), 'clip.avi')
        self.assertEqual(window.pieces(), '3 on floppy disks, asked for one after another')
        self.assertEqual(window.folder(), window.env['HOME'])
        self.assertFalse(window.is_enabled(window.controls.remove_box))
        self.user.select_all_and_type(window.controls.folder_box, folder)
        window.wait_for(window.folder, folder)
        self.user.park_pointer()
        return window

    def start_joining(self, disks):
        """Joins from the disk with the script through "Join pieces" into a folder of its own;
        returns the window, the folder and the first disk prompt."""
        out = os.path.join(self.work, 'out')
        os.makedirs(out)
        self.floppy.insert(disks[2])
        window = self.open_join_window(out)
        self.user.key('Return')
        return window, out, self.message_box()

    def answer(self, text, disk):
        """The prompt says text; the user puts disk in the drive and answers OK."""
        box = self.message_box()
        self.assertEqual(box.text(), text)
        self.floppy.swap(disk)
        box.answer_with_keys(self.user, 'Return')

    def test_disks_out_of_order_and_a_wrong_one_join_as_cmd_joins_them(self):
        source, disks = self.cut_onto_disks()
        by_cmd = self.joined_by_cmd(disks)
        theirs = floppy.make_image(os.path.join(self.work, 'theirs.img'))
        notes = files.make_file(os.path.join(self.work, 'notes.txt'), 1000, seed=5)
        subprocess.run(['mcopy', '-i', theirs, notes, '::notes.txt'], check=True)

        window, out, prompt = self.start_joining(disks)
        self.assertEqual(prompt.text(), asked_for(read(3), 1))
        screen.screenshot(self.session, os.path.join(self.work, 'disk-prompt.png'))
        self.floppy.swap(disks[1])
        prompt.answer_with_keys(self.user, 'Return')
        self.answer(asked_for(read(2), 1), theirs)
        self.answer(asked_for('The disk in the drive holds no piece of clip.avi.', 1), disks[0])
        window.wait_for(window.result, f'Joined 3 pieces into {out}/clip.avi (3,500,000 bytes).')

        self.assertEqual(files.listing(out), ['clip.avi'])
        self.assertEqual(files.contents(os.path.join(out, 'clip.avi')), files.contents(source))
        self.assertEqual(files.contents(os.path.join(out, 'clip.avi')), by_cmd)
        self.user.key('Escape')
        self.assertEqual(window.wait_until_ended(), 0)
        self.floppy.eject()
        for disk, names in zip(disks, (['clip.avi.1'], ['clip.avi.2'],
                                       ['clip.avi.3', 'clip.avi.bat'])):
            self.assertEqual(floppy.file_names(disk), names, 'the disks stay as they were')

    def test_the_close_button_while_a_disk_prompt_waits(self):
        _, disks = self.cut_onto_disks()
        window, out, prompt = self.start_joining(disks)
        extents = window.extents(window.controls.window)
        # The window manager's close button, at the right end of the title bar.
        self.user.click((extents.x + extents.width - 10, window.title_bar()[1]))
        self.assertTrue(prompt.is_open(), 'the prompt still waits')
        self.assertFalse(window.has_ended())
        self.floppy.swap(disks[0])
        prompt.answer_with_keys(self.user, 'Return')
        self.assertEqual(window.wait_until_ended(), 7, 'the join stops, and the window closes')
        self.assertEqual(os.listdir(out), [], 'nothing is written')
        shutil.rmtree(out)

    def test_a_terminal_asks_for_the_disks_below_the_progress(self):
        source, disks = self.cut_onto_disks()
        out = os.path.join(self.work, 'out')
        os.makedirs(out)
        self.floppy.insert(disks[2])
        # The piece on the disk with the script says how long the whole is at least.
        small = self.mounted(SmallDisk(self.processes, os.path.join(self.work, 'small'), 2))
        status, said = join_in_terminal(self.processes, self.work,
                                        ['--join', SCRIPT, '--to', small.mount_point])
        self.assertEqual((status, said),
                         (4, f'morlend: The folder {small.mount_point} has 8,192 bytes free, and '
                             'the joined file needs at least 1,757,184 bytes.\n'
                             'morlend: Nothing was written.\n'))
        self.assertEqual(os.listdir(small.mount_point), [])
        terminal = Terminal(self.processes, self.work, [SCRIPT, '--to', out])
        terminal.read_until(ANSWER_PROMPT)
        self.floppy.swap(disks[0])
        terminal.type('\n')
        terminal.read_until(ANSWER_PROMPT)
        self.floppy.swap(disks[1])
        terminal.type('y\n')
        self.assertEqual(terminal.wait(), 0, terminal.output)
        self.assertEqual(shown_lines(terminal.output), [
            'morlend: ' + read(3), 'morlend: Please insert the disk with clip.avi.1.',
            ANSWER_PROMPT.rstrip(),
            'morlend: ' + read(1), 'morlend: Please insert the disk with clip.avi.2.',
            ANSWER_PROMPT + 'y',
            f'morlend: Joined 3 pieces into {out}/clip.avi (3,500,000 bytes).', ''])
        self.assertEqual(files.contents(os.path.join(out, 'clip.avi')), files.contents(source))
