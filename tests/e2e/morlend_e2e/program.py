"""The built program, started as a user starts it and read from outside."""

import os
import subprocess
from dataclasses import dataclass, fields

from . import accessibility as a11y
from .waiting import wait_until

CAPTION_PREFIX = 'Morlend '

# How often a search of the screen is tried before its failure counts.
SEARCH_ATTEMPTS = 5

# How far above the window's client area the middle of the window manager's title bar is.
TITLE_BAR_MIDDLE = 9


def version():
    """The version the build gives the program, which its package carries."""
    return os.environ['MORLEND_E2E_VERSION']


def title():
    """The window's caption, which the About box begins with: the name and the version."""
    return CAPTION_PREFIX + version()


@dataclass
class Controls:
    """The window's controls as the accessibility bus shows them."""
    window: object
    drop_area: object
    file_box: object
    size_box: object
    size_text: object
    estimate_box: object
    folder_option: object
    floppy_option: object
    folder_box: object
    clear_box: object
    progress_box: object
    progress_label: object
    cut_button: object
    exit_button: object
    about_button: object


def _by_position(accessibles):
    return sorted(accessibles, key=lambda a: (a11y.extents(a).y, a11y.extents(a).x))


def _only(accessibles, what):
    if len(accessibles) != 1:
        raise AssertionError(f'expected one {what}, found {len(accessibles)}')
    return accessibles[0]


def find_controls(window):
    top = a11y.children(window)

    def of_role(parent_children, role):
        return [c for c in parent_children if a11y.role(c) == role]

    groups = _by_position(of_role(top, 'panel'))
    if len(groups) != 3:
        raise AssertionError(f'expected the three numbered groups, found {len(groups)}')
    file_group, size_group, destination_group = (a11y.children(g) for g in groups)
    size_box = _only(of_role(size_group, 'combo box'), 'size box')
    options = _by_position(of_role(destination_group, 'radio button'))
    buttons = of_role(top, 'push button')

    def button(caption):
        return _only([b for b in buttons if a11y.name(b) == caption], f'button "{caption}"')

    return Controls(
        window=window,
        drop_area=_only(of_role(file_group, 'image'), 'drop area'),
        file_box=_only(of_role(file_group, 'text'), 'file box'),
        size_box=size_box,
        size_text=_only(of_role(a11y.children(size_box), 'text'), 'size text'),
        estimate_box=_only(of_role(size_group, 'text'), 'estimate box'),
        folder_option=options[0],
        floppy_option=options[1],
        folder_box=_only(of_role(destination_group, 'text'), 'folder box'),
        clear_box=_only(of_role(destination_group, 'check box'), 'clear box'),
        progress_box=_only(of_role(top, 'progress bar'), 'progress box'),
        progress_label=_only(of_role(top, 'label'), 'progress label'),
        cut_button=button('Cut'),
        exit_button=button('Exit'),
        about_button=button('About'),
    )


