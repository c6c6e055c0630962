#!/usr/bin/env python3
"""Draws Morlend's artwork and writes it as the files the program embeds.

    python3 resources/generate_artwork.py [OUTPUT_FOLDER]

Writes morlend.ico, morlend.png, dnd.gif, ent.bmp, esc.bmp and f1.bmp into OUTPUT_FOLDER
(by default the folder of this script), and each picture drawn again at twice its size for
dense screens, named as Qt looks for it: morlend@2x.png, dnd@2x.gif, ent@2x.bmp, esc@2x.bmp
and f1@2x.bmp; morlend.ico holds both sizes. Only the standard library is used, and every
run writes the same bytes, so the committed images can be checked against a fresh run.
"""

import os
import struct
import sys
import zlib

# A picture is a list of rows, each a list of (red, green, blue) tuples; None is transparent.
# Each picture is laid out in the pixels of its own size and drawn at a scale: every one of
# those pixels becomes scale x scale pixels, while gradients shade every row drawn, so the
# larger picture is as sharp as the smaller and smoother.

NEAR_BLACK = (32, 32, 32)


def blend(top, bottom, step, steps):
    """The colour step/steps of the way from top to bottom, in whole-number arithmetic."""
    if steps == 0:
        return top
    return tuple(a + (b - a) * step // steps for a, b in zip(top, bottom))


def blank(width, height, scale, colour):
    return [[colour] * (width * scale) for _ in range(height * scale)]


def fill(picture, left, top, width, height, colour, scale):
    """Fills the rectangle of the picture's own pixels (left, top, width, height)."""
    for y in range(top * scale, (top + height) * scale):
        picture[y][left * scale:(left + width) * scale] = [colour] * (width * scale)


def shade_rows(picture, left, top, width, height, top_colour, bottom_colour, scale):
    """Fills the rectangle with a vertical gradient, one shade for every row drawn."""
    rows = height * scale
    for row in range(rows):
        shade = blend(top_colour, bottom_colour, row, rows - 1)
        y = top * scale + row
        picture[y][left * scale:(left + width) * scale] = [shade] * (width * scale)


def set_corners(picture, colour, scale):
    height, width = len(picture) // scale, len(picture[0]) // scale
    for x in (0, width - 1):
        for y in (0, height - 1):
            fill(picture, x, y, 1, 1, colour, scale)


def glyph_width(glyph):
    return len(glyph[0])


def text_width(font, text, spacing, blank_width):
    widths = [blank_width if c == ' ' else glyph_width(font[c]) for c in text]
    return sum(widths) + spacing * (len(text) - 1)


def draw_text(picture, font, text, left, top, spacing, blank_width, colour, scale):
    x = left
    for character in text:
        if character == ' ':
            x += blank_width + spacing
            continue
        glyph = font[character]
        for dy, row in enumerate(glyph):
            for dx, cell in enumerate(row):
                if cell == '#':
                    fill(picture, x + dx, top + dy, 1, 1, colour, scale)
        x += glyph_width(glyph) + spacing


# Lowercase letters of the drop area: x-height 5, ascenders and descenders 2 more.
DROP_FONT = {
    'd': ['....#', '....#', '.####', '#...#', '#...#', '#...#', '.####', '.....', '.....'],
    'r': ['....', '....', '#.##', '##..', '#...', '#...', '#...', '....', '....'],
    'o': ['.....', '.....', '.###.', '#...#', '#...#', '#...#', '.###.', '.....', '.....'],
    'p': ['.....', '.....', '####.', '#...#', '#...#', '#...#', '####.', '#....', '#....'],
    'a': ['.....', '.....', '.###.', '....#', '.####', '#...#', '.####', '.....', '.....'],
    'e': ['.....', '.....', '.###.', '#...#', '#####', '#....', '.###.', '.....', '.....'],
}

# Capitals of the key caps, five rows high.
KEY_FONT = {
    'E': ['###', '#..', '##.', '#..', '###'],
    'N': ['#..#', '##.#', '#.##', '#..#', '#..#'],
    'T': ['###', '.#.', '.#.', '.#.', '.#.'],
    'S': ['.##', '#..', '.#.', '..#', '##.'],
    'C': ['.##', '#..', '#..', '#..', '.##'],
    'F': ['###', '#..', '##.', '#..', '#..'],
    '1': ['.#.', '##.', '.#.', '.#.', '###'],
}


# The cut's row in each inner column of the icon, left to right: a saw rising to the right.
ICON_CUT = [12, 11, 9, 10, 8, 9, 7, 8, 6]


def draw_icon(scale):
    """A sheet of paper cut in two: yellow above a jagged cut, light grey below it."""
    size, left, top, width, height = 16, 2, 1, 11, 14
    right, bottom = left + width - 1, top + height - 1
    cut = ICON_CUT
    picture = blank(size, size, scale, None)
    fill(picture, left, top, width, height, NEAR_BLACK, scale)
    # Each part shades by row, so the whole part reads as one lit surface.
    yellow = blank(1, max(cut) - top - 1, scale, None)
    shade_rows(yellow, 0, 0, 1, max(cut) - top - 1, (255, 244, 150), (240, 188, 16), scale)
    grey = blank(1, bottom - min(cut) - 1, scale, None)
    shade_rows(grey, 0, 0, 1, bottom - min(cut) - 1, (250, 250, 250), (178, 178, 178), scale)
    for column, x in enumerate(range(left + 1, right)):
        for y in range((top + 1) * scale, bottom * scale):
            if y < cut[column] * scale:
                shade = yellow[y - (top + 1) * scale][0]
            elif y >= (cut[column] + 1) * scale:
                shade = grey[y - (min(cut) + 1) * scale][0]
            else:
                continue
            picture[y][x * scale:(x + 1) * scale] = [shade] * scale
        # A tooth more than one row from its neighbour is joined to it, so the line never breaks.
        previous = cut[column - 1] if column else cut[column]
        for y in range(min(cut[column], previous + 1), max(cut[column], previous - 1) + 1):
            fill(picture, x, y, 1, 1, NEAR_BLACK, scale)
    return picture


def draw_drop_area(scale):
    """The bar that files are dropped on: a yellow gradient with the words "drop area"."""
    width, height = 205, 21
    outline, pale, deep = (128, 128, 128), (255, 252, 214), (248, 204, 48)
    picture = blank(width, height, scale, outline)
    shade_rows(picture, 1, 1, width - 2, height - 2, pale, deep, scale)
    set_corners(picture, None, scale)
    text, spacing, blank_width = 'drop area', 3, 9
    left = (width - text_width(DROP_FONT, text, spacing, blank_width)) // 2
    top = (height - len(DROP_FONT['d'])) // 2
    draw_text(picture, DROP_FONT, text, left, top, spacing, blank_width, (64, 64, 64), scale)
    return picture


def draw_key_cap(name, width, scale):
    """A light-grey key cap with a darker rim, the key's name in black."""
    height = 10
    rim, rim_bottom, rim_corner = (128, 128, 128), (100, 100, 100), (184, 184, 184)
    skirt = (176, 176, 176)  # the cap's lower edge, seen from the front
    picture = blank(width, height, scale, rim)
    shade_rows(picture, 1, 1, width - 2, height - 3, (252, 252, 252), (206, 206, 206), scale)
    fill(picture, 1, height - 2, width - 2, 1, skirt, scale)
    fill(picture, 0, height - 1, width, 1, rim_bottom, scale)
    set_corners(picture, rim_corner, scale)  # softened, so the cap reads as rounded on any face
    left = (width - text_width(KEY_FONT, name, 1, 0)) // 2
    draw_text(picture, KEY_FONT, name, left, 2, 1, 0, (0, 0, 0), scale)
    return picture


def palette_of(picture):
    """The picture's colours in order of first appearance, and the picture as indices."""
    colours = {}
    indices = []
    for row in picture:
        for colour in row:
            indices.append(colours.setdefault(colour, len(colours)))
    return list(colours), indices


def ico_image(picture):
    """One image of an icon: 24-bit colour plus the one-bit mask of transparent pixels."""
    size = len(picture)
    rows = picture[::-1]  # bottom-up
    colour_stride = (size * 3 + 3) // 4 * 4
    colour = b''.join(b''.join(bytes(c[::-1]) if c else b'\0\0\0' for c in row)
                      .ljust(colour_stride, b'\0') for row in rows)
    mask_bits = (size + 31) // 32 * 32  # each row padded to whole 32-bit words
    mask = b''.join(
        sum(1 << (mask_bits - 1 - x) for x, c in enumerate(row) if c is None)
        .to_bytes(mask_bits // 8, 'big') for row in rows)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 24, 0, len(colour) + len(mask),
                         0, 0, 0, 0)
    return header + colour + mask


def ico_bytes(pictures):
    """An icon holding the square pictures as its images, smallest first."""
    images = [ico_image(picture) for picture in pictures]
    directory = struct.pack('<HHH', 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    for picture, image in zip(pictures, images):
        size = len(picture)
        directory += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 24, len(image), offset)
        offset += len(image)
    return directory + b''.join(images)


def png_chunk(kind, data):
    return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))


