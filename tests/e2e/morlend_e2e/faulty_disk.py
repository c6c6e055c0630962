"""A faulty floppy disk: a FUSE file system that passes everything through to a folder beside
it, tells the size of an empty 1.44 MB disk less what its files take, and gets the files whose
names match a pattern wrong. "flip" stores the byte at a place of such a file otherwise than it
was written, as a worn disk does, so that only reading it back shows it; "pull" stores such a
file up to a place and then is gone, as a disk taken out of the drive in the middle of a write:
the server ends, and every later request to the disk fails. `python3 -m morlend_e2e.faulty_disk
BACKING MOUNT flip|pull PATTERN PLACE` serves it; FloppyDrive.insert_faulty mounts one where
the program looks for the floppy.
"""

import os
import re
import sys

from . import passthrough
from .floppy import FREE_BYTES

SECTOR = 512
# The sectors of a 1.44 MB disk, and of those the ones that files can take.
DISK_SECTORS = 2880
FREE_SECTORS = FREE_BYTES[1440] // SECTOR


def serve(backing, mount_point, fault, pattern, place):
    names = re.compile(pattern)

    class Faulty(passthrough.operations(backing)):
        def write(self, path, data, offset, handle):
            if (not names.fullmatch(os.path.basename(path))
                    or not offset <= place < offset + len(data)):
                return super().write(path, data, offset, handle)
            if fault == 'flip':
                data = bytearray(data)
                data[place - offset] ^= 0x20
                return super().write(path, bytes(data), offset, handle)
            super().write(path, data[:place - offset], offset, handle)
            os.close(handle)
            os._exit(0)

        def statfs(self, path):
            taken = 0
            for folder, _, names in os.walk(backing):
                for entry in names:
                    size = os.lstat(os.path.join(folder, entry)).st_size
                    taken += -(-size // SECTOR)
            free = max(0, FREE_SECTORS - taken)
            return {'f_bsize': SECTOR, 'f_frsize': SECTOR, 'f_blocks': DISK_SECTORS,
                    'f_bfree': free, 'f_bavail': free, 'f_files': 224, 'f_ffree': 224,
                    'f_favail': 224, 'f_flag': 0, 'f_namemax': 255}

    passthrough.serve(Faulty(), mount_point)


if __name__ == '__main__':
    serve(sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4], int(sys.argv[5]))
