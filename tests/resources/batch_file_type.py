"""Checks the batch files' type that the program ships, as the desktop reads it: a shared MIME
database made of that package alone gives a join script's name the type, which is a text, and
the join's desktop entry is offered for it.

Usage: batch_file_type.py PACKAGE.xml ENTRY.desktop
"""

import configparser
import os
import shutil
import subprocess
import sys
import tempfile

TYPE = 'application/x-bat'


def main(package, entry):
    with tempfile.TemporaryDirectory() as data:
        database = os.path.join(data, 'mime')
        os.makedirs(os.path.join(database, 'packages'))
        shutil.copy(package, os.path.join(database, 'packages'))
        # A database where the desktop looks for one, so that the tool has nothing to say.
        subprocess.run(['update-mime-database', database], check=True,
                       env=dict(os.environ, XDG_DATA_HOME=data))
        with open(os.path.join(database, 'globs2')) as globs:
            types = [line.strip().split(':')[1:] for line in globs if not line.startswith('#')]
        with open(os.path.join(database, 'subclasses')) as subclasses:
            parents = [line.split() for line in subclasses]
    problems = []
    if [TYPE, '*.bat'] not in types:
        problems.append(f'*.bat is not of the type {TYPE}: {types}')
    if [TYPE, 'text/plain'] not in parents:
        problems.append(f'{TYPE} is no text: {parents}')
    desktop = configparser.ConfigParser(interpolation=None)
    desktop.read(entry)
    offered = desktop['Desktop Entry']['MimeType'].split(';')
    if TYPE not in offered:
        problems.append(f'the entry is not offered for {TYPE}: {offered}')
    for problem in problems:
        print(problem, file=sys.stderr)
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main(*sys.argv[1:]))
