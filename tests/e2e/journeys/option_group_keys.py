"""The two destination options from the keyboard: Tab and Shift+Tab stop at the selected one
only, and the arrow keys select the other, as a click does."""

from morlend_e2e.journey import Journey

# Each key from where the last one left the focus: the control that has the focus then, and
# the option that is selected. The tab order runs estimate box, folder option, floppy
# option, folder box.
STEPS = [
    ('shift+Tab', 'folder_option', 'folder_option'),
    ('shift+Tab', 'estimate_box', 'folder_option'),
    ('Tab', 'folder_option', 'folder_option'),
    ('Tab', 'folder_box', 'folder_option'),
    ('shift+Tab', 'folder_option', 'folder_option'),
    ('Down', 'floppy_option', 'floppy_option'),
    ('Tab', 'folder_box', 'floppy_option'),
    ('shift+Tab', 'floppy_option', 'floppy_option'),
    ('shift+Tab', 'estimate_box', 'floppy_option'),
    ('Tab', 'floppy_option', 'floppy_option'),
    ('Up', 'folder_option', 'folder_option'),
    ('Right', 'floppy_option', 'floppy_option'),
    ('Left', 'folder_option', 'folder_option'),
    ('Up', 'floppy_option', 'floppy_option'),
]


class OptionGroupKeys(Journey):
    def test_tab_stops_and_arrows(self):
        morlend = self.start_morlend()
        controls = morlend.controls
        self.user.click_on(controls.folder_box)
        self.user.park_pointer()
        morlend.wait_for(morlend.focused_control, 'folder_box')
        # Each step starts where the last one left the focus, so the first wrong one ends it.
        for index, (key, focused, selected) in enumerate(STEPS):
            self.user.key(key)
            morlend.wait_for(morlend.focused_control, focused)
            self.assertTrue(morlend.is_checked(getattr(controls, selected)),
                            f'step {index}: {key} selects {selected}')
            # The floppy option enables clearing, as a click on it does.
            self.assertEqual(morlend.is_enabled(controls.clear_box), selected == 'floppy_option',
                             f'step {index}: {key}')
