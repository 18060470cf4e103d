#!/usr/bin/env python3
"""The program on a Wayland compositor (a headless Weston), with nothing but
WAYLAND_DISPLAY to find it: it starts on Qt's Wayland plugin and writes nothing
on stderr, first with the Demo window, then with --calculator. The
calculator's inside, measured in the compositor's own screenshot, holds the
whole layout: 391 x 309 pixels of the window's background with nothing cut at
its bottom and right edges. The screenshots stay in OUTDIR to look at.

wayland-test.py PROGRAM OUTDIR
"""
import glob
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

INSIDE = (391, 309)  # 5900 x 4950 twips less the reference frame, at 96 dpi
SOCKET = "tallyroll-test"
WESTON_INI = """[core]
idle-time=0
[shell]
background-color=0xff000000
panel-position=none
startup-animation=none
animation=none
close-animation=none
"""

failures = []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what)
    if not ok:
        failures.append(what)


def load(path):
    """The picture as (width, height, rows of RGB bytes)."""
    ppm = subprocess.run(["convert", path, "-alpha", "off", "-depth", "8", "ppm:-"],
                         check=True, capture_output=True).stdout
    magic, w, h, _, data = ppm.split(maxsplit=4)
    assert magic == b"P6"
    w, h = int(w), int(h)
    return w, h, [data[y * w * 3:(y + 1) * w * 3] for y in range(h)]


def window_box(rows):
    """Left, top, right, bottom (inclusive) of everything not the black desktop."""
    ys = [y for y, row in enumerate(rows) if row.strip(b"\0")]
    if not ys:
        return None
    lefts = [(len(rows[y]) - len(rows[y].lstrip(b"\0"))) // 3 for y in ys]
    rights = [(len(rows[y].rstrip(b"\0")) - 1) // 3 for y in ys]
    return min(lefts), ys[0], max(rights), ys[-1]


def inside(rows):
    """The window's inner area: the bounding box of its background colour,
    the colour with the largest bounding box among those the title bar (the
    window's top rows) does not show. Returns (colour, box) or None."""
    box = window_box(rows)
    if not box:
        return None
    l, t, r, b = box
    title = {rows[y][x * 3:x * 3 + 3] for y in range(t, min(t + 10, b + 1)) for x in range(l, r + 1)}
    boxes = {}
    for y in range(t, b + 1):
        row = rows[y]
        for x in range(l, r + 1):
            c = row[x * 3:x * 3 + 3]
            if c in title:
                continue
            k = boxes.get(c)
            if k is None:
                boxes[c] = [x, y, x, y]
            else:
                k[0] = min(k[0], x)
                k[2] = max(k[2], x)
                k[3] = y
    if not boxes:
        return None
    colour, k = max(boxes.items(), key=lambda i: (i[1][2] - i[1][0] + 1) * (i[1][3] - i[1][1] + 1))
    return colour, tuple(k)


def main():
    program, out = sys.argv[1], sys.argv[2]
    for tool in ("weston", "weston-screenshooter", "convert"):
        if not shutil.which(tool):
            print(f"FAIL {tool} is missing (packages weston and imagemagick: see packages.txt)")
            return 1
    os.makedirs(out, exist_ok=True)
    runtime = tempfile.mkdtemp(prefix="tallyroll-wayland-")  # mode 0700
    procs = []
    try:
        ini = os.path.join(runtime, "weston.ini")
        with open(ini, "w") as f:
            f.write(WESTON_INI)
        env = {k: v for k, v in os.environ.items()
               if k not in ("DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET", "QT_QPA_PLATFORM",
                            "XDG_SESSION_TYPE", "XDG_RUNTIME_DIR")}
        env["XDG_RUNTIME_DIR"] = runtime
        # --debug lets weston-screenshooter take pictures.
        weston = subprocess.Popen(
            ["weston", "--backend=headless-backend.so", f"--socket={SOCKET}", "--use-pixman",
             "--debug", "--width=1024", "--height=768", f"--config={ini}"],
            env=env, stdout=subprocess.DEVNULL, stderr=open(os.path.join(out, "weston.log"), "w"))
        procs.append(weston)
        deadline = time.time() + 20
        while not os.path.exists(os.path.join(runtime, SOCKET)) and time.time() < deadline:
            time.sleep(0.1)
        if not os.path.exists(os.path.join(runtime, SOCKET)):
            print("FAIL weston did not open its socket (see weston.log)")
            return 1
        env["WAYLAND_DISPLAY"] = SOCKET
        # On every fifth day of the month the calculator waits behind the
        # title window, which only a click closes: run in a time zone where
        # today is another day (local days 26 hours apart, so one of them
        # is no multiple of 5).
        for tz in ("UTC0", "TTT-14", "TTT+12"):
            os.environ["TZ"] = tz
            time.tzset()
            if time.localtime().tm_mday % 5 != 0:
                env["TZ"] = tz
                break

        def screenshot(name):
            for old in glob.glob(os.path.join(runtime, "wayland-screenshot*.png")):
                os.remove(old)
            subprocess.run(["weston-screenshooter"], cwd=runtime, env=env, timeout=20,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            taken = glob.glob(os.path.join(runtime, "wayland-screenshot*.png"))
            if not taken:
                return None
            path = os.path.join(out, name)
            shutil.move(taken[0], path)
            return load(path)[2]

        for name, args in (("Demo", []), ("calculator", ["--calculator"])):
            err_path = os.path.join(out, f"{name}.stderr")
            with open(err_path, "w") as err:
                app = subprocess.Popen([program, *args], env=env, stdout=subprocess.DEVNULL,
                                       stderr=err)
            procs.append(app)
            picture = f"wayland-{name}.png"
            # Until the window is drawn and two pictures in a row agree.
            found, last = None, None
            deadline = time.time() + 30
            while time.time() < deadline and app.poll() is None:
                time.sleep(0.5)
                rows = screenshot(picture)
                now = (window_box(rows) if name == "Demo" else inside(rows)) if rows else None
                if now and now == last:
                    found = now
                    break
                last = now
            maps = ""
            if app.poll() is None:
                with open(f"/proc/{app.pid}/maps") as f:
                    maps = f.read()
                app.send_signal(signal.SIGTERM)
            app.wait(timeout=20)
            check(found is not None, f"{name}: a window shows on the compositor ({picture})")
            check("libqwayland" in maps, f"{name}: runs on Qt's Wayland plugin")
            with open(err_path) as f:
                said = f.read()
            check(said == "", f"{name}: nothing on stderr (got {said[:300]!r})")
            if name == "calculator" and found:
                colour, (l, t, r, b) = found
                size = (r - l + 1, b - t + 1)
                check(size == INSIDE, f"the calculator's inside is {INSIDE[0]} x {INSIDE[1]} "
                                      f"(got {size[0]} x {size[1]}, background {tuple(colour)})")
                rows = load(os.path.join(out, picture))[2]
                bottom = {rows[b][x * 3:x * 3 + 3] for x in range(l, r + 1)}
                right = {rows[y][r * 3:r * 3 + 3] for y in range(t, b + 1)}
                check(bottom == {colour} and right == {colour},
                      "nothing reaches the inside's bottom row or right column")
    finally:
        for p in reversed(procs):
            if p.poll() is None:
                p.terminate()
                try:
                    p.wait(timeout=10)
                except subprocess.TimeoutExpired:
                    p.kill()
        shutil.rmtree(runtime, ignore_errors=True)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
