"""A file copied in a file manager, pasted into the source box and cut, with the keyboard
alone: the mouse is never touched."""

import os

from morlend_e2e import accessibility as a11y
from morlend_e2e import message_boxes
from morlend_e2e.clipboard import Clipboard, file_addresses
from morlend_e2e.journey import Journey

PIECE = 1457664


class KeyboardOnly(Journey):
    def setUp(self):
        super().setUp()
        self.clipboard = Clipboard(self.session, self.processes)
        self.addCleanup(self.clipboard.close)

    def focus_on(self, expected):
        """Waits until the control named has the focus, and no other."""
        controls = self.morlend.controls
        fields = {'source box': controls.file_box, 'size box': controls.size_text,
                  'estimate box': controls.estimate_box, 'folder option': controls.folder_option,
                  'folder box': controls.folder_box}
        self.morlend.wait_for(
            lambda: [name for name, field in fields.items() if 'focused' in a11y.states(field)],
            [expected])

    def test_paste_a_copied_file_and_cut_it(self):
        source = self.make_source('clip.avi', 3500000)
        morlend = self.start_morlend()
        # Tab goes round the controls in their order, and comes back to the source box.
        self.focus_on('source box')
        for control in ('size box', 'estimate box', 'folder option', 'folder box',
                        'source box'):
            self.user.key('Tab')
            self.focus_on(control)

        self.clipboard.copy_files(source, self.make_source('other.bin', 10, seed=2))
        self.user.key('ctrl+v')
        box = self.message_box()
        self.assertEqual(box.text(), 'Morlend cuts one file at a time, so of the 2 files pasted '
                                     f'it took {source}.')
        box.answer_with_keys(self.user, 'Return')
        morlend.wait_for(morlend.file_text, source + ' * 3,500,000 bytes')
        self.assertEqual(morlend.estimate(), 'files: 3, last file: 584,672 bytes')
        self.user.key('Return')
        morlend.wait_for(morlend.progress, '3/3')
        self.assert_pieces(os.path.join(self.work, 'clip_cut'), source, PIECE)
        self.focus_on('source box')

    def test_what_a_paste_takes(self):
        morlend = self.start_morlend()
        taken = self.make_source('taken.bin', 1000)
        self.clipboard.copy_files(taken)
        self.user.key('ctrl+v')
        morlend.wait_for(morlend.file_text, taken + ' * 1,000 bytes')

        # What GTK's file managers copy, and a path copied from a terminal, are files too.
        gtk = self.make_source('copied in gtk.bin', 2000)
        self.clipboard.copy('x-special/gnome-copied-files', b'copy\n' + file_addresses([gtk]))
        self.user.key('shift+Insert')
        morlend.wait_for(morlend.file_text, gtk + ' * 2,000 bytes')
        typed = self.make_source('typed path.bin', 3000)
        self.clipboard.copy('UTF8_STRING', os.fsencode(typed) + b'\n')
        self.user.key('ctrl+v')
        morlend.wait_for(morlend.file_text, typed + ' * 3,000 bytes')

        # Anything else changes nothing and says nothing; a folder is refused, as a drop is.
        for kind, copied in (('text/uri-list', b'https://example.org/clip.avi\r\n'),
                             ('UTF8_STRING', b'taken.bin'),
                             ('UTF8_STRING', os.fsencode(self.work) + b'/\n/etc/hostname\n')):
            with self.subTest(kind=kind, copied=copied):
                self.clipboard.copy(kind, copied)
                # Once the About box is up the program has taken the paste before it.
                self.user.key('ctrl+v', 'F1')
                self.message_box(message_boxes.ABOUT_CAPTION).answer_with_keys(self.user, 'Return')
                self.assertFalse(morlend.x_windows(message_boxes.CAPTION))
                self.assertEqual(morlend.file_text(), typed + ' * 3,000 bytes')

        self.clipboard.copy('UTF8_STRING', os.fsencode(self.work))
        self.user.key('ctrl+v')
        refusal = self.message_box()
        self.assertEqual(refusal.text(), self.work + ' is a folder, not a file.')
        refusal.answer_with_keys(self.user, 'Return')
        self.assertEqual(morlend.file_text(), typed + ' * 3,000 bytes')
