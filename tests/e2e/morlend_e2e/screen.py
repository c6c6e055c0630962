"""The screen's pixels, as a user sees them."""


def screenshot(session, path):
    session.run(['import', '-window', 'root', path])


def pixels(session, rect):
    """The colours of a rectangle of the screen, as rows of (red, green, blue)."""
    ppm = session.run(['import', '-window', 'root', '-crop',
                       f'{rect.width}x{rect.height}+{rect.x}+{rect.y}', '-depth', '8',
                       'ppm:-']).stdout
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
