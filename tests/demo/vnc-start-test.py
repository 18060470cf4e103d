#!/usr/bin/env python3
"""How tallyroll-vnc starts the program: vnc-start-test.py COMMAND.

A wrong argument gets tallyroll's usage and status 2 before anything starts
(stand-ins for Xvnc and vncpasswd first on PATH record any start). A good run
gives the program the caller's umask and a runtime directory of its own
(mode 0700, the user's, removed with the run), and Qt warns about none.
"""
import os
import select
import signal
import stat
import subprocess
import sys
import tempfile
import time

command = sys.argv[1]
failures = []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what)
    if not ok:
        failures.append(what)


def wrong_argument():
    with tempfile.TemporaryDirectory() as stubs:
        marker = os.path.join(stubs, "started")
        for tool in ("Xvnc", "vncpasswd"):
            path = os.path.join(stubs, tool)
            with open(path, "w") as f:
                f.write(f"#!/bin/sh\necho {tool} >> '{marker}'\nexit 1\n")
            os.chmod(path, 0o755)
        env = dict(os.environ, PATH=stubs + ":" + os.environ["PATH"])
        run = subprocess.run([command, "--calculator", "--bogus"], env=env,
                             capture_output=True, text=True, timeout=60)
        check(run.returncode == 2, f"a wrong argument: status 2 (got {run.returncode})")
        check("Unknown option 'bogus'" in run.stderr and "Usage: tallyroll" in run.stderr,
              "a wrong argument: tallyroll's usage on stderr")
        check(run.stdout == "", "a wrong argument: no password line")
        check(not os.path.exists(marker), "a wrong argument: neither vncpasswd nor Xvnc ran")


def descendants(pid):
    """Process ids below `pid`, from /proc."""
    parents = {}
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open(f"/proc/{entry}/stat") as f:
                    fields = f.read().rsplit(")", 1)[1].split()
                parents[int(entry)] = int(fields[1])
            except OSError:
                pass
    found, todo = [], [pid]
    while todo:
        p = todo.pop()
        kids = [c for c, parent in parents.items() if parent == p]
        found += kids
        todo += kids
    return found


def program_below(pid):
    for p in descendants(pid):
        try:
            if os.readlink(f"/proc/{p}/exe").endswith("/tallyroll"):
                return p
        except OSError:
            pass
    return None


def good_run():
    env = {k: v for k, v in os.environ.items() if k not in ("XDG_RUNTIME_DIR", "DISPLAY")}
    old = os.umask(0o027)
    try:
        vnc = subprocess.Popen([command, "--calculator"], env=env, stdout=subprocess.PIPE,
                               stderr=subprocess.PIPE, text=True)
    finally:
        os.umask(old)
    try:
        ready, _, _ = select.select([vnc.stdout], [], [], 60)
        line = vnc.stdout.readline() if ready else ""
        check("password" in line, "a good run: the password line")
        app = None
        for _ in range(100):
            app = program_below(vnc.pid)
            if app:
                break
            time.sleep(0.1)
        check(app is not None, "a good run: the program runs")
        if app is None:
            return
        time.sleep(2)  # let it open its window and say what it has to say
        with open(f"/proc/{app}/status") as f:
            umask = [l.split()[1] for l in f if l.startswith("Umask:")][0]
        check(umask == "0027", f"the program has the caller's umask 0027 (got {umask})")
        with open(f"/proc/{app}/environ", "rb") as f:
            environ = dict(e.split(b"=", 1) for e in f.read().split(b"\0") if b"=" in e)
        runtime = environ.get(b"XDG_RUNTIME_DIR", b"").decode()
        info = os.stat(runtime) if runtime and os.path.isdir(runtime) else None
        check(info is not None and stat.S_IMODE(info.st_mode) == 0o700
              and info.st_uid == os.getuid(),
              f"the program's runtime directory {runtime!r} is the user's, mode 0700")
    finally:
        vnc.send_signal(signal.SIGTERM)
        _, err = vnc.communicate(timeout=60)
    check(not runtime or not os.path.exists(runtime), "the runtime directory goes with the run")
    check("XDG_RUNTIME_DIR" not in err and "QStandardPaths" not in err,
          "no warning about the runtime directory: " + err.strip()[:200])


wrong_argument()
good_run()
sys.exit(1 if failures else 0)
