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

    def scaled(self, factor):
        return Rect(round(self.x * factor), round(self.y * factor), round(self.width * factor),
                    round(self.height * factor))


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


def description(accessible):
    return fresh(accessible).description


def actions(accessible):
    """What a screen reader offers to do with it: (action, key binding) pairs."""
    action = accessible.queryAction()
    return [(action.getName(i), action.getKeyBinding(i)) for i in range(action.nActions)]


def do_action(accessible, name):
    """Does the action as a screen reader does it; returns once the program has answered."""
    action = accessible.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    return action.doAction(names.index(name))


def value(accessible):
    """The value of a gauge and its range: (current, minimum, maximum)."""
    gauge = accessible.queryValue()
    return (gauge.currentValue, gauge.minimumValue, gauge.maximumValue)


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


class EventLog:
    """What the programs tell a screen reader of their changes while it is open: events of the
    kinds given ('object:text-changed', ...), as (kind, role, name) with the event's data."""

    def __init__(self, *kinds):
        self._kinds = kinds
        self.events = []
        for kind in kinds:
            _pyatspi().Registry.registerEventListener(self._record, kind)

    def _record(self, event):
        self.events.append((event.type, role(event.source), event.source.name, event.any_data))

    def pump(self):
        """Takes in the events that have arrived."""
        from gi.repository import GLib
        context = GLib.MainContext.default()
        while context.iteration(False):
            pass
        return self.events

    def close(self):
        for kind in self._kinds:
            _pyatspi().Registry.deregisterEventListener(self._record, kind)
