#!/usr/bin/python3
"""AT-SPI client for run-atspi-test: looks at the program's windows as a
screen reader does, through pyatspi, types with xdotool and checks what each
event the calculator raises carries (its any_data), not only what the
objects hold afterwards. Exits 0 when every check passes, 1 otherwise."""

import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

APP = "tallyroll-atspi-target"
failures = []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what)
    if not ok:
        failures.append(what)


def pump(seconds):
    """Lets events arrive for a while. libatspi reads the bus while it waits
    for an answer, so a cheap question to the desktop goes with each turn."""
    end = time.time() + seconds
    context = GLib.MainContext.default()
    while time.time() < end:
        pyatspi.Registry.getDesktop(0).childCount
        while context.iteration(False):
            pass
        time.sleep(0.02)


def wait_for(condition, seconds):
    end = time.time() + seconds
    while time.time() < end:
        try:
            if condition():
                return True
        except Exception:
            pass
        pump(0.1)
    return False


def children(node):
    return [node.getChildAtIndex(i) for i in range(node.childCount)]


def walk(node):
    yield node
    if node.getRoleName() in ("list", "combo box"):
        return  # list items are read on their own; a combo box's list and box are its parts
    for child in children(node):
        yield from walk(child)


def find_app():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in children(desktop):
        if app is not None and app.name == APP:
            return app
    return None


def text_of(node):
    """The node's text interface, or None when it has none."""
    try:
        return node.queryText()
    except NotImplementedError:
        return None


def key(*keys):
    subprocess.run(["xdotool", "key", *keys], check=True, timeout=20)


# Every event as it arrived: its type, its source's name and role, and what
# it carried. The source is read when the event is handled, the rest is the
# event's own.
events = []


def on_event(event):
    try:
        source, role = event.source.name, event.source.getRoleName()
    except Exception:
        source, role = None, None
    data = event.any_data if isinstance(event.any_data, str) else None
    events.append((event.type, source, role, event.detail1, data))


def inserted_into(name, since=0):
    return [d for (t, s, _, _, d) in events[since:] if t.startswith("object:text-changed:insert") and s == name]


def focused_since(since):
    return [(s, r) for (t, s, r, d1, _) in events[since:] if t.startswith("object:state-changed:focused") and d1 == 1]


EVENT_TYPES = ["object:text-changed:insert", "object:text-changed:delete", "object:text-caret-moved",
               "object:text-selection-changed", "object:state-changed:focused"]

if not wait_for(lambda: find_app() is not None and find_app().childCount >= 3, 30):
    print("FAIL the program's three windows never appeared on the accessibility bus")
    sys.exit(1)
app = find_app()
# Registered once the program is on the bus: it learns of the listeners then.
for event_type in EVENT_TYPES:
    pyatspi.Registry.registerEventListener(on_event, event_type)
pump(1)

# The windows: names and roles.
windows = {w.name: w.getRoleName() for w in children(app)}
for name, role in (("Demo", "frame"), ("Calculator", "dialog"), ("Title", "dialog")):
    check(windows.get(name) == role, f"window {name!r} has the role {role!r} (got {windows.get(name)!r})")
calc = next(w for w in children(app) if w.name == "Calculator")

# Every button of the calculator: a push button with its spoken name.
BUTTONS = [
    "0", "1", "2", "3", "4", "5", "6", "7", "8", "9",
    "Add", "Subtract", "Multiply", "Divide", "Equals",
    "Square root", "Percent", "Reciprocal", "Change sign", "Decimal point",
    "Backspace", "Clear entry", "Cancel calculation", "Grand total",
    "Memory add", "Memory subtract", "Memory recall", "Memory clear",
    "Clear tape", "Print tape", "Exit", "Save result", "Save change", "Cancel change",
]
nodes = list(walk(calc))
buttons = [n for n in nodes if n.getRoleName() == "push button"]
names = sorted(b.name for b in buttons)
check(names == sorted(BUTTONS), f"the calculator's buttons are named {sorted(BUTTONS)} (got {names})")
unnamed = [n.getRoleName() for n in nodes[1:] if not n.name]
check(not unnamed, f"every control has a name (unnamed: {unnamed})")
labels = {n.name for n in nodes if n.getRoleName() == "label"}
for name in ("Result 0", "Pending operator", "Grand total", "Memory empty"):
    check(name in labels, f"a label named {name!r} (labels: {sorted(labels)})")
check(any(n.getRoleName() == "list" and n.name == "Tape" for n in nodes), "a list named 'Tape'")

# The calculator gets the keyboard focus (no window manager here to give it).
subprocess.run(["xdotool", "search", "--name", "^Calculator$", "windowfocus", "--sync"],
               check=True, timeout=20)
focused = lambda: [n for n in walk(calc) if n.getState().contains(pyatspi.STATE_FOCUSED)]
wait_for(lambda: focused(), 10)
holder = [n for n in focused() if n.name == "Result"]
check(len(holder) == 1 and holder[0].getRoleName() == "text"
      and holder[0].getState().contains(pyatspi.STATE_READ_ONLY),
      "the focused control is a read-only text named 'Result'")
