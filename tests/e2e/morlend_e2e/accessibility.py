"""What a program shows, read from outside through the accessibility bus (AT-SPI)."""

from dataclasses import dataclass


def _pyatspi():
    # Imported on first use: the client connects to the buses named in the environment,
    # which the session sets when it starts.
    import pyatspi
    return pyatspi


@dataclass(frozen=True)
class Rect:
    x: int
    y: int
    width: int
    height: int

    @property
    def centre(self):
        return (self.x + self.width // 2, self.y + self.height // 2)


def application(pid):
    """The program with this process id, as the accessibility bus lists it, or None."""
    for candidate in _pyatspi().Registry.getDesktop(0):
        try:
            if candidate is not None and candidate.get_process_id() == pid:
                return candidate
        except Exception:  # an application that ended while we looked
            continue
    return None


def fresh(accessible):
    # The client caches names and states and refreshes them only from events it listens
    # for; a journey wants what the program shows now.
    accessible.clear_cache()
    return accessible


def children(accessible):
    return [child for child in fresh(accessible) if child is not None]


def descendants(accessible):
    for child in children(accessible):
        yield child
        yield from descendants(child)


def role(accessible):
    return accessible.getRoleName()


def name(accessible):
    return fresh(accessible).name


def text(accessible):
    text_interface = accessible.queryText()
    return text_interface.getText(0, text_interface.characterCount)


def states(accessible):
    pyatspi = _pyatspi()
    return {pyatspi.stateToString(state) for state in fresh(accessible).getState().getStates()}


def extents(accessible):
    box = accessible.queryComponent().getExtents(_pyatspi().DESKTOP_COORDS)
    return Rect(box.x, box.y, box.width, box.height)


def top_levels(application_accessible):
    """The program's windows that are on the screen."""
    return [window for window in children(application_accessible)
            if 'showing' in states(window)]
