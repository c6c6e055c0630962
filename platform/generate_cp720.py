#!/usr/bin/env python3
"""Writes Cp720.cpp: the characters of code page 720, the console's page for Arabic, which
the C library has no converter for. They come from Python's own codec for the page, made from
the system's table, so that no character is copied by hand.

    python3 platform/generate_cp720.py [FOLDER]

writes into FOLDER (this script's folder by default); a test runs it and compares.
"""

import os
import sys

HEADER = """\
// Written by generate_cp720.py from Python's codec for code page 720; do not edit.

#include "platform/Cp720.h"

const char16_t Cp720UpperHalf[128] = {
"""


def upper_half():
    return bytes(range(0x80, 0x100)).decode('cp720')


def source():
    characters = [f'0x{ord(c):04X}' for c in upper_half()]
    rows = [', '.join(characters[i:i + 12]) + ',' for i in range(0, len(characters), 12)]
    return HEADER + ''.join(f'    {row}\n' for row in rows) + '};\n'


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(folder, 'Cp720.cpp'), 'w', encoding='ascii', newline='\n') as file:
        file.write(source())


if __name__ == '__main__':
    main()
