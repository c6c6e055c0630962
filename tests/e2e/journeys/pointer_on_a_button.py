"""Keys pressed while the pointer rests on a button, which then shows its over look: the
message boxes they open answer a click, and Escape ends the program. No caption of the
window has an access key, so no access key opens a box."""

import os

from morlend_e2e import floppy, message_boxes, program, screen
from morlend_e2e.journey import Journey
from morlend_e2e.waiting import wait_until


class PointerOnAButton(Journey):
    def start_with_the_pointer_away(self):
        self.user.park_pointer()
        return self.start_morlend()

    def rest_pointer_on_cut(self):
        self.normal_look = self.rest_pointer_on(self.morlend.controls.cut_button)

    def take_pointer_away(self):
        self.user.park_pointer()
        cut = self.morlend.extents(self.morlend.controls.cut_button)
        wait_until(lambda: screen.pixels(self.session, cut) == self.normal_look,
                   'Cut to show its normal look')

    def test_boxes_opened_by_keys_answer_a_click(self):
        morlend = self.start_with_the_pointer_away()
        # A box left open keeps the next key from the window, so the first failure ends it.
        for key, caption, first_line in [
                ('Return', message_boxes.CAPTION, 'Source file size is 0.'),
                ('F1', message_boxes.ABOUT_CAPTION, program.title())]:
            self.rest_pointer_on_cut()
            self.user.key(key)
            box = self.message_box(caption)
            self.assertEqual(box.text().split('\r\n')[0], first_line)
            box.answer_with_click(self.user, 'OK')
            self.take_pointer_away()
            self.assertFalse(morlend.has_ended())

    def test_escape_ends_the_program(self):
        morlend = self.start_with_the_pointer_away()
        self.rest_pointer_on_cut()
        self.user.key('Escape')
        self.assertEqual(morlend.wait_until_ended(), 0)

    def test_floppy_prompts_answer_a_click(self):
        disks = [floppy.make_image(os.path.join(self.work, f'disk{n}.img')) for n in (1, 2)]
        morlend = self.start_with_the_pointer_away()
        self.user.select_all_and_type(morlend.controls.size_text, '2000')
        self.user.click_on(morlend.controls.floppy_option)
        self.user.park_pointer()
        self.floppy.insert(disks[0])
        for name, answer in [('first.avi', 'Cancel'), ('second.avi', 'OK')]:
            source = self.make_source(name, 3000)
            scripts = floppy.WaitingScripts(name)
            self.addCleanup(scripts.remove)
            self.drop(source)
            morlend.wait_for(morlend.file_text, source + ' * 3,000 bytes')
            self.rest_pointer_on_cut()
            self.user.key('Return')
            if name == 'second.avi':
                # The disk holds the first cut's piece: clearing it is asked about first.
                question = self.message_box()
                self.assertTrue(question.text().startswith(
                    'The disk in the drive, /media/floppy0 (fusefat), holds 1 file: '))
                question.answer_with_click(self.user, 'OK')
                self.user.park_pointer()
            prompt = self.message_box()
            self.assertEqual(prompt.text(), f'File A:\\{name}.1 written successfully.\r\n'
                                            'Please insert floppy number 2.')
            if answer == 'OK':
                self.floppy.swap(disks[1])
            prompt.answer_with_click(self.user, answer)
            self.user.park_pointer()
            if answer == 'OK':
                # The run ends once the last disk has the script.
                morlend.wait_for(scripts.new, [])
            else:
                # The run says how far it got.
                self.message_box().answer_with_click(self.user, 'OK')
                self.user.park_pointer()
            morlend.wait_for(morlend.progress, '1/2' if answer == 'Cancel' else '2/2')
            self.assertFalse(morlend.x_windows('Morlend'), 'nothing more is asked')
        self.floppy.eject()
        self.assertEqual(floppy.file_names(disks[0]), ['second.avi.1'])
        self.assertEqual(floppy.file_names(disks[1]), ['second.avi.2', 'second.avi.bat'])
        self.assert_disks_join_back(disks, source, 2000)
