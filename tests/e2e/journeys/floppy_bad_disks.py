"""Disks that cannot take their piece, each met in a run of several disks: a write-protected
disk, a disk full of someone's files, a disk too small for the piece (refused before it is
cleared), and no disk at all. Each time the run says what is wrong, takes another disk, writes
the same piece onto it and goes on; the disks join back."""

import os
import subprocess

from morlend_e2e import files, floppy
from morlend_e2e.journey import Journey


def another_disk(problem, number):
    return f'{problem}\r\nPlease insert floppy number {number}.'


def written(piece):
    return (f'File A:\\clip.avi.{piece} written successfully.\r\n'
            f'Please insert floppy number {piece + 1}.')


class FloppyBadDisks(Journey):
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

    def test_a_write_protected_disk_then_a_good_one(self):
        morlend, source = self.start_cut(25000, 10000, clear=False)
        disks = [self.disk(f'disk{n}') for n in (1, 2, 3)]
        self.floppy.insert(disks[0], write_protected=True)
        self.user.key('Return')
        self.answer(another_disk('The disk in the drive is write-protected.', 1),
                    lambda: self.floppy.swap(disks[0]))
        self.answer(written(1), lambda: self.floppy.swap(disks[1]))
        self.answer(written(2), lambda: self.floppy.swap(disks[2]))
        morlend.wait_for(morlend.progress, '3/3')
        self.floppy.eject()
        self.assert_disks_join_back(disks, source, 10000)

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
        morlend.wait_for(morlend.progress, '3/3')
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
        morlend.wait_for(morlend.progress, '2/2')
        self.floppy.eject()
        self.assertEqual(floppy.file_names(small), ['kept.txt'], 'the small disk is not cleared')
        self.assert_disks_join_back(disks, source, piece)

    def test_no_disk_at_a_prompt_then_a_disk(self):
        morlend, source = self.start_cut(25000, 10000, clear=False)
        disks = [self.disk(f'disk{n}') for n in (1, 2, 3)]
        self.floppy.insert(disks[0])
        self.user.key('Return')
        self.answer(written(1), self.floppy.eject)
        self.answer(another_disk('There is no disk in the drive.', 2),
                    lambda: self.floppy.insert(disks[1]))
        self.answer(written(2), lambda: self.floppy.swap(disks[2]))
        morlend.wait_for(morlend.progress, '3/3')
        self.floppy.eject()
        self.assert_disks_join_back(disks, source, 10000)
