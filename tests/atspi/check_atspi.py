#!/usr/bin/python3
"""AT-SPI client for run-atspi-test: looks at the program's windows as a
screen reader does, through pyatspi, types 12+3= with xdotool and checks what
the calculator tells. Exits 0 when every check passes, 1 otherwise."""

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


descriptions = []


def on_description(event):
    try:
        descriptions.append((event.source.name, event.source.description))
    except Exception:
        pass


app = None
if not wait_for(lambda: find_app() is not None and find_app().childCount >= 3, 30):
    print("FAIL the program's three windows never appeared on the accessibility bus")
    sys.exit(1)
app = find_app()
# Registered once the program is on the bus: it learns of the listener then.
pyatspi.Registry.registerEventListener(on_description, "object:property-change:accessible-description")
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
for role, name in (("label", "Pending operator"), ("label", "Memory in use"), ("list", "Tape")):
    check(any(n.getRoleName() == role and n.name == name for n in nodes), f"a {role} named {name!r}")
# The calculator gets the keyboard focus (no window manager here to give it).
subprocess.run(["xdotool", "search", "--name", "^Calculator$", "windowfocus", "--sync"],
               check=True, timeout=20)
focused = lambda: [n for n in walk(calc) if n.getState().contains(pyatspi.STATE_FOCUSED)]
wait_for(lambda: focused(), 10)
holder = [n for n in focused() if n.name == "Result" and n.getRoleName() == "label"]
check(len(holder) == 1, "the focused control is named 'Result'")
tape = next(n for n in nodes if n.getRoleName() == "list" and n.name == "Tape")
check(tape.childCount == 0, "the tape starts empty")

# Typing: each key's display reaches the screen reader through the focused
# control. The change event names its source; the client reads the
# description when the event arrives, so the keys go one at a time.
told = []
for key, display in (("1", "1."), ("2", "12."), ("+", None), ("3", "3."), ("=", "15.00")):
    before = len(descriptions)
    subprocess.run(["xdotool", "type", key], check=True, timeout=20)
    if display is None:  # "+" leaves the display as it is and writes the tape
        wait_for(lambda: tape.childCount == 1, 5)
        continue
    wait_for(lambda: len(descriptions) > before and descriptions[-1][1] == display, 5)
    told.append(descriptions[-1][1] if len(descriptions) > before else None)
check(told == ["1.", "12.", "3.", "15.00"],
      f"each key raised a description change of 'Result' with the display (got {told})")
check(all(n == "Result" for n, _ in descriptions), "the description changes come from 'Result'")
wait_for(lambda: tape.childCount == 3, 10)
lines = [(item.getRoleName(), item.name) for item in children(tape)]
check(lines == [("list item", "+ 12.00"), ("list item", "+ 3.00"), ("list item", "= 15.00")],
      f"the tape reads as three list items after 12+3= (got {lines})")
selected = [item.name for item in children(tape) if item.getState().contains(pyatspi.STATE_SELECTED)]
check(selected == ["= 15.00"], f"the newest line is the selected one (got {selected})")
if holder:
    check(holder[0].description == "15.00", f"'Result' describes the display 15.00 (got {holder[0].description!r})")

# Up moves the selection as a click on a line does.
subprocess.run(["xdotool", "key", "Up"], check=True, timeout=20)
wait_for(lambda: children(tape)[1].getState().contains(pyatspi.STATE_SELECTED), 5)
selected = [item.name for item in children(tape) if item.getState().contains(pyatspi.STATE_SELECTED)]
check(selected == ["+ 3.00"], f"Up selects the line above (got {selected})")

pyatspi.Registry.deregisterEventListener(on_description, "object:property-change:accessible-description")
print(f"{len(failures)} of the checks failed" if failures else "all checks passed")
sys.exit(1 if failures else 0)
