"""Files dragged from Thunar, a real GTK file manager, onto the drop area: a plain drag, a cut,
a second drag after it, and a drag with Shift pressed over the drop area (Thunar then offers
the move alone; the file stays where it is)."""

import os

from morlend_e2e import files
from morlend_e2e.journey import Journey
from morlend_e2e.thunar import Thunar


class ThunarDrags(Journey):
    def setUp(self):
        super().setUp()
        self.thunar = Thunar(self.session, self.processes, os.path.join(self.work, 'home'))
        self.addCleanup(self.thunar.close)

    def file_alone(self, name, size):
        """A file in a folder of its own, as Thunar shows it."""
        folder = os.path.join(self.work, os.path.splitext(name)[0])
        os.makedirs(folder)
        return self.make_source(name, size, seed=size, folder=folder)

    def drag_from_thunar(self, source, shift_over_target=False):
        icon = self.thunar.open(os.path.dirname(source))
        target = self.morlend.extents(self.morlend.controls.drop_area).centre
        if shift_over_target:
            try:
                self.user.drag(icon, target, over_target=lambda: self.user.key_down('shift'))
            finally:
                self.user.key_up('shift')
        else:
            self.user.drag(icon, target)
        self.morlend.wait_for(self.morlend.file_text,
                              f'{source} * {os.path.getsize(source):,} bytes')
        self.morlend.activate(self.user)

    def test_drags_before_and_after_a_cut(self):
        first = self.file_alone('first.avi', 3000)
        second = self.file_alone('second.avi', 4000)
        third = self.file_alone('third.avi', 5000)
        morlend = self.start_morlend()
        self.drag_from_thunar(first)

        out = os.path.join(self.work, 'out')
        self.user.select_all_and_type(morlend.controls.size_text, '1000')
        self.user.select_all_and_type(morlend.controls.folder_box, out)
        self.user.park_pointer()
        self.user.key('Return')
        morlend.wait_for(morlend.progress, '3/3')
        self.assert_pieces(out, first, 1000)

        # The next drags after the run.
        self.drag_from_thunar(second)
        self.drag_from_thunar(third, shift_over_target=True)
        self.assertEqual(files.listing(os.path.dirname(third)), ['third.avi'],
                         'the file was not moved')
