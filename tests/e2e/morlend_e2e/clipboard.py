"""The desktop's clipboard, filled from outside as a file manager fills it."""

import subprocess
import urllib.parse

from .waiting import wait_until


def file_addresses(paths):
    """A URI list of files, one address a line, as file managers write it."""
    return ''.join('file://' + urllib.parse.quote(path) + '\r\n' for path in paths).encode()


class Clipboard:
    """Holds the clipboard with xclip, which offers one kind of data and serves it until
    another program takes the clipboard or the journey ends."""

    def __init__(self, session, processes):
        self._session = session
        self._processes = processes
        self._process = None

    def copy(self, kind, data):
        """Puts the data on the clipboard as the kind ('text/uri-list', 'UTF8_STRING', ...)."""
        self.close()
        self._process = self._processes.start(
            'xclip', ['xclip', '-quiet', '-selection', 'clipboard', '-target', kind, '-in'],
            env=self._session.env, stdin=subprocess.PIPE, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL)
        self._process.stdin.write(data)
        self._process.stdin.close()
        wait_until(lambda: kind in self.kinds(), f'the clipboard to offer {kind}')

    def copy_files(self, *paths):
        self.copy('text/uri-list', file_addresses(paths))

    def kinds(self):
        offered = subprocess.run(
            ['xclip', '-out', '-selection', 'clipboard', '-target', 'TARGETS'],
            env=self._session.env, capture_output=True, text=True)
        return offered.stdout.split()

    def close(self):
        if self._process:
            self._processes.stop(self._process)
            self._process = None
