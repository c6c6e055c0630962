"""Files dragged onto the window as from a file manager: only the drop area takes them, always
as a copy, whatever keys the user holds or presses over it; a file it cannot take changes
nothing on the screen and says why."""

import os

from morlend_e2e.journey import Journey

# How a user drags: keys held from the start, a key pressed ('down') or let go ('up') while
# the pointer rests on the drop area, and whether the file manager offers the move alone
# (as a GTK one does with Shift held). A file manager told "move" may delete its file.
DRAGS = [
    ('plain', (), None, False),
    ('Shift held', ('shift',), None, False),
    ('Ctrl held', ('ctrl',), None, False),
    ('Shift pressed over the area', (), ('down', 'shift'), False),
    ('Shift let go over the area', ('shift',), ('up', 'shift'), False),
    ('Ctrl pressed over the area', (), ('down', 'ctrl'), False),
    ('Ctrl let go over the area', ('ctrl',), ('up', 'ctrl'), False),
    ('the move alone offered', (), None, True),
    ('the move alone offered, Shift held', ('shift',), None, True),
]


def changing_keys(user, direction, key):
    """What the hand does while it rests on the drop area."""
    return lambda: (user.key_down if direction == 'down' else user.key_up)(key)


def shown_texts(morlend):
    """Every text the window shows that a drop may change."""
    return {reading.__name__: reading() for reading in (
        morlend.file_text, morlend.folder, morlend.size_text, morlend.estimate,
        morlend.progress)}


class Drops(Journey):
    def test_only_the_drop_area_takes_a_drop(self):
        source = self.make_source('clip.avi', 3000)
        other = self.make_source('other.avi', 5000, seed=2)
        morlend = self.start_morlend()
        self.drop(source)
        morlend.wait_for(morlend.file_text, source + ' * 3,000 bytes')
        before = shown_texts(morlend)
        controls = morlend.controls
        # A file manager's drag carries the file's address as text too, which a text box
        # would insert.
        for name in ('folder_box', 'size_text', 'file_box'):
            with self.subTest(control=name):
                self.assertEqual(self.drag_onto(getattr(controls, name), other), 'none')
                morlend.activate(self.user)
                self.assertEqual(shown_texts(morlend), before)

    def test_the_drop_area_takes_a_copy_whatever_the_keys(self):
        morlend = self.start_morlend()
        for index, (what, held, change, move_only) in enumerate(DRAGS):
            with self.subTest(what):
                size = 1000 + index
                source = self.make_source(f'clip{index}.avi', size, seed=index)
                over_target = changing_keys(self.user, *change) if change else None
                try:
                    answer = self.drag_onto(morlend.controls.drop_area, source, holding=held,
                                            over_target=over_target, move_only=move_only)
                finally:
                    self.user.key_up('shift', 'ctrl')
                morlend.activate(self.user)
                self.assertEqual(answer, 'copy')
                morlend.wait_for(morlend.file_text, f'{source} * {size:,} bytes')

    def test_a_file_that_cannot_be_taken_changes_nothing(self):
        source = self.make_source('clip.avi', 3000)
        folder = os.path.join(self.work, 'a folder.avi')
        os.makedirs(folder)
        pipe = os.path.join(self.work, 'pipe.avi')
        os.mkfifo(pipe)
        missing = os.path.join(self.work, 'gone.avi')
        morlend = self.start_morlend()
        self.drop(source)
        morlend.wait_for(morlend.file_text, source + ' * 3,000 bytes')
        before = shown_texts(morlend)
        for path, message in [(folder, f'{folder} is a folder, not a file.'),
                              (missing, f'{missing} cannot be read: File not found'),
                              (pipe, f'{pipe} cannot be read: Path/File access error')]:
            with self.subTest(path=path):
                self.drag_onto(morlend.controls.drop_area, path)
                box = self.message_box()
                self.assertEqual(box.text(), message)
                self.assertEqual(list(box.buttons()), ['OK'])
                box.answer_with_keys(self.user, 'Return')
                self.assertEqual(shown_texts(morlend), before)
