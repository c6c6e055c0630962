"""Files dragged from Thunar, a real GTK file manager, onto the drop area, as a user drags
them from one folder: a plain drag, a cut whose folder of pieces is made beside the file, the
next drags after it, one with Shift pressed over the drop area (Thunar then offers the move
alone; the file stays where it is), and a drag of that folder of pieces, which is refused."""

import os

from morlend_e2e import files
from morlend_e2e.journey import Journey
from morlend_e2e.thunar import PLACE, Thunar


class ThunarDrags(Journey):
    def setUp(self):
        super().setUp()
        self.thunar = Thunar(self.session, self.processes, os.path.join(self.work, 'home'))
        self.addCleanup(self.thunar.close)

    def drag_from_thunar(self, item, shift_over_target=False):
        target = self.morlend.extents(self.morlend.controls.drop_area).centre
        start = self.thunar.place_of(item)
        if shift_over_target:
            try:
                self.user.drag(start, target, over_target=lambda: self.user.key_down('shift'))
            finally:
                self.user.key_up('shift')
        else:
            self.user.drag(start, target)

    def drag_file_from_thunar(self, source, **drag):
        self.drag_from_thunar(os.path.basename(source), **drag)
        self.morlend.wait_for(self.morlend.file_text,
                              f'{source} * {os.path.getsize(source):,} bytes')
        self.morlend.activate(self.user)

    def test_drags_before_and_after_a_cut_into_the_files_folder(self):
        videos = os.path.join(self.work, 'videos')
        os.makedirs(videos)
        first = self.make_source('first.avi', 3000, seed=3, folder=videos)
        second = self.make_source('second.avi', 4000, seed=4, folder=videos)
        morlend = self.start_morlend()
        morlend.move_window(PLACE.x + PLACE.width + 40, PLACE.y + 100)
        self.thunar.open(videos)
        self.drag_file_from_thunar(first)

        # Into the folder the window proposes: first_cut, beside the file, which Thunar lists
        # first from then on, where the file was.
        file_was_at = self.thunar.place_of('first.avi')
        self.user.select_all_and_type(morlend.controls.size_text, '1000')
        self.user.park_pointer()
        self.user.key('Return')
        morlend.wait_for(morlend.progress, '3/3')
        pieces = os.path.join(videos, 'first_cut')
        self.assert_pieces(pieces, first, 1000)
        self.assertEqual(self.thunar.place_of('first_cut'), file_was_at)

        # The next drags after the run, from the same window, at the rows' new places.
        self.drag_file_from_thunar(second)
        self.drag_file_from_thunar(first, shift_over_target=True)
        self.assertEqual(files.listing(videos), ['first.avi', 'first_cut', 'second.avi'],
                         'nothing was moved')

        # A drag from where the file was before the cut takes the folder of pieces.
        self.drag_from_thunar('first_cut')
        box = self.message_box()
        self.assertEqual(box.text(), f'{pieces} is a folder, not a file.')
        box.answer_with_keys(self.user, 'Return')
        morlend.wait_for(morlend.file_text, f'{first} * 3,000 bytes')
