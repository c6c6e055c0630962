"""The size box takes what is typed as it stands, also the start of a list entry: the
estimate follows it, Enter cuts pieces of exactly that size, and the list offers only its
own entries. A negative size shows its notice, as a size of 0 does."""

import os

from morlend_e2e import accessibility as a11y
from morlend_e2e.journey import Journey

LIST = ['1 457 664', '1 213 952', '730 112']

# Typed texts that begin list entries, which Qt's editable combo box would complete inline
# ("730" shown as "730 112"), the source cut at each, and the estimate it gives.
TYPED = [
    ('730', 2000, 'files: 3, last file: 540 bytes'),
    ('7', 40, 'files: 6, last file: 5 bytes'),
    ('1 2', 100, 'files: 9, last file: 4 bytes'),
]


class SizesAsTyped(Journey):
    def size_list_is_open(self):
        lists = [c for c in a11y.children(self.morlend.controls.size_box)
                 if a11y.role(c) == 'list']
        return len(lists) == 1 and 'showing' in a11y.states(lists[0])

    def test_sizes_stay_as_typed_and_cut_so(self):
        morlend = self.start_morlend()
        for index, (text, source_size, estimate) in enumerate(TYPED):
            with self.subTest(text=text):
                folder_of_source = os.path.join(self.work, f'typed{index}')
                os.makedirs(folder_of_source)
                source = self.make_source('clip.avi', source_size, seed=index,
                                          folder=folder_of_source)
                self.drop(source)
                morlend.wait_for(morlend.file_text, f'{source} * {source_size:,} bytes')
                self.user.select_all_and_type(morlend.controls.size_text, text)
                self.user.park_pointer()
                morlend.wait_for(morlend.size_text, text)
                morlend.wait_for(morlend.estimate, estimate)

                self.user.key('Return')
                count = int(estimate.split()[1].rstrip(','))
                morlend.wait_for(morlend.progress, f'{count}/{count}')
                self.assertEqual(morlend.size_text(), text)
                self.assert_pieces(os.path.join(folder_of_source, 'clip_cut'), source,
                                   int(text.replace(' ', '')))

        self.user.key('alt+Down')
        morlend.wait_for(self.size_list_is_open, True)
        self.assertEqual(morlend.size_list(), LIST)
        self.user.key('F4')
        morlend.wait_for(self.size_list_is_open, False)
        self.assertEqual(morlend.size_text(), TYPED[-1][0])

    def test_a_negative_size_shows_a_notice(self):
        source = self.make_source('clip.avi', 3500)
        morlend = self.start_morlend()
        self.drop(source)
        self.user.select_all_and_type(morlend.controls.size_text, '1000')
        self.user.park_pointer()
        morlend.wait_for(morlend.estimate, 'files: 4, last file: 500 bytes')
        for text, notice in [('-1', '{files size is negative}'), ('0', '{files size is 0}'),
                             ('-2 147 483 648', '{files size is negative}')]:
            with self.subTest(text=text):
                self.user.select_all_and_type(morlend.controls.size_text, text)
                self.user.park_pointer()
                morlend.wait_for(morlend.size_text, text)
                morlend.wait_for(morlend.estimate, notice)
                # The count stays as the last size that cuts planned it.
                self.assertEqual(morlend.progress(), '0/4')
