"""Sizes typed into the size box and picked from its list with the keyboard, the estimate
following each, and a cut at a typed size joined back by cmd."""

import os

from morlend_e2e.journey import Journey

SOURCE_SIZE = 3500000

# Typed texts, none of them the start of a list entry, and the estimate each leaves.
TYPED = [
    ('500000', 'files: 7, last file: 500,000 bytes'),
    ('2,000,000', 'files: 2, last file: 1,500,000 bytes'),
    ('abc', '{size not understood}'),
    ('0', '{files size is 0}'),
    ('999 999', 'files: 4, last file: 500,003 bytes'),
]


class TypedSizes(Journey):
    def test_typed_and_picked_sizes(self):
        source = self.make_source('clip.avi', SOURCE_SIZE)
        morlend = self.start_morlend()
        self.drop(source)
        morlend.wait_for(morlend.estimate, 'files: 3, last file: 584,672 bytes')

        # Down and Up walk the list as a click on its entries does.
        self.user.click_on(morlend.controls.size_text)
        self.user.park_pointer()
        for key, size, estimate in [('Down', '1 213 952', 'files: 3, last file: 1,072,096 bytes'),
                                    ('Down', '730 112', 'files: 5, last file: 579,552 bytes')]:
            self.user.key(key)
            morlend.wait_for(morlend.size_text, size)
            morlend.wait_for(morlend.estimate, estimate)

        for text, estimate in TYPED:
            with self.subTest(text=text):
                self.user.select_all_and_type(morlend.controls.size_text, text)
                self.user.park_pointer()
                morlend.wait_for(morlend.size_text, text)
                morlend.wait_for(morlend.estimate, estimate)
        self.assertEqual(morlend.size_list(), ['1 457 664', '1 213 952', '730 112'])

        self.user.key('Return')
        morlend.wait_for(morlend.progress, '4/4')
        folder = os.path.join(self.work, 'clip_cut')
        self.assert_pieces(folder, source, 999999)
        self.assert_joins_back(folder, source)
