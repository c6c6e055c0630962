"""Runs one journey module: `python3 -m morlend_e2e.run journeys.NAME`.

Everything the journey starts is stopped when it ends, however it ends.
"""

import shutil
import sys
import unittest

from . import journey
from .processes import Processes, raise_on_termination_signals

NEEDED = ['Xvfb', 'xdotool', 'xprop', 'xmessage', 'import', 'convert', 'xclip', 'dbus-daemon',
          'dbus-send', 'openbox', 'mkfs.fat', 'fusefat', 'fusermount', 'mdir', 'mcopy', 'mtype',
          'wine', 'wineserver', '/usr/libexec/at-spi-bus-launcher']


def main():
    missing = [tool for tool in NEEDED if not shutil.which(tool)]
    if missing:
        sys.exit(f'missing {", ".join(missing)}: tools/build installs what the suite needs')
    raise_on_termination_signals()
    journey.Journey.processes = Processes()
    try:
        # Python's own warning filters: the accessibility client's deprecations are not ours.
        result = unittest.main(module=sys.argv[1], argv=[sys.argv[0], '-v'], exit=False,
                               warnings=False).result
    finally:
        journey.Journey.processes.close()
    sys.exit(0 if result.wasSuccessful() else 1)


if __name__ == '__main__':
    main()
