#!/usr/bin/env python3
"""Draws Morlend's artwork and writes it as the files the program embeds and installs.

    python3 resources/generate_artwork.py [OUTPUT_FOLDER]

Writes morlend.ico, morlend.png, dnd.gif, ent.bmp, esc.bmp and f1.bmp into OUTPUT_FOLDER
(by default the folder of this script), and each picture drawn again at twice its size for
dense screens, named as Qt looks for it: morlend@2x.png, dnd@2x.gif, ent@2x.bmp, esc@2x.bmp
and f1@2x.bmp; morlend.ico holds both sizes. The program's icon is drawn for the desktop's
other sizes as well, each in its own pixels (morlend-22.png, morlend-24.png, morlend-48.png,
morlend-64.png, morlend-128.png, morlend-256.png), and as the scalable morlend.svg. Only the
standard library is used, and every run writes the same bytes, so the committed images can be
checked against a fresh run.
"""

import bisect
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


YELLOW_TOP, YELLOW_BOTTOM = (255, 244, 150), (240, 188, 16)
GREY_TOP, GREY_BOTTOM = (250, 250, 250), (178, 178, 178)


def saw(columns, start):
    """The cut's row in each inner column, left to right: a saw rising to the right, one row
    up, then two up and one down in turn."""
    rows = [start, start - 1]
    while len(rows) < columns:
        rows.append(rows[-1] - 2 if len(rows) % 2 == 0 else rows[-1] + 1)
    return rows


# The icon at the sizes where each pixel counts, laid out in its own pixels: the sheet's left,
# top, width and height, and the cut.
PIXEL_ICONS = {
    16: ((2, 1, 11, 14), saw(9, 12)),
    22: ((3, 1, 15, 20), saw(13, 17)),
    24: ((3, 1, 17, 22), saw(15, 18)),
}

# The larger sizes draw the cut as a line, as wide as the outline, smoothed where it slants.
LINE_ICONS = {48: 2, 64: 3, 128: 4, 256: 8}
# Where the sheet stands in them, in 256ths of the size: left, top, right and bottom edges.
LINE_ICON_SHEET = (40, 16, 216, 240)


def draw_icon(size, scale=1):
    """A sheet of paper cut in two: yellow above a jagged cut, light grey below it, laid out in
    the pixels of its size and drawn at a scale."""
    (left, top, width, height), cut = PIXEL_ICONS[size]
    right, bottom = left + width - 1, top + height - 1
    picture = blank(size, size, scale, None)
    fill(picture, left, top, width, height, NEAR_BLACK, scale)
    # Each part shades by row, so the whole part reads as one lit surface.
    yellow = blank(1, max(cut) - top - 1, scale, None)
    shade_rows(yellow, 0, 0, 1, max(cut) - top - 1, YELLOW_TOP, YELLOW_BOTTOM, scale)
    grey = blank(1, bottom - min(cut) - 1, scale, None)
    shade_rows(grey, 0, 0, 1, bottom - min(cut) - 1, GREY_TOP, GREY_BOTTOM, scale)
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


def cut_line():
    """The 16-pixel icon's cut through the middles of its pixels, as parts of the width and
    height of the sheet's inside, run on to its left and right edges."""
    (left, top, width, height), cut = PIXEL_ICONS[16]
    inner_width, inner_height = width - 2, height - 2
    points = [((column + 0.5) / inner_width, (row - top - 1 + 0.5) / inner_height)
              for column, row in enumerate(cut)]

    def run_on(inner, outer, u):
        return (u, inner[1] + (outer[1] - inner[1]) * (u - inner[0]) / (outer[0] - inner[0]))

    return ([run_on(points[0], points[1], 0.0)] + points[1:-1]
            + [run_on(points[-1], points[-2], 1.0)])


def line_icon_geometry(size):
    """The sheet's outer edges in pixels, the outline's width and the cut in pixels."""
    outline = LINE_ICONS[size]
    left, top, right, bottom = (round(edge * size / 256) for edge in LINE_ICON_SHEET)
    inside = (left + outline, top + outline, right - outline, bottom - outline)
    cut = [(inside[0] + u * (inside[2] - inside[0]), inside[1] + v * (inside[3] - inside[1]))
           for u, v in cut_line()]
    return (left, top, right, bottom), outline, inside, cut


