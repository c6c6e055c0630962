"""A Wayland desktop that runs X11 programs too (XWayland, so WAYLAND_DISPLAY and DISPLAY are
both set): the program goes through X11, where its window stays on top of others and comes up
in the middle of the screen, which Wayland lets no program do.

A listening socket stands for the compositor: Qt's Wayland plugin (which tools/build installs)
connects to it and waits for an answer that never comes, so a program that took Wayland would
show no window on the X server at all."""

import os
import socket

from morlend_e2e import accessibility as a11y
from morlend_e2e import screen
from morlend_e2e.journey import Journey
from morlend_e2e.session import SCREEN

PLUGIN = '/usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/libqwayland-generic.so'
DISPLAY_NAME = 'wayland-morlend-e2e'
# How far the window's middle may lie from the screen's: the frame the window manager adds.
FRAME = 30


class WaylandDesktop(Journey):
    def test_the_program_runs_through_x11_on_top_and_centred(self):
        self.assertTrue(os.path.exists(PLUGIN), 'Qt\'s Wayland plugin: tools/build installs it')
        path = os.path.join(self.session.env['XDG_RUNTIME_DIR'], DISPLAY_NAME)
        compositor = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.addCleanup(compositor.close)
        compositor.bind(path)
        self.addCleanup(os.unlink, path)
        compositor.listen(8)

        # As a Wayland session starts a program; start_morlend waits for its window on X11.
        morlend = self.start_morlend(environment={'WAYLAND_DISPLAY': DISPLAY_NAME,
                                                  'XDG_SESSION_TYPE': 'wayland'})
        state = self.session.run(['xprop', '-id', str(morlend.window_id), '_NET_WM_STATE'],
                                 text=True).stdout
        self.assertIn('_NET_WM_STATE_ABOVE', state, 'the window stays on top')
        width, height = (int(n) for n in SCREEN.split('x')[:2])
        centre = a11y.extents(morlend.controls.window).centre
        self.assertLessEqual(abs(centre[0] - width // 2), FRAME, 'centred across')
        self.assertLessEqual(abs(centre[1] - height // 2), FRAME, 'centred down')
        self.assertEqual(morlend.caption().split(' ')[0], 'Morlend')
        # The title bar is the window manager's; the picture shows the caption whole in it.
        screen.window_screenshot(self.session, morlend.window_id,
                                 os.path.join(self.work, 'window.png'))
