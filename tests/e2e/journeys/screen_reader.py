"""The window as a screen reader finds it on the accessibility bus: what each control is
called, what the buttons do and which keys do the same, and what changes as the user works."""

import os

from morlend_e2e import accessibility as a11y
from morlend_e2e import message_boxes, program
from morlend_e2e.clipboard import Clipboard
from morlend_e2e.journey import Journey


class ScreenReader(Journey):
    def test_the_buttons(self):
        morlend = self.start_morlend()
        controls = morlend.controls
        for button, name, key in ((controls.cut_button, 'Cut', 'Enter'),
                                  (controls.exit_button, 'Exit', 'Esc'),
                                  (controls.about_button, 'About', 'F1')):
            with self.subTest(button=name):
                self.assertEqual(a11y.role(button), 'push button')
                self.assertEqual(a11y.name(button), name)
                self.assertEqual(a11y.actions(button), [('Press', key)])
                self.assertIn('enabled', a11y.states(button))

        self.assertTrue(a11y.do_action(controls.about_button, 'Press'))
        about = self.message_box(message_boxes.ABOUT_CAPTION)
        self.assertTrue(about.text().startswith(program.title() + '\r\n'), about.text())
        # Under the box the window takes no click, and so no press.
        a11y.do_action(controls.exit_button, 'Press')
        a11y.do_action(controls.about_button, 'Press')
        self.assertTrue(about.text(), 'the program answers after the presses')
        self.assertEqual(len(morlend.x_windows(message_boxes.ABOUT_CAPTION)), 1)
        about.answer_with_keys(self.user, 'Return')
        self.assertEqual(a11y.name(controls.window), program.title())
        self.assertFalse(morlend.has_ended())

        a11y.do_action(controls.exit_button, 'Press')
        self.assertEqual(morlend.wait_until_ended(), 0)

    def test_the_fields_and_what_changes_as_a_file_is_cut(self):
        morlend = self.start_morlend()
        controls = morlend.controls
        self.assertEqual(a11y.name(controls.drop_area), 'drop area')
        self.assertEqual(a11y.description(controls.drop_area),
                         'Drop a file here, paste one into the source box, or press Ctrl+O to '
                         'choose one.')
        # Each control has a name of its own: a field without a label its group's caption,
        # where that says what it is for.
        for field, name in ((controls.file_box, '1. Drop a file to cut:'),
                            (controls.size_text, '2. Select size of resulting files:'),
                            (controls.estimate_box, 'Estimate'),
                            (controls.folder_option, 'Folder'),
                            (controls.folder_box, '3. Write to:'),
                            (controls.progress_box, 'Progress')):
            self.assertEqual(a11y.name(field), name)
        self.assertEqual(a11y.value(controls.progress_box), (0, 0, 20.25))

        source = self.make_source('clip.avi', 3500000)
        log = a11y.EventLog('object:text-changed', 'object:property-change:accessible-value')
        self.addCleanup(log.close)
        clipboard = Clipboard(self.session, self.processes)
        self.addCleanup(clipboard.close)
        clipboard.copy_files(source)
        self.user.key('ctrl+v')
        estimate = 'files: 3, last file: 584,672 bytes'
        morlend.wait_for(lambda: ('object:text-changed:insert', 'text', 'Estimate', estimate)
                         in log.pump(), True)

        # The bar is told of each piece as it is written, and of the part of a piece copied as
        # it fills a pixel more: at least once a piece.
        self.user.key('Return')
        morlend.wait_for(morlend.progress, '3/3')
        self.assertEqual(a11y.value(controls.progress_box), (3, 0, 3))
        morlend.wait_for(lambda: [event[:3] for event in log.pump()].count(
            ('object:property-change:accessible-value', 'progress bar', 'Progress')) >= 3, True)
        self.assertTrue(os.path.isfile(os.path.join(self.work, 'clip_cut', 'clip.avi.bat')))
