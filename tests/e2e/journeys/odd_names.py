"""Files whose names the command interpreter treats specially, and names outside ASCII under
the locale whose console code page holds them, cut and joined back by cmd: Western European,
Cyrillic, Polish (852) and Japanese (932, two bytes to a character)."""

import os

from morlend_e2e.journey import Journey

PIECE = 1457664

# (name, locale): the program writes the script in the locale's console code page, and cmd
# runs it under the same locale.
NAMES = [
    ('100% sure & done ^2! (v1).bin', 'en_US.UTF-8'),
    ('%PATH% and %1 x.bin', 'en_US.UTF-8'),
    ('café crème.txt', 'en_US.UTF-8'),
    ('Größe ø Æ.dat', 'de_DE.UTF-8'),
    ('Отчёт за год (итог).doc', 'ru_RU.UTF-8'),
    ('Zażółć gęślą jaźń.avi', 'pl_PL.UTF-8'),
    # In 932 the second byte of ポ is the byte of "|", and those of 表 and ソ that of "\\".
    ('ポスター表 ソース.avi', 'ja_JP.UTF-8'),
]


class OddNames(Journey):
    def test_odd_names_join_back(self):
        for locale in sorted({locale for _, locale in NAMES}):
            morlend = self.start_morlend(locale)
            for index, (name, _) in enumerate(n for n in NAMES if n[1] == locale):
                with self.subTest(name=name, locale=locale):
                    folder_of_source = os.path.join(self.work, f'{locale}-{index}')
                    os.makedirs(folder_of_source)
                    source = self.make_source(name, 3000000, seed=index + 2,
                                              folder=folder_of_source)
                    self.drop(source)
                    morlend.wait_for(morlend.file_text, source + ' * ' + grouped(3000000, locale)
                                     + ' bytes')
                    self.user.key('Return')
                    morlend.wait_for(morlend.progress, '3/3')
                    folder = os.path.join(folder_of_source,
                                          os.path.splitext(name)[0] + '_cut')
                    self.assertEqual(morlend.folder(), folder)
                    self.assert_pieces(folder, source, PIECE)
                    self.assert_joins_back(folder, source, locale)
            self.processes.stop(morlend.process)
            self.morlend = None


def grouped(number, locale):
    separator = {'en_US.UTF-8': ',', 'de_DE.UTF-8': '.', 'ru_RU.UTF-8': '\u00a0',
                 'pl_PL.UTF-8': '\u00a0', 'ja_JP.UTF-8': ','}[locale]
    return f'{number:,}'.replace(',', separator)
