"""The screenshot of the window that the store metadata shows: a file cut into three pieces
in a folder, at Qt's scale factor 2, as on a dense screen, so that a software centre shows it
large and sharp. A fresh one is left in the journey's folder as window.png; to take it into
the project, copy it over resources/screenshots/window.png."""

import os

from morlend_e2e import screen
from morlend_e2e.clipboard import Clipboard
from morlend_e2e.journey import Journey
from morlend_e2e.program import Morlend

COMMITTED = os.path.join(os.path.dirname(__file__), '..', '..', '..', 'resources',
                         'screenshots', 'window.png')


def png_size(path):
    with open(path, 'rb') as picture:
        header = picture.read(24)
    return int.from_bytes(header[16:20], 'big'), int.from_bytes(header[20:24], 'big')


class StoreScreenshot(Journey):
    def test_the_window_after_a_cut(self):
        source = self.make_source('holiday.avi', 3500000)
        morlend = Morlend(self.session, self.processes, os.environ['MORLEND_E2E_PROGRAM'],
                          os.environ['MORLEND_E2E_LOCALES'], self.work)
        morlend.env['QT_SCALE_FACTOR'] = '2'
        self.morlend = morlend.start()
        clipboard = Clipboard(self.session, self.processes)
        self.addCleanup(clipboard.close)
        clipboard.copy_files(source)
        self.user.key('ctrl+v')
        morlend.wait_for(morlend.estimate, 'files: 3, last file: 584,672 bytes')
        self.user.key('Return')
        morlend.wait_for(morlend.progress, '3/3')
        # The window on its own, with nothing under the pointer.
        self.user.park_pointer()
        taken = os.path.join(self.work, 'window.png')
        screen.window_screenshot(self.session, morlend.window_id, taken)
        self.assertEqual(png_size(taken), png_size(COMMITTED),
                         'the committed screenshot shows the window as it is now')