tape = next(n for n in nodes if n.getRoleName() == "list" and n.name == "Tape")
check(tape.childCount == 0, "the tape starts empty")

# Typing: what each key did reaches the screen reader as text inserted into
# the focused holder; the text the event carries is what is spoken.
TOLD = [("1", "1."), ("2", "12."), ("plus", "plus 12.00"), ("3", "3."),
        ("equal", "15.00, plus 3.00, total 15.00")]
start = len(events)
for keysym, told in TOLD:
    before = len(events)
    key(keysym)
    wait_for(lambda: told in inserted_into("Result", before), 5)
heard = inserted_into("Result", start)
check(heard == [t for _, t in TOLD], f"each key's text-inserted event carried what it did (got {heard})")
inserts = [(r, d1) for (t, s, r, d1, _) in events[start:] if t.startswith("object:text-changed:insert")]
check(inserts and all(r == "text" and d1 == 0 for r, d1 in inserts),
      f"they come from the text 'Result', inserted at 0 (got {inserts})")
text = text_of(holder[0]) if holder else None
whole = text.getText(0, -1) if text else None
check(whole == TOLD[-1][1] and text.getNSelections() == 1 and tuple(text.getSelection(0)) == (0, len(whole)),
      f"'Result' holds what it told, selected (got {whole!r})")
wait_for(lambda: tape.childCount == 3, 10)
lines = [(item.getRoleName(), item.name) for item in children(tape)]
check(lines == [("list item", "+ 12.00"), ("list item", "+ 3.00"), ("list item", "= 15.00")],
      f"the tape reads as three list items after 12+3= (got {lines})")
selected = [item.name for item in children(tape) if item.getState().contains(pyatspi.STATE_SELECTED)]
check(selected == ["= 15.00"], f"the newest line is the selected one (got {selected})")
labels = {n.name for n in walk(calc) if n.getRoleName() == "label"}
for name in ("Result 15.00", "Pending operator equals"):
    check(name in labels, f"a label named {name!r} now")

# Up moves the selection as a click on a line does, and says which line.
before = len(events)
key("Up")
wait_for(lambda: inserted_into("Result", before), 5)
check(inserted_into("Result", before) == ["line 2 of 3, plus 3.00"],
      f"Up told the line it selected (got {inserted_into('Result', before)})")
selected = [item.name for item in children(tape) if item.getState().contains(pyatspi.STATE_SELECTED)]
check(selected == ["+ 3.00"], f"Up selects the line above (got {selected})")

# F2: the focus goes to the new number, filled while hidden. Nothing of the
# box is told before its focus, or a screen reader would read it twice.
key("Up")
before = len(events)
key("F2")
wait_for(lambda: ("New number", "text") in focused_since(before), 5)
check(("New number", "text") in focused_since(before), "F2 moves the focus to the text 'New number'")
box = [t for (t, s, _, _, _) in events[before:] if s == "New number"]
first_focus = next((i for i, t in enumerate(box) if t.startswith("object:state-changed:focused")), len(box))
check(not [t for t in box[:first_focus] if t.startswith("object:text")],
      f"no text, caret or selection event of the box came before its focus (got {box})")
panel = {n.name for n in walk(calc) if n.getRoleName() == "label" and n.getState().contains(pyatspi.STATE_SHOWING)}
for name in ("Changes here will affect the grand total", "Old number plus 12.00"):
    check(name in panel, f"the panel shows a label named {name!r}")

# Tab goes round the panel's controls only.
before = len(events)
for _ in range(4):
    key("Tab")
    pump(0.3)
wait_for(lambda: len(focused_since(before)) >= 4, 5)
round_ = [s for s, _ in focused_since(before)]
check(round_ == ["+", "Save change", "Cancel change", "New number"],
      f"Tab goes round the change panel (got {round_})")

# A new number and Enter: the focus comes back to the holder, which reads
# the new total (the focus itself is what the screen reader speaks).
before = len(events)
key("5", "Return")
wait_for(lambda: ("Result", "text") in focused_since(before), 5)
pump(0.5)
text = text_of(holder[0]) if holder else None
whole = text.getText(0, -1) if text else None
check(whole == "8.00" and text.getNSelections() == 0,
      f"'Result' reads the new total as the focus comes back (got {whole!r})")
check(not inserted_into("Result", before), "nothing more is told beside the focus")

# Shift+Tab from the holder goes to the tape, which tells its current line.
before = len(events)
key("shift+Tab")
wait_for(lambda: any(r == "list item" for _, r in focused_since(before)), 5)
items = [s for s, r in focused_since(before) if r == "list item"]
check(items == ["+ 5.00"], f"the tape's current line gets the focus with the tape (got {items})")

for event_type in EVENT_TYPES:
    pyatspi.Registry.deregisterEventListener(on_event, event_type)
print(f"{len(failures)} of the checks failed" if failures else "all checks passed")
sys.exit(1 if failures else 0)