class Morlend:
    """One run of the program, with the locale of the caller's choice."""

    def __init__(self, session, processes, program, locales_folder, work_folder,
                 locale='en_US.UTF-8', environment=None):
        self._session = session
        self._processes = processes
        self._program = program
        self.locale = locale
        # Variables a user may set for every Qt program, such as QT_SCALE_FACTOR.
        self.env = dict(session.env, LANG=locale, LC_ALL=locale, LOCPATH=locales_folder,
                        **(environment or {}))
        # The accessibility bus gives places in Qt's own pixels, which Qt's scale factor
        # makes larger on the screen.
        self.scale = float(self.env.get('QT_SCALE_FACTOR', 1))
        self._log_path = os.path.join(work_folder, 'morlend.log')
        self.process = None
        self.window_id = None
        self.application = None
        self.controls = None

    def start(self, command=None):
        """Starts the program, or the command given (a desktop entry's, say) that starts it,
        and waits for its window. A program given a file may open a box on it at once; the
        window's focus is then not waited for."""
        with open(self._log_path, 'ab') as log:
            self.process = self._processes.start(
                'morlend', command or [self._program], env=self.env,
                cwd=os.path.dirname(self._log_path), stdin=subprocess.DEVNULL, stdout=log,
                stderr=subprocess.STDOUT)
        self.application = wait_until(lambda: a11y.application(self.process.pid),
                                      'the program on the accessibility bus')
        window = wait_until(self._main_window, 'the program\'s window')
        self.window_id = wait_until(lambda: self.x_windows(CAPTION_PREFIX + '.*'),
                                    'the program\'s window on the screen')[0]
        self.controls = find_controls(window)
        if not command:
            wait_until(lambda: self.active_window() == self.window_id,
                       'the program\'s window to have the focus')
        return self

    def _main_window(self):
        for window in a11y.top_levels(self.application):
            if a11y.name(window).startswith(CAPTION_PREFIX):
                return window
        return None

    def x_windows(self, caption_pattern):
        """The program's visible X windows whose caption matches the whole pattern."""
        # xdotool ends with 1 both when nothing matches and when it cannot look, and a journey
        # that asserts that no window shows must not pass on the second. It cannot look, for
        # one, when a window it walks past is destroyed meanwhile (BadWindow), as a closing
        # box's is: only a failure that stays is one.
        for _ in range(SEARCH_ATTEMPTS):
            found = subprocess.run(
                ['xdotool', 'search', '--all', '--onlyvisible', '--pid', str(self.process.pid),
                 '--name', f'^{caption_pattern}$'],
                env=self._session.env, capture_output=True, text=True)
            if not found.stderr:
                return [int(w) for w in found.stdout.split()]
        raise RuntimeError(f'xdotool could not search the screen: {found.stderr.strip()}')

    def active_window(self):
        active = subprocess.run(['xdotool', 'getactivewindow'], env=self._session.env,
                                capture_output=True, text=True)
        return int(active.stdout) if active.returncode == 0 else None

    def activate(self, user):
        """Clicks the window's title bar, as a user does after dragging from another window
        (the drag source has the focus then)."""
        user.click(self.title_bar())
        user.park_pointer()
        wait_until(lambda: self.active_window() == self.window_id,
                   'the program\'s window to have the focus')

    def progress_rows(self):
        """The rows of the window, from its top, that the progress box and its caption take:
        what a run changes of the window."""
        window = a11y.extents(self.controls.window)
        bar = a11y.extents(self.controls.progress_box)
        label = a11y.extents(self.controls.progress_label)
        return range(min(bar.y, label.y) - window.y,
                     max(bar.y + bar.height, label.y + label.height) - window.y)

    def looks_as_before(self, now, before):
        """The window's pixels now are those from before, but for the progress row."""
        rows = self.progress_rows()
        return all(now[y] == before[y] for y in range(len(before)) if y not in rows)

    def move_window(self, x, y):
        """Moves the window, as a user drags it by its title bar, to (x, y) on the screen."""
        subprocess.run(['xdotool', 'windowmove', '--sync', str(self.window_id), str(x), str(y)],
                       env=self._session.env, check=True, capture_output=True)

    def extents(self, control):
        """Where a control is on the screen, in the screen's pixels."""
        return a11y.extents(control).scaled(self.scale)

    def title_bar(self):
        window = self.extents(self.controls.window)
        return (window.x + window.width // 2, window.y - TITLE_BAR_MIDDLE)

    def caption(self):
        return a11y.name(self.controls.window)

    def file_text(self):
        return a11y.text(self.controls.file_box)

    def estimate(self):
        return a11y.text(self.controls.estimate_box)

    def size_text(self):
        return a11y.text(self.controls.size_text)

    def size_list(self):
        lists = [c for c in a11y.children(self.controls.size_box) if a11y.role(c) == 'list']
        return [a11y.name(item) for item in a11y.children(_only(lists, 'size list'))]

    def folder(self):
        return a11y.text(self.controls.folder_box)

    def progress(self):
        return a11y.name(self.controls.progress_label)

    def is_checked(self, control):
        return 'checked' in a11y.states(control)

    def is_enabled(self, control):
        return 'enabled' in a11y.states(control)

    def focused_control(self):
        """The name of the control that has the focus, as Controls names it, or None."""
        for field in fields(self.controls):
            control = getattr(self.controls, field.name)
            if field.name != 'window' and 'focused' in a11y.states(control):
                return field.name
        return None

    def wait_for(self, reading, expected, timeout=None):
        """Waits until a reading (a method above) gives the expected value."""
        arguments = {} if timeout is None else {'timeout': timeout}
        last = []

        def matches():
            last[:] = [reading()]
            return last[0] == expected

        try:
            wait_until(matches, f'{reading.__name__} to read {expected!r}', **arguments)
        except AssertionError as error:
            raise AssertionError(f'{error} (it reads {last[0]!r})') from None

    def has_ended(self):
        return self.process.poll() is not None

    def wait_until_ended(self):
        wait_until(self.has_ended, 'the program to end')
        return self.process.returncode

    def log(self):
        with open(self._log_path, errors='replace') as log:
            return log.read()
