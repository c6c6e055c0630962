"""Join scripts as a cut writes them and near to them, joined by `morlend --join` and run by
Wine's cmd on the same set: names in four code pages, each under its locale, with the
characters a script quotes or doubles; a script that stops a pair of lines early (a set of
fewer pieces); and scripts changed at random. Every script Morlend joins gives the file that
cmd makes of it, and every one it refuses leaves the folder as it was."""

import os
import random
import shutil

from morlend_e2e import files, wine
from morlend_e2e.joining import join_in_terminal
from morlend_e2e.journey import Journey

NAMES = [('en_US.UTF-8', 'a&b (1) ^!100%.bin'), ('de_DE.UTF-8', 'Größe für Übersee.dat'),
         ('ru_RU.UTF-8', 'Отчёт за год.doc'), ('ja_JP.UTF-8', 'ポスター表.avi')]
PIECES = [b'first|' * 150, b'second' * 150, b'third|' * 80]
CHANGES_PER_NAME = 5
SEED = 36


def quoted(name):
    return '"' + name.replace('%', '%%') + '"'


def script_of(name, count, codec):
    """The script of name's first count pieces, written here from the format, in codec."""
    lines = ['@echo off', f'ren {quoted(name + ".1")} {quoted(name)}']
    for index in range(2, count + 1):
        piece = f'{name}.{index}'
        lines += [f'copy /b {quoted(name)}+{quoted(piece)} {quoted(name)}',
                  f'del {quoted(piece)}']
    lines.append(f'del {quoted(name + ".bat")}')
    return '\r\n'.join(lines).encode(codec)


def changed(script, chance):
    """The script with a byte changed, put in or left out, or a line left out or doubled."""
    lines = script.split(b'\r\n')
    at = chance.randrange(len(script))
    kind = chance.randrange(5)
    if kind == 0:
        return script[:at] + bytes([chance.choice(b'"%+ .\\/:*&^|0123456789')]) + script[at + 1:]
    if kind == 1:
        return script[:at] + bytes([chance.randrange(256)]) + script[at:]
    if kind == 2:
        return script[:at] + script[at + 1:]
    line = chance.randrange(len(lines))
    if kind == 3:
        del lines[line]
    else:
        lines.insert(line, lines[line])
    return b'\r\n'.join(lines)


class JoinScriptsAsCmd(Journey):
    def put_set(self, folder, name, codec, script):
        """The pieces of name and the script in a fresh folder."""
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        for index, content in enumerate(PIECES, 1):
            with open(os.path.join(folder, f'{name}.{index}'), 'wb') as piece:
                piece.write(content)
        with open(os.path.join(folder, name + '.bat'), 'wb') as file:
            file.write(script)

    def test_scripts_join_as_cmd_runs_them(self):
        chance = random.Random(SEED)
        joined = 0
        for locale, name in NAMES:
            codec = wine.CONSOLE_CODE_PAGES[locale]
            good = script_of(name, len(PIECES), codec)
            scripts = [(good, True), (script_of(name, len(PIECES) - 1, codec), True)]
            scripts += [(changed(good, chance), False) for _ in range(CHANGES_PER_NAME)]
            for number, (script, must_join) in enumerate(scripts):
                with self.subTest(name=name, script=script):
                    folder = os.path.join(self.work, f'{locale}-{number}')
                    self.put_set(folder, name, codec, script)
                    before = {entry: files.contents(os.path.join(folder, entry))
                              for entry in files.listing(folder)}
                    ours = folder + '.ours'
                    os.makedirs(ours)
                    status, said = join_in_terminal(
                        self.processes, self.work,
                        ['--join', os.path.join(folder, name + '.bat'), '--to', ours], locale)
                    if status == 3:
                        self.assertFalse(must_join, said)
                        self.assertEqual({entry: files.contents(os.path.join(folder, entry))
                                          for entry in files.listing(folder)}, before)
                        self.assertEqual(files.listing(ours), [])
                        continue
                    self.assertEqual(status, 0, said)
                    printed = wine.join(self.processes, folder, name + '.bat', locale)
                    self.assertIn(name, files.listing(folder), f'cmd printed: {printed}')
                    self.assertEqual(files.contents(os.path.join(ours, name)),
                                     files.contents(os.path.join(folder, name)),
                                     f'cmd printed: {printed}')
                    joined += 1
        self.assertGreaterEqual(joined, 2 * len(NAMES))