def png_bytes(picture):
    """An RGBA PNG. Its data is stored, not compressed, so no zlib version changes a byte."""
    height, width = len(picture), len(picture[0])
    raw = b''.join(b'\0' + b''.join(bytes(c) + b'\xff' if c else b'\0\0\0\0' for c in row)
                   for row in picture)
    assert len(raw) <= 0xFFFF, 'one stored block holds the whole picture'
    stored = b'\x01' + struct.pack('<HH', len(raw), len(raw) ^ 0xFFFF) + raw
    data = b'\x78\x01' + stored + struct.pack('>I', zlib.adler32(raw))
    header = struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + png_chunk(b'IHDR', header) + png_chunk(b'IDAT', data)
            + png_chunk(b'IEND', b''))


def lzw_codes(indices, min_code_size):
    """GIF's variable-length LZW: yields (code, width in bits) pairs."""
    clear, end = 1 << min_code_size, (1 << min_code_size) + 1
    code_size, next_code, table = min_code_size + 1, end + 1, {}
    yield clear, code_size
    prefix = indices[0]
    for index in indices[1:]:
        if (prefix, index) in table:
            prefix = table[prefix, index]
            continue
        yield prefix, code_size
        if next_code < 4096:
            table[prefix, index] = next_code
            # The decoder adds this entry one code later, so it widens exactly here.
            if next_code == 1 << code_size:
                code_size += 1
            next_code += 1
        else:
            yield clear, code_size
            code_size, next_code, table = min_code_size + 1, end + 1, {}
        prefix = index
    yield prefix, code_size
    yield end, code_size


