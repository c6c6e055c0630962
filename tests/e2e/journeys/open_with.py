"""A file handed to the program as a file manager's "Open with" hands it: on the command line,
and through the desktop entry's Exec line, and by a name relative to the folder the program
starts in. It is taken as a drop takes it, checks and messages alike."""

import os
import shlex

from morlend_e2e import files
from morlend_e2e.journey import Journey

DESKTOP_ENTRY = os.path.join(os.path.dirname(__file__), '..', '..', '..', 'resources',
                             'org.example.Morlend.desktop')
SIZE = 2500
PIECE = 1000


def exec_line(program, path):
    """The desktop entry's Exec line expanded as a launcher expands it for one file."""
    with open(DESKTOP_ENTRY) as entry:
        line = next(line for line in entry if line.startswith('Exec='))[len('Exec='):].strip()
    words = shlex.split(line)
    return [program if words[0] == 'morlend' else words[0]] + [
        path if word == '%f' else word for word in words[1:]]


class OpenWith(Journey):
    def test_a_file_on_the_command_line_is_taken_and_cut(self):
        source = self.make_source('clip.avi', SIZE)
        other = self.make_source('other.avi', 10, seed=2)
        program = os.environ['MORLEND_E2E_PROGRAM']
        for how, command in [('the program with a file', [program, source, other]),
                             ('the desktop entry', exec_line(program, source))]:
            with self.subTest(how):
                morlend = self.start_morlend(command=command)
                morlend.wait_for(morlend.file_text, f'{source} * {SIZE:,} bytes')
                self.assertEqual(morlend.folder(), os.path.join(self.work, 'clip_cut'))
                morlend.activate(self.user)
                self.user.select_all_and_type(morlend.controls.size_text, str(PIECE))
                self.user.park_pointer()
                self.user.key('Return')
                morlend.wait_for(morlend.progress, '3/3')
                folder = os.path.join(self.work, 'clip_cut')
                self.assert_pieces(folder, source, PIECE)
                self.processes.stop(morlend.process)
                for name in files.listing(folder):
                    os.remove(os.path.join(folder, name))
                os.rmdir(folder)

    def test_a_folder_on_the_command_line_is_refused_as_from_a_drop(self):
        morlend = self.start_morlend(command=[os.environ['MORLEND_E2E_PROGRAM'], self.work])
        box = self.message_box()
        self.assertEqual(box.text(), f'{self.work} is a folder, not a file.')
        box.answer_with_keys(self.user, 'Return')
        morlend.wait_for(morlend.file_text, '{none}')

    def test_a_relative_name_is_taken_from_the_folder_as_its_bytes_name_it(self):
        # A folder named in Latin-1 under a UTF-8 locale, and one whose name is the text the
        # first one's reads as, each with a clip.avi of its own.
        latin1 = os.path.join(os.fsencode(self.work), b'caf\xe9')
        look_alike = os.path.join(self.work, 'caf\ufffd')
        os.makedirs(latin1)
        os.makedirs(look_alike)
        files.make_file(os.path.join(latin1, b'clip.avi'), SIZE)
        other = files.make_file(os.path.join(look_alike, 'clip.avi'), 10, seed=2)
        program = os.environ['MORLEND_E2E_PROGRAM']

        # Started in the Latin-1 folder, the program names that folder's file, which it cannot
        # open by a name of text, and says so; it never takes the look-alike's file.
        morlend = self.start_morlend(command=['env', '-C', latin1, program, 'clip.avi'])
        box = self.message_box()
        self.assertEqual(box.text(),
                         f'{other} cannot be read: its name is not text in this system\'s '
                         'encoding (UTF-8), so the file cannot be opened by it.\r\nRename the '
                         'file and try again.')
        box.answer_with_keys(self.user, 'Return')
        morlend.wait_for(morlend.file_text, '{none}')
        self.processes.stop(morlend.process)

        # Started in the look-alike folder, it takes the file there.
        morlend = self.start_morlend(command=['env', '-C', look_alike, program, 'clip.avi'])
        morlend.wait_for(morlend.file_text, f'{other} * 10 bytes')
        self.assertEqual(morlend.folder(), os.path.join(look_alike, 'clip_cut'))
