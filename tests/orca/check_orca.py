#!/usr/bin/python3
"""Client for run-orca-test: starts Orca and the program, types as a blind
user would with xdotool and checks what Orca says after each key, read from
Orca's debug file (one "SPEECH OUTPUT: '...'" record per utterance). Waits
for each utterance rather than for fixed times. Exits 0 when every check
passes, 1 otherwise.
    check_orca.py PROGRAM ORCA_LAUNCHER DEBUG_FILE"""

import os
import re
import signal
import subprocess
import sys
import time

program, launcher, log = sys.argv[1:4]
UTTERANCE = re.compile(r"SPEECH OUTPUT: '(.*?)'(?=\s?[\[{])", re.DOTALL)
failures = []


def spoken():
    try:
        with open(log, encoding="utf-8", errors="replace") as f:
            return [u.strip() for u in UTTERANCE.findall(f.read())]
    except FileNotFoundError:
        return []


def wait_for(predicate, seconds):
    end = time.time() + seconds
    while time.time() < end:
        said = spoken()
        if predicate(said):
            return said
        time.sleep(0.1)
    return spoken()


def check(ok, what, said=None):
    print(("ok   " if ok else "FAIL ") + what)
    if not ok:
        failures.append(what)
        if said is not None:
            print("     Orca said: " + repr(said))


def key(*keys):
    subprocess.run(["xdotool", "key", "--delay", "80", *keys], check=True, timeout=20)


def index_of(said, text, start=0):
    """Index of the first utterance from `start` on that begins with text."""
    return next((i for i in range(start, len(said)) if said[i].startswith(text)), -1)


orca = subprocess.Popen([sys.executable, launcher, "--debug-file=" + log],
                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
app = None
try:
    said = wait_for(lambda s: "Screen reader on." in s, 40)
    if "Screen reader on." not in said:
        print("FAIL Orca never started")
        sys.exit(1)
    env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_ACCESSIBILITY="1", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    app = subprocess.Popen([program], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    window = subprocess.run(["xdotool", "search", "--sync", "--name", "^Calculator$"], check=True,
                            timeout=40, capture_output=True, text=True).stdout.split()[0]
    subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True, timeout=20)
    said = wait_for(lambda s: index_of(s, "Result") >= 0, 30)
    check(index_of(said, "Result read only text") >= 0,
          "the focus holder is read as a read-only text named Result", said)

    # Each step: keys, then utterances expected in this order after them.
    # After a failed step the next ones wait less, so the run stays short.
    STEPS = [
        (["1"], ["1."]),
        (["2"], ["12."]),
        (["plus"], ["plus 12.00"]),
        (["3"], ["3."]),
        (["equal"], ["equals", "15.00, plus 3.00, total 15.00"]),
        (["Up"], ["line 2 of 3, plus 3.00"]),
        (["Up"], ["line 1 of 3, plus 12.00"]),
        (["F2"], ["F2", "Change Tape panel", "Changes here will affect the grand total",
                  "New number text", "12.00 selected"]),
        (["Tab"], ["editable combo box"]),
        (["Tab"], ["Save change push button"]),
        (["Tab"], ["Cancel change push button"]),
        (["Tab"], ["New number text"]),
        (["5", "Return"], ["Result read only text", "8.00"]),
        (["F9"], ["F9", "-8.00"]),
        (["shift+Tab"], ["Tape", "+ 5.00"]),
    ]
    wait = 12
    heard_at = []  # what Orca said after each step's keys
    for keys, expected in STEPS:
        mark = len(spoken())
        key(*keys)

        def heard(s):
            at = mark
            for text in expected:
                # "editable combo box" follows the box's name: look inside too.
                at = next((i for i in range(at, len(s)) if text in s[i]), -1)
                if at < 0:
                    return False
                at += 1
            return True

        said = wait_for(heard, wait)
        ok = heard(said)
        check(ok, f"{' '.join(keys)}: Orca says {expected}", said[mark:])
        heard_at.append(said[mark:])
        wait = 12 if ok else 3

    said = spoken()
    # Nothing said twice: the result of "=", and the box's number after F2.
    check(said.count("15.00, plus 3.00, total 15.00") == 1, "the result of 12+3= is said once", said)
    f2 = heard_at[[k for k, _ in STEPS].index(["F2"])]
    check(len([u for u in f2 if u.startswith("12.00")]) == 1, "F2 reads the box's number once", f2)
    # Tab in the open panel never reached the calculator's other controls.
    tabs = [u for k, h in zip(STEPS, heard_at) if k[0] == ["Tab"] for u in h]
    outside = [u for u in tabs if any(w in u for w in ("Result", "Fixed Decimal", "Backspace", "Tape"))]
    check(not outside, "Tab stayed in the change panel", outside)
finally:
    # Orca leaves on SIGTERM as on its own quit command.
    orca.send_signal(signal.SIGTERM)
    try:
        orca.wait(timeout=15)
    except subprocess.TimeoutExpired:
        orca.kill()
    if app:
        app.terminate()
        try:
            app.wait(timeout=10)
        except subprocess.TimeoutExpired:
            app.kill()

print(f"{len(failures)} of the checks failed" if failures else "all checks passed")
sys.exit(1 if failures else 0)
