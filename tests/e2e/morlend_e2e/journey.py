"""The base of every journey: a desktop for the module's journeys, and for each journey a
folder of its own, the program, a user, a drag source and a floppy drive."""

import os
import re
import shutil
import unittest

from . import files, floppy, message_boxes, screen, wine
from .drag_source import DragSource
from .floppy import FloppyDrive
from .program import Morlend
from .session import Session
from .user import User
from .waiting import wait_until


class Journey(unittest.TestCase):
    processes = None  # set by morlend_e2e.run for the whole run
    session = None

    @classmethod
    def setUpClass(cls):
        cls.session = Session(cls.processes)
        cls.session.start()

    @classmethod
    def tearDownClass(cls):
        cls.session.stop()

    def setUp(self):
        name = re.sub(r'[^A-Za-z0-9_.]', '_', self.id())
        self.work = os.path.join(os.environ['MORLEND_E2E_WORK'], name)
        shutil.rmtree(self.work, ignore_errors=True)
        os.makedirs(self.work)
        self.user = User(self.session)
        self.drag_source = DragSource(self.session, self.processes,
                                      os.environ['MORLEND_E2E_DRAG_SOURCE'])
        self.floppy = FloppyDrive(self.processes)
        self.morlend = None
        self.addCleanup(self.floppy.close)
        self.addCleanup(self.drag_source.close)
        self.addCleanup(self._stop_morlend)

    def _stop_morlend(self):
        if self.morlend is None:
            return
        if not self._succeeded():
            screen.screenshot(self.session, os.path.join(self.work, 'failure.png'))
        self.processes.stop(self.morlend.process)

    def mounted(self, disk):
        """Mounts the disk for the test; at its end the program goes first, as it may hold a
        file or the folder open there."""
        disk.mount()

        def unmount():
            self._stop_morlend()
            self.morlend = None
            disk.unmount()
        self.addCleanup(unmount)
        return disk

    def _succeeded(self):
        outcome = getattr(self, '_outcome', None)
        return getattr(outcome, 'success', True)

    # What a user does.

    def start_morlend(self, locale='en_US.UTF-8', environment=None, command=None):
        """Starts the program, or a command that starts it (the program is
        MORLEND_E2E_PROGRAM)."""
        self.morlend = Morlend(self.session, self.processes, os.environ['MORLEND_E2E_PROGRAM'],
                               os.environ['MORLEND_E2E_LOCALES'], self.work, locale,
                               environment).start(command)
        return self.morlend

    def drop(self, *paths, **drag):
        """Drags the files from the drag source onto the drop area and comes back to the
        program's window. Returns the action the drop answered."""
        answer = self.drag_onto(self.morlend.controls.drop_area, *paths, **drag)
        self.morlend.activate(self.user)
        return answer

    def drag_onto(self, control, *paths, **drag):
        """Drags the files from the drag source onto the control and lets go; the drag source
        keeps the focus. Takes DragSource.drop's options; returns the action the drop
        answered."""
        target = self.morlend.extents(control).centre
        return self.drag_source.drop(self.user, paths, target, **drag)

    def rest_pointer_on(self, control):
        """Moves the pointer onto a control and waits until its look changes, as a button's
        does while the pointer is over it. Returns its pixels from before."""
        place = self.morlend.extents(control)
        before = screen.pixels(self.session, place)
        self.user.move_to(place.centre)
        wait_until(lambda: screen.pixels(self.session, place) != before,
                   'the control under the pointer to change its look')
        return before

    def message_box(self, caption=message_boxes.CAPTION, **arguments):
        return message_boxes.wait_for_message_box(self.morlend, caption, **arguments)

    def escape_before_the_first_piece(self, folder):
        """Escape during a run's first piece: the run says that it wrote nothing, and the piece
        begun goes with the folder the run made for it."""
        self.user.key('Escape')
        box = self.message_box()
        self.assertEqual(box.text(), 'Escape was pressed, so the cut stopped before its first '
                                     'piece. Nothing was written.')
        box.answer_with_keys(self.user, 'Return')
        self.assertFalse(os.path.exists(folder), 'the piece and the folder made for it go')

    # What a journey checks.

    def make_source(self, name, size, seed=1, folder=None):
        return files.make_file(os.path.join(folder or self.work, name), size, seed)

    def assert_pieces(self, folder, source, piece_size):
        """The folder holds the source's pieces, in order, and its join script."""
        name = os.path.basename(source)
        data = files.contents(source)
        count = -(-len(data) // piece_size)
        expected = [f'{name}.{i}' for i in range(1, count + 1)] + [f'{name}.bat']
        self.assertEqual(files.listing(folder), sorted(expected))
        for index in range(count):
            self.assertEqual(files.contents(os.path.join(folder, f'{name}.{index + 1}')),
                             data[index * piece_size:(index + 1) * piece_size],
                             f'piece {index + 1}')

    def assert_disks_join_back(self, disks, source, piece_size, leave_out=()):
        """The pieces and the script copied off the images join back into the source."""
        folder = os.path.join(self.work, 'joined')
        os.makedirs(folder)
        for disk in disks:
            floppy.copy_off(disk, folder)
        for name in leave_out:
            os.remove(os.path.join(folder, name))
        self.assert_pieces(folder, source, piece_size)
        self.assert_joins_back(folder, source)

    def assert_joins_back(self, folder, source, locale='en_US.UTF-8'):
        """cmd runs the join script in the folder, which then holds the source alone."""
        name = os.path.basename(source)
        printed = wine.join(self.processes, folder, name + '.bat', locale)
        self.assertEqual(files.listing(folder), [name], f'cmd printed: {printed}')
        self.assertEqual(files.contents(os.path.join(folder, name)), files.contents(source),
                         'the joined file differs from the source')
