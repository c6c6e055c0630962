"""The desktop a journey runs in: an X server, a session bus, the accessibility bus and a
window manager, as a user's desktop has them."""

import os
import shutil
import subprocess
import tempfile

from .waiting import WaitTimeout, wait_until

# Names an X display to run on instead of a private Xvfb, to watch a journey.
DISPLAY_VARIABLE = 'MORLEND_E2E_DISPLAY'

SCREEN = '1024x768x24'

# A window the session shows to learn that the window manager shows windows.
PROBE_WINDOW = 'morlend-e2e-probe'
# How long a probe window may take to be shown before it is taken for lost.
PROBE_PATIENCE = 3.0


class Session:
    def __init__(self, processes):
        self._processes = processes
        self._runtime_folder = None
        self.env = {}

    def start(self):
        self._runtime_folder = tempfile.mkdtemp(prefix='morlend-e2e-runtime-')
        self._processes.tell_guardian(True, {'folder': self._runtime_folder})
        self.env = {
            'PATH': os.environ.get('PATH', '/usr/bin:/bin'),
            'HOME': os.environ.get('HOME', '/root'),
            'USER': os.environ.get('USER', 'root'),
            'XDG_RUNTIME_DIR': self._runtime_folder,
            'LANG': 'C.UTF-8',
        }
        self.env['DISPLAY'] = os.environ.get(DISPLAY_VARIABLE) or self._start_x_server()
        self._start_session_bus()
        self._start_accessibility_bus()
        if not self._window_manager_runs():
            self._start_window_manager()
        # The harness's own accessibility client connects through these.
        for name in ('DISPLAY', 'DBUS_SESSION_BUS_ADDRESS', 'XDG_RUNTIME_DIR'):
            os.environ[name] = self.env[name]

    def stop(self):
        self._processes.stop_all()
        if self._runtime_folder:
            shutil.rmtree(self._runtime_folder, ignore_errors=True)
            self._processes.tell_guardian(False, {'folder': self._runtime_folder})

    def run(self, args, **arguments):
        """Runs a short command on this desktop (xdotool, xprop, import) and returns it."""
        return subprocess.run(args, env=self.env, capture_output=True, check=True, **arguments)

    def _start_x_server(self):
        # -displayfd makes the server pick a free display and tell which, so suites running
        # at once on one machine never race for a number.
        read_end, write_end = os.pipe()
        try:
            self._processes.start(
                'Xvfb', ['Xvfb', '-displayfd', str(write_end), '-screen', '0', SCREEN,
                         '-nolisten', 'tcp', '-noreset'],
                pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            os.close(write_end)
            write_end = None
            number = b''
            while not number.endswith(b'\n'):
                chunk = os.read(read_end, 16)
                if not chunk:
                    raise RuntimeError('Xvfb ended before it named its display')
                number += chunk
        finally:
            os.close(read_end)
            if write_end is not None:
                os.close(write_end)
        return ':' + number.decode().strip()

    def _start_session_bus(self):
        bus = self._processes.start(
            'session bus', ['dbus-daemon', '--session', '--nofork', '--nopidfile',
                            '--print-address=1'],
            env=self.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        address = bus.stdout.readline().strip()
        if not address:
            raise RuntimeError('the session bus did not start')
        self.env['DBUS_SESSION_BUS_ADDRESS'] = address

    def _bus_call(self, *arguments):
        return subprocess.run(['dbus-send', '--session', '--print-reply', *arguments],
                              env=self.env, capture_output=True, text=True)

    def _start_accessibility_bus(self):
        self._processes.start(
            'accessibility bus', ['/usr/libexec/at-spi-bus-launcher', '--launch-immediately'],
            env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_until(lambda: 'true' in self._bus_call(
            '--dest=org.freedesktop.DBus', '/org/freedesktop/DBus',
            'org.freedesktop.DBus.NameHasOwner', 'string:org.a11y.Bus').stdout,
            'the accessibility bus launcher')
        # What a desktop does when the user turns assistive technology on; applications
        # then show their controls on the accessibility bus.
        enabled = self._bus_call(
            '--dest=org.a11y.Bus', '/org/a11y/bus', 'org.freedesktop.DBus.Properties.Set',
            'string:org.a11y.Status', 'string:IsEnabled', 'variant:boolean:true')
        if enabled.returncode:
            raise RuntimeError(f'could not turn accessibility on: {enabled.stderr}')

    def _window_manager_runs(self):
        root = subprocess.run(['xprop', '-root', '_NET_SUPPORTING_WM_CHECK'], env=self.env,
                              capture_output=True, text=True)
        return 'window id' in root.stdout

    def _start_window_manager(self):
        self._processes.start(
            'window manager', ['openbox', '--sm-disable'], env=self.env,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_until(self._window_manager_runs, 'the window manager')
        # Openbox announces itself while it is still starting, and a window that asks to be
        # shown then is never shown (one first start in 300 here). It is ready once it has
        # shown a window of ours; a probe that asked too early is replaced by a new one.
        wait_until(self._shows_a_probe_window, 'the window manager to show a window',
                   interval=0)

    def _shows_a_probe_window(self):
        probe = self._processes.start(
            'probe window', ['xmessage', '-name', PROBE_WINDOW, PROBE_WINDOW], env=self.env,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            wait_until(self._probe_window_is_shown, 'the probe window', timeout=PROBE_PATIENCE)
            return True
        except WaitTimeout:
            return False
        finally:
            self._processes.stop(probe)

    def _probe_window_is_shown(self):
        return subprocess.run(
            ['xdotool', 'search', '--onlyvisible', '--classname', f'^{PROBE_WINDOW}$'],
            env=self.env, capture_output=True, text=True).stdout
