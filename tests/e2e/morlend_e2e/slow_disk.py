"""A slow disk: a folder whose writes go through at a steady, low rate, as onto a floppy or a
network share, so that a cut into it lasts long enough to do things to the window meanwhile.

It is a FUSE file system that passes everything through to a folder beside it and holds
each write back until the rate allows it. `python3 -m morlend_e2e.slow_disk BACKING MOUNT
BYTES_PER_SECOND` serves it in the foreground; SlowDisk mounts and unmounts it for a
journey, with the guardian told of the mount.
"""

import sys
import time

from . import passthrough


class SlowDisk(passthrough.Server):
    """A slow folder at mount_point, its files kept in backing."""

    def __init__(self, processes, backing, mount_point, bytes_per_second):
        super().__init__(processes, 'slow_disk', backing, mount_point, bytes_per_second)


def serve(backing, mount_point, bytes_per_second):
    class Throttled(passthrough.operations(backing)):
        """Everything as in the backing folder; writes at bytes_per_second."""

        def __init__(self):
            self._next_write = time.monotonic()

        def write(self, path, data, offset, handle):
            # A steady pace: each write waits until the bytes before it have had their time.
            now = time.monotonic()
            self._next_write = max(self._next_write, now) + len(data) / bytes_per_second
            time.sleep(self._next_write - now)
            return super().write(path, data, offset, handle)

    passthrough.serve(Throttled(), mount_point)


if __name__ == '__main__':
    serve(sys.argv[1], sys.argv[2], int(sys.argv[3]))
