"""Each of the program's messages outside the floppy prompts, shown by Enter and closed
once with a click on OK and once with a key; afterwards the window is as before."""

import os

from morlend_e2e.journey import Journey

CLOSINGS = [('click', None), ('key', 'Return'), ('key', 'Escape')]


class MessageBoxes(Journey):
    def show_and_close_each_way(self, expected, *, starts_with=False):
        for way, key in CLOSINGS:
            with self.subTest(message=expected, way=way, key=key):
                self.user.key('Return')
                box = self.message_box()
                if starts_with:
                    self.assertTrue(box.text().startswith(expected), box.text())
                else:
                    self.assertEqual(box.text(), expected)
                self.assertEqual(list(box.buttons()), ['OK'])
                if key:
                    box.answer_with_keys(self.user, key)
                else:
                    box.answer_with_click(self.user, 'OK')
                    self.user.park_pointer()
                self.assertFalse(self.morlend.has_ended())
                self.assertFalse(self.morlend.x_windows('Morlend'), 'one message only')

    def test_messages(self):
        morlend = self.start_morlend()
        self.show_and_close_each_way('Source file size is 0.')

        source = self.make_source('clip.avi', 3500000)
        self.drop(source)
        self.user.select_all_and_type(morlend.controls.size_text, '0')
        self.user.park_pointer()
        morlend.wait_for(morlend.estimate, '{files size is 0}')
        self.show_and_close_each_way('Files size is 0.')
        self.assertEqual(morlend.progress(), '0/3')

        self.user.select_all_and_type(morlend.controls.size_text, '-5')
        self.user.park_pointer()
        morlend.wait_for(morlend.size_text, '-5')
        self.show_and_close_each_way('Files size is negative.')

        # A second name of the file to cut where a piece would go.
        folder = os.path.join(self.work, 'clip_cut')
        os.makedirs(folder)
        os.link(source, os.path.join(folder, 'clip.avi.2'))
        self.user.select_all_and_type(morlend.controls.size_text, '500000')
        self.user.park_pointer()
        morlend.wait_for(morlend.estimate, 'files: 7, last file: 500,000 bytes')
        self.show_and_close_each_way(
            f'The file {folder}/clip.avi.2 is the file to cut under another name, and writing '
            'it would destroy the file.\r\nRemove it or choose another destination.')
        self.assertEqual(os.listdir(folder), ['clip.avi.2'])
        os.remove(os.path.join(folder, 'clip.avi.2'))
        os.rmdir(folder)

        # A folder inside a file.
        in_the_way = self.make_source('a_file', 10)
        self.user.select_all_and_type(morlend.controls.folder_box,
                                      os.path.join(in_the_way, 'parts'))
        self.user.park_pointer()
        self.show_and_close_each_way('General error.\r\n\r\nAn error #', starts_with=True)
        self.assertEqual(morlend.progress(), '0/7')
        self.assertEqual(sorted(os.listdir(self.work)), ['a_file', 'clip.avi', 'morlend.log'])

        for index, (name, message) in enumerate([
            ('Журнал.txt', 'The join script cannot name the file Журнал.txt: the console\'s '
                           'code page 437 has no place for some of its characters.\r\n'
                           'Rename the file and try again.'),
            ('say "hi".txt', 'The join script cannot name the file: its name holds a double '
                             'quote or a control character, which would break the script\'s '
                             'commands.\r\nRename the file and try again.'),
        ]):
            folder = os.path.join(self.work, f'odd{index}')
            os.makedirs(folder)
            odd = self.make_source(name, 1000, folder=folder)
            self.drop(odd)
            morlend.wait_for(morlend.progress, '0/1')
            self.show_and_close_each_way(message)
            self.assertEqual(os.listdir(os.path.dirname(odd)), [name], 'nothing is written')
