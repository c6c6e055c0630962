"""Disks that cannot take their piece, each met in a run of several disks: a write-protected
disk, a disk full of someone's files, a disk too small for the piece (refused before it is
cleared), no disk at all, and a disk that stores a byte of the piece otherwise, which only
reading the piece back from the disk shows. Each time the run says what is wrong, takes
another disk, writes the same piece onto it and goes on; no disk keeps a bad copy. A disk
taken out as the join script is copied onto it keeps no script cut inside a line, and one
more disk takes the script. The disks copied off join back by cmd byte for byte."""

import os
import subprocess

from morlend_e2e import files, floppy
from morlend_e2e.journey import Journey


SIZE = 25000
PIECE = 10000


def another_disk(problem, number):
    return f'{problem}\r\nPlease insert floppy number {number}.'


def written(piece):
    return (f'File A:\\clip.avi.{piece} written successfully.\r\n'
            f'Please insert floppy number {piece + 1}.')


class FloppyBadDisks(Journey):
    def setUp(self):
        super().setUp()
        self.scripts = floppy.WaitingScripts('clip.avi')
        self.addCleanup(self.scripts.remove)

    def start_cut(self, size, piece_size, clear):
        source = self.make_source('clip.avi', size)
        morlend = self.start_morlend()
        self.drop(source)
        self.user.select_all_and_type(morlend.controls.size_text, str(piece_size))
        self.user.click_on(morlend.controls.floppy_option)
        if morlend.is_checked(morlend.controls.clear_box) != clear:
            self.user.click_on(morlend.controls.clear_box)
        self.user.park_pointer()
        return morlend, source

    def disk(self, name, kilobytes=1440):
        return floppy.make_image(os.path.join(self.work, f'{name}.img'), kilobytes)

    def answer(self, text, then=None):
        box = self.message_box()
        self.assertEqual(box.text(), text)
        if then:
            then()
        box.answer_with_keys(self.user, 'Return')

    def wait_for_the_end(self, morlend, pieces):
        """The run has put its script on the last disk, which may go now."""
        morlend.wait_for(morlend.progress, f'{pieces}/{pieces}')
        morlend.wait_for(self.scripts.new, [])

    def test_a_write_protected_disk_then_a_good_one(self):
        morlend, source = self.start_cut(SIZE, PIECE, clear=False)
        disks = [self.disk(f'disk{n}') for n in (1, 2, 3)]
        self.floppy.insert(disks[0], write_protected=True)
        self.user.key('Return')
        self.answer(another_disk('The disk in the drive is write-protected.', 1),
                    lambda: self.floppy.swap(disks[0]))
        self.answer(written(1), lambda: self.floppy.swap(disks[1]))
        self.answer(written(2), lambda: self.floppy.swap(disks[2]))
        self.wait_for_the_end(morlend, 3)
        self.floppy.eject()
        self.assert_disks_join_back(disks, source, PIECE)

    def test_a_full_disk_swapped_for_an_empty_one(self):
        morlend, source = self.start_cut(250000, 100000, clear=False)
        full = self.disk('full', 720)
        theirs = files.make_file(os.path.join(self.work, 'theirs.bin'), 650000, seed=7)
        subprocess.run(['mcopy', '-i', full, theirs, '::theirs.bin'], check=True)
        disks = [self.disk(f'disk{n}', 720) for n in (1, 2, 3)]
        self.floppy.insert(disks[0])
        self.user.key('Return')
        self.answer(written(1), lambda: self.floppy.swap(full))
        space = os.statvfs(floppy.MOUNT_POINT)
        free = space.f_bavail * space.f_frsize
        self.answer(another_disk(f'The disk in the drive is full: it has {free:,} bytes free, '
                                 f'and piece 2 needs {100352:,} bytes.', 2),
                    lambda: self.floppy.swap(disks[1]))
        self.answer(written(2), lambda: self.floppy.swap(disks[2]))
        self.wait_for_the_end(morlend, 3)
        self.floppy.eject()
        self.assertEqual(floppy.file_names(full), ['theirs.bin'])
        self.assertEqual(floppy.read_file(full, 'theirs.bin'), files.contents(theirs))
        self.assert_disks_join_back(disks, source, 100000)

    def test_a_disk_too_small_is_refused_before_it_is_cleared(self):
        piece = floppy.FREE_BYTES[1440]
        morlend, source = self.start_cut(piece + 5000, piece, clear=True)
        small = self.disk('small', 720)
        kept = files.make_file(os.path.join(self.work, 'kept.txt'), 100, seed=5)
        subprocess.run(['mcopy', '-i', small, kept, '::kept.txt'], check=True)
        disks = [self.disk(f'disk{n}') for n in (1, 2)]
        self.floppy.insert(small)
        self.user.key('Return')
        self.answer(another_disk(f'The disk in the drive is too small for a piece of '
                                 f'{piece:,} bytes: it holds {floppy.FREE_BYTES[720]:,} bytes '
                                 'at most.', 1),
                    lambda: self.floppy.swap(disks[0]))
        self.answer(written(1), lambda: self.floppy.swap(disks[1]))
        self.wait_for_the_end(morlend, 2)
        self.floppy.eject()
        self.assertEqual(floppy.file_names(small), ['kept.txt'], 'the small disk is not cleared')
        self.assert_disks_join_back(disks, source, piece)

    def test_no_disk_at_a_prompt_then_a_disk(self):
        morlend, source = self.start_cut(SIZE, PIECE, clear=False)
        disks = [self.disk(f'disk{n}') for n in (1, 2, 3)]
        self.floppy.insert(disks[0])
        self.user.key('Return')
        self.answer(written(1), self.floppy.eject)
        self.answer(another_disk('There is no disk in the drive.', 2),
                    lambda: self.floppy.insert(disks[1]))
        self.answer(written(2), lambda: self.floppy.swap(disks[2]))
        self.wait_for_the_end(morlend, 3)
        self.floppy.eject()
        self.assert_disks_join_back(disks, source, PIECE)

    def test_a_disk_that_stores_a_wrong_byte(self):
        morlend, source = self.start_cut(SIZE, PIECE, clear=False)
        disks = [self.disk(f'disk{n}') for n in (1, 2, 3)]
        worn = os.path.join(self.work, 'worn')
        self.floppy.insert(disks[0])
        self.user.key('Return')
        self.answer(written(1), lambda: self.floppy.swap_to_faulty(worn, 'flip', 'clip.avi.2',
                                                                   PIECE // 2))
        self.answer('The disk in the drive is damaged: A:\\clip.avi.2, read back from it, '
                    'differs from what was written. The cut writes piece 2 anew onto the next '
                    'disk.\r\nPlease insert floppy number 2.',
                    lambda: self.floppy.swap(disks[1]))
        self.assertEqual(os.listdir(worn), [], 'the bad copy is removed')
        self.answer(written(2), lambda: self.floppy.swap(disks[2]))
        self.wait_for_the_end(morlend, 3)
        self.floppy.eject()
        self.assert_disks_join_back(disks, source, PIECE)

    def test_a_disk_taken_out_as_the_script_is_copied(self):
        morlend, source = self.start_cut(SIZE, PIECE, clear=False)
        disks = [self.disk(f'disk{n}') for n in (1, 2, 4)]
        pulled = os.path.join(self.work, 'pulled')
        self.floppy.insert(disks[0])
        self.user.key('Return')
        self.answer(written(1), lambda: self.floppy.swap(disks[1]))
        # The disk takes the last piece, and is gone once a script is partly on it, whatever
        # its name: nothing on it can be taken away again.
        self.answer(written(2), lambda: self.floppy.swap_to_faulty(
            pulled, 'pull', r'clip\.avi\.bat|~join~clip\.avi.*\.tmp', 50))
        self.answer('An error #75 occured:\r\nPath/File access error\r\nMorlend\r\n'
                    'The join script is not on the disk with A:\\clip.avi.3. '
                    'A:\\~join~clip.avi.tmp on it is an incomplete copy of the script: '
                    'delete it.')
        self.answer('Please insert one more floppy.', lambda: self.floppy.swap(disks[2]))
        self.wait_for_the_end(morlend, 3)
        self.floppy.eject()
        self.assertEqual(floppy.file_names(pulled), ['clip.avi.3', '~join~clip.avi.tmp'],
                         'no clip.avi.bat, whole or cut short, on the disk taken out')
        self.assert_disks_join_back([disks[0], disks[1], pulled, disks[2]], source, PIECE,
                                    leave_out=['~join~clip.avi.tmp'])
