"""What may stand at a piece's name in the destination folder, and names of the file to cut
that the joining machine cannot hold. A link, a second name of another file or a named pipe
is replaced by the piece once the user agrees, never written through; a folder stops the run
with a message before anything is written; so does a name the script cannot carry."""

import os

from morlend_e2e import files
from morlend_e2e.journey import Journey

SOURCE_SIZE = 2500
PIECE_SIZE = 1000


def folder_has_the_name(piece):
    return (f'The file {piece} cannot be written: a folder has its name.\r\n'
            'Remove or rename the folder, or write somewhere else.')


CANNOT_NAME = 'The join script cannot name the file: '
RENAME = '\r\nRename the file and try again.'
REFUSED_NAMES = [
    ('a*b.avi', CANNOT_NAME + 'its name holds one of the characters \\ / : * ? < > |, which the '
     'joining machine reads as a wildcard or a separator, or allows in no name.'),
    ('CON.avi', CANNOT_NAME + 'the joining machine keeps its name for a device (CON, PRN, AUX, '
     'NUL, COM1 to COM9, LPT1 to LPT9), whatever follows its first dot.'),
    ('clip.avi.', CANNOT_NAME + 'its name ends in a blank or a dot, which the joining machine '
     'drops from a name.'),
]


class PieceNames(Journey):
    def setUp(self):
        super().setUp()
        self.cases = 0

    def drop_a_new_source(self, name='clip.avi'):
        """Drops a source of its own folder and returns it with the folder for its pieces."""
        self.cases += 1
        folder_of_source = os.path.join(self.work, f'case{self.cases}')
        os.makedirs(folder_of_source)
        source = self.make_source(name, SOURCE_SIZE, seed=self.cases, folder=folder_of_source)
        self.drop(source)
        self.morlend.wait_for(self.morlend.file_text, f'{source} * {SOURCE_SIZE:,} bytes')
        return source, os.path.join(folder_of_source, os.path.splitext(name)[0] + '_cut')

    def start_with_the_piece_size(self):
        morlend = self.start_morlend()
        self.user.select_all_and_type(morlend.controls.size_text, str(PIECE_SIZE))
        self.user.park_pointer()
        return morlend

    def test_links_and_pipes_at_piece_names(self):
        precious = files.make_file(os.path.join(self.work, 'precious.doc'), 5000, seed=99)
        kept = files.contents(precious)
        morlend = self.start_with_the_piece_size()
        for what, name, make in [
                ('a symbolic link to another file', 'clip.avi.2',
                 lambda path: os.symlink(precious, path)),
                ('a second name of another file', 'clip.avi.2',
                 lambda path: os.link(precious, path)),
                ('a named pipe', 'clip.avi.3', os.mkfifo)]:
            with self.subTest(what):
                source, folder = self.drop_a_new_source()
                os.makedirs(folder)
                make(os.path.join(folder, name))
                self.user.key('Return')
                # Asked first, as for any file at a name of the set.
                question = self.message_box()
                self.assertIn(f'already holds 1 file with the names of the pieces or the join '
                              f'script of clip.avi: {name}.', question.text())
                question.answer_with_click(self.user, 'OK')
                morlend.wait_for(morlend.progress, '3/3')
                self.assertEqual(files.contents(precious), kept)
                self.assert_pieces(folder, source, PIECE_SIZE)
                self.assert_joins_back(folder, source)

    def test_a_folder_at_a_piece_name(self):
        morlend = self.start_with_the_piece_size()
        _, folder = self.drop_a_new_source()
        in_the_way = os.path.join(folder, 'clip.avi.2')
        os.makedirs(in_the_way)
        self.user.key('Return')
        message = self.message_box()
        self.assertEqual(message.text(), folder_has_the_name(in_the_way))
        message.answer_with_keys(self.user, 'Return')
        morlend.wait_for(morlend.progress, '0/3')
        # Met before anything is written.
        self.assertEqual(files.listing(folder), ['clip.avi.2'])
        self.assertTrue(os.path.isdir(in_the_way))

    def test_names_the_joining_machine_cannot_hold(self):
        morlend = self.start_with_the_piece_size()
        for name, refusal in REFUSED_NAMES:
            with self.subTest(name=name):
                source, _ = self.drop_a_new_source(name)
                self.user.key('Return')
                message = self.message_box()
                self.assertEqual(message.text(), refusal + RENAME)
                message.answer_with_keys(self.user, 'Return')
                morlend.wait_for(morlend.progress, '0/3')
                self.assertEqual(files.listing(os.path.dirname(source)), [name],
                                 'nothing is written')
