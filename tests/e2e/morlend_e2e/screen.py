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