def gif_image_data(indices, min_code_size=8):
    """The LZW codes packed least significant bit first, in sub-blocks of up to 255 bytes."""
    accumulator = bit_count = 0
    packed = bytearray()
    for code, width in lzw_codes(indices, min_code_size):
        accumulator |= code << bit_count
        bit_count += width
        while bit_count >= 8:
            packed.append(accumulator & 0xFF)
            accumulator >>= 8
            bit_count -= 8
    if bit_count:
        packed.append(accumulator)
    blocks = b''.join(bytes([len(packed[i:i + 255])]) + packed[i:i + 255]
                      for i in range(0, len(packed), 255))
    return bytes([min_code_size]) + blocks + b'\0'


def gif_bytes(picture):
    """A single-frame GIF89a with a full 256-entry colour table; None is the transparent one."""
    height, width = len(picture), len(picture[0])
    colours, indices = palette_of(picture)
    transparent = colours.index(None)
    table = b''.join(bytes(c) if c else b'\xff\xff\xff' for c in colours)
    table += b'\0' * (768 - len(table))
    screen = struct.pack('<HHBBB', width, height, 0xF7, transparent, 0)
    control = struct.pack('<BBBBHBB', 0x21, 0xF9, 4, 0x01, 0, transparent, 0)
    descriptor = struct.pack('<BHHHHB', 0x2C, 0, 0, width, height, 0)
    return (b'GIF89a' + screen + table + control + descriptor + gif_image_data(indices)
            + b'\x3b')


def bmp_bytes(picture):
    """An uncompressed 8-bit palette bitmap holding just the colours the picture uses."""
    height, width = len(picture), len(picture[0])
    colours, indices = palette_of(picture)
    stride = (width + 3) // 4 * 4
    rows = [bytes(indices[y * width:(y + 1) * width]).ljust(stride, b'\0') for y in range(height)]
    pixels = b''.join(reversed(rows))  # bottom-up
    table = b''.join(bytes(c[::-1]) + b'\0' for c in colours)
    offset = 14 + 40 + len(table)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 8, 0, len(pixels), 3780, 3780,
                       len(colours), 0)
    return struct.pack('<2sIHHI', b'BM', offset + len(pixels), 0, 0, offset) + info + table + pixels


def artwork():
    pictures = {'morlend.ico': ico_bytes([draw_icon(1), draw_icon(2)])}
    for scale, suffix in ((1, ''), (2, '@2x')):
        pictures.update({
            'morlend%s.png' % suffix: png_bytes(draw_icon(scale)),
            'dnd%s.gif' % suffix: gif_bytes(draw_drop_area(scale)),
            'ent%s.bmp' % suffix: bmp_bytes(draw_key_cap('ENT', 21, scale)),
            'esc%s.bmp' % suffix: bmp_bytes(draw_key_cap('ESC', 21, scale)),
            'f1%s.bmp' % suffix: bmp_bytes(draw_key_cap('F1', 14, scale)),
        })
    return pictures


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    os.makedirs(folder, exist_ok=True)
    for name, data in artwork().items():
        with open(os.path.join(folder, name), 'wb') as file:
            file.write(data)


if __name__ == '__main__':
    main()
