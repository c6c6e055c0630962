"""The desktop entry, installed as a package installs it, registers Morlend for
application/octet-stream, which the shared MIME database counts every file as. Desktops that
apply that rule (Qt's database does) offer Morlend in "Open With" for any file;
GIO, which GNOME Files and Thunar ask, applies it to no type it knows, and offers Morlend for a
file whose format it cannot tell, the type checked here.

`python3 open_with_check.py DESKTOP_ENTRY PROGRAM` exits 0 when it does, 1 with what GIO said
when it does not.
"""

import os
import shutil
import subprocess
import sys
import tempfile


def gio(arguments, environment):
    return subprocess.run(['gio', *arguments], env=environment, capture_output=True, text=True,
                          check=True).stdout


def registered_applications(listing):
    """The desktop ids under "Registered applications:" in what `gio mime TYPE` prints."""
    lines = listing.splitlines()
    if 'Registered applications:' not in lines:
        return []
    ids = []
    for line in lines[lines.index('Registered applications:') + 1:]:
        if not line.startswith('\t'):
            break
        ids.append(line.strip())
    return ids


def main(entry, program):
    with tempfile.TemporaryDirectory() as scratch:
        applications = os.path.join(scratch, 'data', 'applications')
        os.makedirs(applications)
        shutil.copy(entry, applications)
        # What installing a package does for the desktop's list of types: the cache that GIO
        # looks types up in.
        subprocess.run(['update-desktop-database', applications], check=True)
        environment = dict(os.environ, XDG_DATA_HOME=os.path.join(scratch, 'data'),
                           XDG_CONFIG_HOME=os.path.join(scratch, 'config'),
                           # GIO leaves out an entry whose program is not on the PATH.
                           PATH=os.path.dirname(os.path.abspath(program)) + os.pathsep
                           + os.environ.get('PATH', ''))
        # Bytes of no known format under a name of no known kind: a piece of a set, an image
        # from an old disk.
        file = os.path.join(scratch, 'backup.part7')
        with open(file, 'wb') as stream:
            stream.write(bytes(range(256)) * 16)
        content_type = gio(['info', '-a', 'standard::content-type', file],
                           environment).split('standard::content-type:')[1].split()[0]
        listing = gio(['mime', content_type], environment)
        desktop_id = os.path.basename(entry)
        if desktop_id not in registered_applications(listing):
            print(f'{file} is {content_type}, and GIO does not list {desktop_id} for it:\n'
                  f'{listing}')
            return 1
        print(f'{content_type}: {", ".join(registered_applications(listing))}')
        return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1], sys.argv[2]))
