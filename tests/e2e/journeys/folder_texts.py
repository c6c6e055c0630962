"""How the folder box reads what a user types: "~/..." in the home folder, a missing nested
folder made whole, and a relative name, blanks alone and another drive letter refused with a
message, nothing made in the folder the program happened to start in."""

import os

from morlend_e2e import files
from morlend_e2e.journey import Journey

SIZE = 2500
PIECE = 1000
ASK = ("Type the folder's whole path, beginning with / (or with ~ for your home folder), or A: "
       'for the floppy.')


class FolderTexts(Journey):
    def start_with(self, source):
        # A home folder of the journey's own; the program starts in the journey's folder.
        self.home = os.path.join(self.work, 'home')
        os.makedirs(self.home)
        morlend = self.start_morlend(environment={'HOME': self.home})
        self.drop(source)
        morlend.wait_for(morlend.file_text, f'{source} * {SIZE:,} bytes')
        self.user.select_all_and_type(morlend.controls.size_text, str(PIECE))
        return morlend

    def cut_into(self, morlend, text):
        self.user.select_all_and_type(morlend.controls.folder_box, text)
        morlend.wait_for(morlend.folder, text)
        self.user.park_pointer()
        self.user.key('Return')

    def test_the_home_folder_and_a_missing_nested_folder(self):
        source = self.make_source('clip.avi', SIZE, folder=self.make_folder('data'))
        morlend = self.start_with(source)
        for text, folder in [('~/movies/cut', os.path.join(self.home, 'movies', 'cut')),
                             (os.path.join(self.work, 'a', 'b', 'c'),
                              os.path.join(self.work, 'a', 'b', 'c'))]:
            with self.subTest(text):
                self.cut_into(morlend, text)
                morlend.wait_for(morlend.progress, '3/3')
                self.assertEqual(morlend.folder(), folder, 'the box shows where the pieces went')
                self.assert_pieces(folder, source, PIECE)
                self.assert_joins_back(folder, source)

    def test_what_names_no_whole_path_is_refused(self):
        source = self.make_source('clip.avi', SIZE, folder=self.make_folder('data'))
        morlend = self.start_with(source)
        before = files.listing(self.work)
        for text, refusal in [
                ('relout', 'The folder "relout" is no whole path, so it does not say where the '
                           'pieces would go.\r\n' + ASK),
                ('   ', 'The folder "   " is no whole path, so it does not say where the pieces '
                        'would go.\r\n' + ASK),
                ('C:\\temp', 'The folder C:\\temp names drive C:, but here only A:, the floppy, '
                             'names a drive.\r\n' + ASK)]:
            with self.subTest(text):
                self.cut_into(morlend, text)
                box = self.message_box()
                self.assertEqual(box.text(), refusal)
                box.answer_with_keys(self.user, 'Return')
                morlend.wait_for(morlend.progress, '0/3')
                self.assertEqual(morlend.folder(), text, 'the box keeps what was typed')
                self.assertEqual(files.listing(self.work), before, 'nothing is made')

    def make_folder(self, name):
        folder = os.path.join(self.work, name)
        os.makedirs(folder, exist_ok=True)
        return folder
