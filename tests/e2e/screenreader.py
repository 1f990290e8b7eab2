# SPDX-License-Identifier: GPL-3.0-or-later
"""The client side of the end-to-end test: it meets the program only through
AT-SPI, as a screen reader does. Windows and controls are found by role,
name and place on the screen; text goes in through the editable-text
interface, buttons are pressed through their action, and what picture areas
show is read as text.

Import it only once the session's bus addresses are in os.environ: the
AT-SPI library connects on first use.
"""

import pyatspi

from session import Session

# Roles as pyatspi names them.
FRAME = "frame"
ALERT = "alert"
DIALOG = "dialog"
BUTTON = "push button"
TEXT = "text"

TIMEOUT = 10


def role(acc):
    return acc.getRoleName()


def extents(acc):
    """(x, y, width, height) on the screen."""
    box = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.x, box.y, box.width, box.height


def left_to_right(controls):
    """Sorted as the eye reads them: by row, then from the left."""
    return sorted(controls, key=lambda c: (extents(c)[1], extents(c)[0]))


def by_column(controls):
    """Sorted from the left, for panels standing side by side."""
    return sorted(controls, key=lambda c: extents(c)[0])


def describe(acc, depth=0):
    """The tree below acc, one line per node, for failure reports."""
    try:
        text = f" = {read(acc)!r}" if "Text" in acc.get_interfaces() else ""
        line = f"{'  ' * depth}{role(acc)} {acc.name!r} {extents(acc) if depth else ''}{text}"
    except Exception as error:  # a node that went away while we looked
        return f"{'  ' * depth}({error})"
    return "\n".join([line] + [describe(child, depth + 1) for child in acc if child is not None])


def find_all(root, wanted_role, name=None, where=None):
    def matches(acc):
        return (acc is not None and role(acc) == wanted_role and (name is None or acc.name == name)
                and (where is None or where(acc)))
    return pyatspi.findAllDescendants(root, matches)


def find(root, wanted_role, name):
    """The one control of that role and name below root."""
    found = find_all(root, wanted_role, name)
    if len(found) != 1:
        raise AssertionError(f"{len(found)} {wanted_role}(s) named {name!r} in {root.name!r}:\n"
                             + describe(root))
    return found[0]


def read(acc):
    """What a text control or picture area shows, as AT-SPI reads it."""
    return acc.queryText().getText(0, -1)


def is_read_only(acc):
    return not acc.getState().contains(pyatspi.STATE_EDITABLE)


def set_text(box, text):
    if not box.queryEditableText().setTextContents(text):
        raise AssertionError(f"{box.name!r} refused the text {text!r}")
    Session.wait_for(lambda: read(box) == text, TIMEOUT, f"{box.name!r} to hold {text!r}")


def press(button):
    """Presses a button through its action. The toolkit clicks a moment
    later, so what the click does has to be waited for."""
    action = button.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    for wanted in ("Press", "press", "click"):
        if wanted in names:
            action.doAction(names.index(wanted))
            return
    raise AssertionError(f"{button.name!r} has no press action, only {names}")


class Application:
    """The accessible application of one running process."""

    def __init__(self, pid):
        self.pid = pid
        desktop = pyatspi.Registry.getDesktop(0)
        self.root = Session.wait_for(
            lambda: next((a for a in desktop if a is not None and a.get_process_id() == pid), None),
            TIMEOUT, f"process {pid} on the accessibility bus")

    def top_levels(self, *roles):
        return [w for w in self.root if w is not None and (not roles or role(w) in roles)]

    def window_names(self):
        return sorted(w.name for w in self.top_levels(FRAME))

    def window(self, name):
        """The window with that caption, once it has appeared."""
        return Session.wait_for(
            lambda: next((w for w in self.top_levels(FRAME) if w.name == name), None),
            TIMEOUT, f"the window {name!r}")

    def wait_gone(self, name):
        Session.wait_for(lambda: name not in self.window_names(), TIMEOUT, f"the window {name!r} to close")

    def message_box(self):
        return Session.wait_for(lambda: next(iter(self.top_levels(ALERT, DIALOG)), None), TIMEOUT,
                                "a message box")

    def describe(self):
        return describe(self.root)
