"""The screen's pixels, as a user sees them, and the pictures they are drawn from."""

import subprocess


def screenshot(session, path):
    session.run(['import', '-window', 'root', path])


def pixels(session, rect):
    """The colours of a rectangle of the screen, as rows of (red, green, blue)."""
    ppm = session.run(['import', '-window', 'root', '-crop',
                       f'{rect.width}x{rect.height}+{rect.x}+{rect.y}', '-depth', '8',
                       'ppm:-']).stdout
    return _rows(ppm)


def picture(path, size=None):
    """The colours of a picture file, as rows of (red, green, blue), None where it is not
    opaque (what lies beneath shows there); resampled to size (width, height) if given,
    bilinearly, as Qt's smooth scaling does."""
    resize = []
    if size:
        resize = ['-interpolate', 'bilinear', '-interpolative-resize', f'{size[0]}x{size[1]}!']
    pam = subprocess.run(['convert', path, *resize, '-alpha', 'on', '-depth', '8', 'pam:-'],
                         capture_output=True, check=True).stdout
    # A PAM: lines of "NAME value" up to ENDHDR, then red, green, blue and opacity.
    header, data = pam.split(b'ENDHDR\n', 1)
    fields = dict(line.split(b' ', 1) for line in header.splitlines()[1:])
    width, height = int(fields[b'WIDTH']), int(fields[b'HEIGHT'])
    colours = [tuple(data[at:at + 3]) if data[at + 3] == 255 else None
               for at in range(0, 4 * width * height, 4)]
    return [colours[row * width:(row + 1) * width] for row in range(height)]


def difference(shown, expected, x, y):
    """How far the expected picture is from the part of the shown one whose top left corner
    is at (x, y): the largest difference of a colour channel, from 0 to 255, where the
    expected one is opaque."""
    return max(abs(a - b)
               for expected_row, shown_row in zip(expected, shown[y:y + len(expected)])
               for colour, shown_colour in zip(expected_row, shown_row[x:x + len(expected_row)])
               if colour is not None
               for a, b in zip(colour, shown_colour))


def closest_match(shown, expected, near, reach=2):
    """The least difference of the expected picture from the shown one, placed within reach
    pixels of near (x, y): where a control's edge falls is rounded to whole pixels."""
    return min(difference(shown, expected, near[0] + dx, near[1] + dy)
               for dy in range(-reach, reach + 1) for dx in range(-reach, reach + 1)
               if 0 <= near[0] + dx and near[0] + dx + len(expected[0]) <= len(shown[0])
               and 0 <= near[1] + dy and near[1] + dy + len(expected) <= len(shown))


def _rows(ppm):
    # A binary PPM: "P6", width, height and the largest value, then the pixels.
    fields = ppm.split(maxsplit=4)
    width, height = int(fields[1]), int(fields[2])
    data = fields[4]
    return [[tuple(data[3 * (row * width + column):3 * (row * width + column) + 3])
             for column in range(width)] for row in range(height)]


def window_screenshot(session, window_id, path):
    """The window as the user sees it, with the window manager's frame around it."""
    # xwininfo, as xdotool adds the frame's offset to the place of a framed window once more.
    info = session.run(['xwininfo', '-id', str(window_id)], text=True).stdout
    place = {key.strip(): int(value) for key, value in
             (line.split(':') for line in info.splitlines()
              if line.strip().startswith(('Absolute upper-left', 'Width', 'Height')))}
    frame = session.run(['xprop', '-id', str(window_id), '_NET_FRAME_EXTENTS'], text=True).stdout
    left, right, top, bottom = (int(width) for width in frame.split('=')[1].split(','))
    width, height = place['Width'] + left + right, place['Height'] + top + bottom
    x, y = place['Absolute upper-left X'] - left, place['Absolute upper-left Y'] - top
    session.run(['import', '-window', 'root', '-crop', f'{width}x{height}+{x}+{y}', '+repage',
                 path])