def distance_to_line(x, y, line):
    nearest = float('inf')
    for (ax, ay), (bx, by) in zip(line, line[1:]):
        dx, dy = bx - ax, by - ay
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
        nearest = min(nearest, ((x - ax - t * dx) ** 2 + (y - ay - t * dy) ** 2) ** 0.5)
    return nearest


def height_of_line(x, line):
    for (ax, ay), (bx, by) in zip(line, line[1:]):
        if x <= bx:
            return ay + (by - ay) * (x - ax) / (bx - ax)
    return line[-1][1]


def draw_line_icon(size):
    """The sheet drawn for a large size: its edges on whole pixels, the cut a line as wide as
    the outline, each pixel on the line's edge mixed from samples spread over it."""
    (left, top, right, bottom), outline, inside, cut = line_icon_geometry(size)
    picture = blank(size, size, 1, None)
    fill(picture, left, top, right - left, bottom - top, NEAR_BLACK, 1)
    half = outline / 2
    highest, lowest = min(y for _, y in cut), max(y for _, y in cut)
    samples = [(i + 0.5) / 4 for i in range(4)]
    for y in range(inside[1], inside[3]):
        yellow = blend(YELLOW_TOP, YELLOW_BOTTOM, min(y - inside[1], int(lowest) - inside[1]),
                       int(lowest) - inside[1])
        grey = blend(GREY_TOP, GREY_BOTTOM, max(0, y - int(highest)), inside[3] - 1 - int(highest))

        def colour_at(px, py):
            if distance_to_line(px, py, cut) <= half:
                return NEAR_BLACK
            return yellow if py < height_of_line(px, cut) else grey

        for x in range(inside[0], inside[2]):
            # Far from the line (which slants at most two rows a column) one sample tells all.
            if abs(y + 0.5 - height_of_line(x + 0.5, cut)) > 3 * (half + 1):
                picture[y][x] = colour_at(x + 0.5, y + 0.5)
                continue
            mixed = [colour_at(x + sx, y + sy) for sy in samples for sx in samples]
            picture[y][x] = tuple((sum(c[i] for c in mixed) + len(mixed) // 2) // len(mixed)
                                  for i in range(3))
    return picture


def svg_icon():
    """The large icon as a scalable picture, in the 256 pixels of the largest one."""
    (left, top, right, bottom), outline, inside, cut = line_icon_geometry(256)
    highest, lowest = min(y for _, y in cut), max(y for _, y in cut)

    def points(corners):
        return ' '.join('%g,%g' % (round(x, 2), round(y, 2)) for x, y in corners)

    def colour(rgb):
        return '#%02x%02x%02x' % rgb

    def gradient(name, start, end, top_colour, bottom_colour):
        return ('<linearGradient id="%s" gradientUnits="userSpaceOnUse" x1="0" y1="%g" x2="0" '
                'y2="%g"><stop offset="0" stop-color="%s"/><stop offset="1" stop-color="%s"/>'
                '</linearGradient>' % (name, round(start, 2), round(end, 2), colour(top_colour),
                                       colour(bottom_colour)))

    above = [(inside[0], inside[1]), (inside[2], inside[1])] + cut[::-1]
    below = cut + [(inside[2], inside[3]), (inside[0], inside[3])]
    return '\n'.join([
        '<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">',
        '<defs>',
        gradient('yellow', inside[1], lowest, YELLOW_TOP, YELLOW_BOTTOM),
        gradient('grey', highest, inside[3], GREY_TOP, GREY_BOTTOM),
        '</defs>',
        '<rect x="%d" y="%d" width="%d" height="%d" fill="%s"/>'
        % (left, top, right - left, bottom - top, colour(NEAR_BLACK)),
        '<polygon points="%s" fill="url(#yellow)"/>' % points(above),
        '<polygon points="%s" fill="url(#grey)"/>' % points(below),
        '<polyline points="%s" fill="none" stroke="%s" stroke-width="%d" '
        'stroke-linejoin="round"/>'
        % (points(cut), colour(NEAR_BLACK), outline),
        '</svg>',
        '']).encode()


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


# Deflate's lengths and distances: the first of each code's range, and its extra bits.
LENGTH_BASES = [3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 15, 17, 19, 23, 27, 31, 35, 43, 51, 59, 67, 83,
                99, 115, 131, 163, 195, 227, 258]
LENGTH_EXTRA_BITS = [0] * 8 + [1] * 4 + [2] * 4 + [3] * 4 + [4] * 4 + [5] * 4 + [0]
DISTANCE_BASES = [1, 2, 3, 4, 5, 7, 9, 13, 17, 25, 33, 49, 65, 97, 129, 193, 257, 385, 513, 769,
                  1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577]
DISTANCE_EXTRA_BITS = [0, 0, 0, 0] + [n for n in range(1, 14) for _ in (0, 1)]


class BitWriter:
    def __init__(self):
        self.data = bytearray()
        self._pending = self._count = 0

    def bits(self, value, count):
        """Numbers go least significant bit first."""
        self._pending |= value << self._count
        self._count += count
        while self._count >= 8:
            self.data.append(self._pending & 0xFF)
            self._pending >>= 8
            self._count -= 8

    def code(self, value, count):
        """Huffman codes go most significant bit first."""
        self.bits(int(format(value, '0%db' % count)[::-1], 2), count)

    def symbol(self, value):
        """A literal, a length or the end, in deflate's fixed code."""
        if value < 144:
            self.code(0x30 + value, 8)
        elif value < 256:
            self.code(0x190 + value - 144, 9)
        elif value < 280:
            self.code(value - 256, 7)
        else:
            self.code(0xC0 + value - 280, 8)

    def finish(self):
        if self._count:
            self.data.append(self._pending)
        return bytes(self.data)


def deflate(data):
    """One block in deflate's fixed code, each byte matched greedily against the last eight
    places where its three bytes stood. Written here, so no library version changes a byte."""
    writer = BitWriter()
    writer.bits(1, 1)  # the last block
    writer.bits(1, 2)  # fixed code
    seen = {}
    at = 0
    while at < len(data):
        length = distance = 0
        for start in reversed(seen.get(data[at:at + 3], [])):
            if at - start > 32768:
                break
            reach, limit = 0, min(258, len(data) - at)
            while reach < limit and data[start + reach] == data[at + reach]:
                reach += 1
            if reach > length:
                length, distance = reach, at - start
        if length >= 3:
            code = bisect.bisect_right(LENGTH_BASES, length) - 1
            writer.symbol(257 + code)
            writer.bits(length - LENGTH_BASES[code], LENGTH_EXTRA_BITS[code])
            code = bisect.bisect_right(DISTANCE_BASES, distance) - 1
            writer.code(code, 5)
            writer.bits(distance - DISTANCE_BASES[code], DISTANCE_EXTRA_BITS[code])
        else:
            writer.symbol(data[at])
            length = 1
        for place in range(at, at + length):
            places = seen.setdefault(data[place:place + 3], [])
            places.append(place)
            del places[:-8]
        at += length
    writer.symbol(256)
    return writer.finish()


def png_bytes(picture):
    """An RGBA PNG, each row filtered by its left neighbours (rows of one shade become zeros)
    and compressed by deflate() above."""
    height, width = len(picture), len(picture[0])
    raw = b''
    for row in picture:
        pixels = b''.join(bytes(c) + b'\xff' if c else b'\0\0\0\0' for c in row)
        raw += b'\x01' + bytes((pixels[i] - (pixels[i - 4] if i >= 4 else 0)) & 0xFF
                               for i in range(len(pixels)))
    data = b'\x78\x01' + deflate(raw) + struct.pack('>I', zlib.adler32(raw))
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
    pictures = {'morlend.ico': ico_bytes([draw_icon(16, 1), draw_icon(16, 2)])}
    for scale, suffix in ((1, ''), (2, '@2x')):
        pictures.update({
            'morlend%s.png' % suffix: png_bytes(draw_icon(16, scale)),
            'dnd%s.gif' % suffix: gif_bytes(draw_drop_area(scale)),
            'ent%s.bmp' % suffix: bmp_bytes(draw_key_cap('ENT', 21, scale)),
            'esc%s.bmp' % suffix: bmp_bytes(draw_key_cap('ESC', 21, scale)),
            'f1%s.bmp' % suffix: bmp_bytes(draw_key_cap('F1', 14, scale)),
        })
    for size in (22, 24):
        pictures['morlend-%d.png' % size] = png_bytes(draw_icon(size))
    for size in LINE_ICONS:
        pictures['morlend-%d.png' % size] = png_bytes(draw_line_icon(size))
    pictures['morlend.svg'] = svg_icon()
    return pictures


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    os.makedirs(folder, exist_ok=True)
    for name, data in artwork().items():
        with open(os.path.join(folder, name), 'wb') as file:
            file.write(data)


if __name__ == '__main__':
    main()
