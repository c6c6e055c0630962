"""The Debian package as a user gets it: built by CPack, checked by lintian, unpacked into a
scratch root, and its program started from there."""

import gzip
import os
import re
import subprocess

from morlend_e2e.journey import Journey
from morlend_e2e.program import Morlend, title, version

ICON_SIZES = [16, 22, 24, 32, 48, 64, 128, 256]
DESKTOP_NAME = 'org.example.Morlend'
DOCUMENTATION = 'usr/share/doc/morlend/'
PACKED_METADATA = f'usr/share/metainfo/{DESKTOP_NAME}.metainfo.xml'
PACKED = sorted(
    ['usr/bin/morlend', f'usr/share/applications/{DESKTOP_NAME}.desktop',
     f'usr/share/applications/{DESKTOP_NAME}.Join.desktop',
     f'usr/share/mime/packages/{DESKTOP_NAME}.xml',
     PACKED_METADATA, 'usr/share/man/man1/morlend.1.gz',
     f'usr/share/icons/hicolor/scalable/apps/{DESKTOP_NAME}.svg']
    + [f'usr/share/icons/hicolor/{size}x{size}/apps/{DESKTOP_NAME}.png' for size in ICON_SIZES]
    + [DOCUMENTATION + name for name in ('changelog.gz', 'copyright', 'license.txt',
                                         'readme.txt')])


def run(*command):
    return subprocess.run(command, capture_output=True, text=True)


class PackagedProgram(Journey):
    def test_build_look_into_unpack_and_start_the_package(self):
        built = run('cpack', '-G', 'DEB', '--config', os.environ['MORLEND_E2E_CPACK_CONFIG'],
                    '-B', os.path.join(self.work, 'built'))
        self.assertEqual(built.returncode, 0, built.stdout + built.stderr)
        architecture = run('dpkg', '--print-architecture').stdout.strip()
        package = os.path.join(self.work, 'built', f'morlend_{version()}_{architecture}.deb')
        self.assertTrue(os.path.isfile(package), os.listdir(os.path.dirname(package)))

        fields = dict(line.split(': ', 1) for line in run(
            'dpkg-deb', '--field', package, 'Package', 'Version', 'Architecture', 'Section',
            'Priority', 'Maintainer').stdout.splitlines())
        self.assertEqual(fields, {'Package': 'morlend', 'Version': version(),
                                  'Architecture': architecture, 'Section': 'utils',
                                  'Priority': 'optional',
                                  'Maintainer': 'Ravik <ravik@example.org>'})
        needs = {need.split()[0] for need in
                 run('dpkg-deb', '--field', package, 'Depends').stdout.split(', ')}
        self.assertLessEqual({'fonts-wine', 'libqt6widgets6', 'libqt6gui6', 'libqt6core6',
                              'libc6', 'libstdc++6'}, needs)

        lintian = run('lintian', '--fail-on', 'error,warning', '--info', package)
        self.assertEqual(lintian.returncode, 0, lintian.stdout + lintian.stderr)

        root = os.path.join(self.work, 'root')
        unpacked = run('dpkg-deb', '--extract', package, root)
        self.assertEqual(unpacked.returncode, 0, unpacked.stderr)
        packed = sorted(os.path.relpath(os.path.join(folder, name), root)
                        for folder, _, names in os.walk(root) for name in names)
        self.assertEqual(packed, PACKED)
        with gzip.open(os.path.join(root, DOCUMENTATION, 'changelog.gz'), 'rt') as changelog:
            self.assertTrue(changelog.read().startswith(f'morlend ({version()}) unstable;'))
        # The texts that carry the version were made from the build's.
        with open(os.path.join(root, DOCUMENTATION, 'readme.txt')) as readme:
            self.assertEqual(readme.read().split('\n')[:2], [title(), '=' * len(title())])
        with gzip.open(os.path.join(root, 'usr/share/man/man1/morlend.1.gz'), 'rt') as manual:
            self.assertIn(f'"{title()}"', manual.readline())
        with open(os.path.join(root, PACKED_METADATA)) as metadata:
            self.assertIn(f'<release version="{version()}" ', metadata.read())
        with open(os.path.join(root, DOCUMENTATION, 'copyright')) as copyright_file:
            self.assertIn('License: Expat\n MIT License\n .\n Copyright (c) 2026 Ravik\n',
                          copyright_file.read())
        tree = run('appstreamcli', 'validate-tree', '--no-net', os.path.join(root, 'usr'))
        self.assertEqual(tree.returncode, 0, tree.stdout + tree.stderr)

        self.morlend = Morlend(self.session, self.processes,
                               os.path.join(root, 'usr', 'bin', 'morlend'),
                               os.environ['MORLEND_E2E_LOCALES'], self.work).start()
        self.assertEqual(self.morlend.caption(), title())
        self.assertEqual(self.morlend.estimate(), '{no source file selected}')
        # The window offers the desktop its icon at every size drawn.
        icons = self.session.run(['xprop', '-len', str(1 << 24), '-id',
                                  str(self.morlend.window_id), '_NET_WM_ICON'], text=True).stdout
        self.assertEqual(sorted({int(size) for size in
                                 re.findall(r'Icon \((\d+) x \1\)', icons)}), ICON_SIZES)
