"""The window under Qt's scale factors, as a user sets QT_SCALE_FACTOR for a dense screen:
the key caps and the drop area are drawn from the pictures drawn at twice their size, so
they are as sharp as the screen allows, and the group captions stay bold. Each scale leaves
its screenshots in the journey's folder: after a drop with the pointer on Cut
(hover-SCALE.png), and with each caption typed into the folder box (caption-N-SCALE.png)."""

import collections
import os

from morlend_e2e import accessibility as a11y
from morlend_e2e import screen
from morlend_e2e.journey import Journey

RESOURCES = os.path.join(os.path.dirname(__file__), os.pardir, os.pardir, os.pardir,
                         'resources')
SCALES = ['1', '1.25', '1.5', '2']

# The buttons' pictures, their size and their place in the button, in the window's pixels.
KEY_CAPS = [('cut_button', 'ent', (21, 10)), ('exit_button', 'esc', (21, 10)),
            ('about_button', 'f1', (14, 10))]
KEY_CAP_PLACE = (4, 7)
DROP_AREA = ('dnd.gif', 'dnd@2x.gif', (205, 21))

# How far (in levels of a colour channel, 0 to 255) a pixel of a sharp picture may be from
# the expected one: Qt's smooth scaling and ImageMagick's bilinear one round apart by a
# level. The small picture blown up to a dense screen is off by 4 to 230.
SHARP = 2

CAPTIONS = ['1. Drop a file to cut:', '2. Select size of resulting files:', '3. Write to:']
# Ink of a bold caption against the same text in the window's regular face. FreeType's
# thickening gives 1.5 at the window's own size, but only 1.24 to 1.41 on denser screens,
# where a caption drawn once more gives 1.64 to 1.73.
BOLD = {'1': 1.35, 'dense': 1.55}
# The caption's line: the top of the group's frame runs through it.
CAPTION_HEIGHT = 14


def device_size(size, scale):
    # As Qt rounds a size to device pixels: halves away from zero.
    return tuple(int(length * scale + 0.5) for length in size)


def shown_picture(small, large, size, scale):
    """The picture as it should be on a screen of this scale."""
    if scale == 1:
        return screen.picture(os.path.join(RESOURCES, small))
    return screen.picture(os.path.join(RESOURCES, large), device_size(size, scale))


def grown(rect, by):
    return a11y.Rect(rect.x - by, rect.y - by, rect.width + 2 * by, rect.height + 2 * by)


def gray(colour):
    return (299 * colour[0] + 587 * colour[1] + 114 * colour[2]) / 1000


def ground(pixels):
    """The gray that most pixels have."""
    return collections.Counter(round(gray(c)) for row in pixels for c in row).most_common(1)[0][0]


def ink(pixels, columns=None):
    """How much darker than their ground the pixels are, in pixels of full black."""
    first, last = columns or (0, len(pixels[0]) - 1)
    light = ground(pixels)
    return sum(max(0.0, 1 - gray(c) / light) for row in pixels for c in row[first:last + 1])


def caption_ink(pixels):
    """The ink of a group's caption in its line, without the frame beside it, which the
    line's first column meets."""
    frame_rows = {row for row, line in enumerate(pixels) if gray(line[0]) < 170}
    dark = ground(pixels) - 40
    inked = [column for column in range(len(pixels[0]))
             if any(gray(line[column]) < dark
                    for row, line in enumerate(pixels) if row not in frame_rows)]
    return ink(pixels, (min(inked), max(inked)))


class DenseScreens(Journey):
    def test_sharp_pictures_and_bold_captions(self):
        source = self.make_source('clip.avi', 3500)
        for scale in SCALES:
            with self.subTest(scale=scale):
                morlend = self.start_morlend(environment={'QT_SCALE_FACTOR': scale})
                try:
                    self.check_pictures(morlend, source, scale)
                    self.check_captions(morlend, scale)
                finally:
                    self.processes.stop(morlend.process)
                    self.morlend = None

    def check_pictures(self, morlend, source, scale):
        controls = morlend.controls
        factor = morlend.scale
        self.drop(source)
        morlend.wait_for(morlend.file_text, source + ' * 3,500 bytes')
        self.rest_pointer_on(controls.cut_button)
        screen.screenshot(self.session, os.path.join(self.work, f'hover-{scale}.png'))

        for name, picture, size in KEY_CAPS:
            button = morlend.extents(getattr(controls, name))
            expected = shown_picture(f'{picture}.bmp', f'{picture}@2x.bmp', size, factor)
            place = device_size(KEY_CAP_PLACE, factor)
            difference = screen.closest_match(screen.pixels(self.session, button), expected,
                                              place)
            self.assertLessEqual(difference, SHARP, f'the key cap {picture}')

        # Where a control's edge falls within a device pixel, its outermost pixels are cut
        # off; the inside of the picture is compared.
        small, large, size = DROP_AREA
        inside = [row[1:-1] for row in shown_picture(small, large, size, factor)[1:-1]]
        margin = 3
        shown = screen.pixels(self.session, grown(morlend.extents(controls.drop_area), margin))
        difference = screen.closest_match(shown, inside, (margin + 1, margin + 1))
        self.assertLessEqual(difference, SHARP, 'the drop area')
        self.user.park_pointer()

    def check_captions(self, morlend, scale):
        controls = morlend.controls
        groups = sorted((c for c in a11y.children(controls.window) if a11y.role(c) == 'panel'),
                        key=lambda group: a11y.extents(group).y)
        folder_box = morlend.extents(controls.folder_box)
        border = round(3 * morlend.scale)
        inside_folder_box = grown(folder_box, -border)
        for index, (group, caption) in enumerate(zip(groups, CAPTIONS)):
            # The same text in the window's regular face, without the text cursor.
            self.user.click(folder_box.centre)
            self.user.key('ctrl+a')
            self.user.type(caption)
            self.user.click(morlend.extents(controls.file_box).centre)
            self.user.park_pointer()
            morlend.wait_for(morlend.folder, caption)
            morlend.wait_for(morlend.focused_control, 'file_box')
            screen.screenshot(self.session,
                              os.path.join(self.work, f'caption-{index + 1}-{scale}.png'))
            line = morlend.extents(group)
            line = a11y.Rect(line.x + border, line.y, line.width - 2 * border,
                             round(CAPTION_HEIGHT * morlend.scale))
            boldness = (caption_ink(screen.pixels(self.session, line))
                        / ink(screen.pixels(self.session, inside_folder_box)))
            self.assertGreater(boldness, BOLD['1' if scale == '1' else 'dense'],
                               f'the caption "{caption}"')
