#!/usr/bin/env python3
"""tallyroll-vnc as a user runs it, ended by one signal: vnc-test.py COMMAND SIGNAL.

While it runs: the VNC port listens on loopback addresses only, offers VNC
authentication alone, refuses a wrong password and accepts the printed one,
and the X display refuses a client without the run's cookie. After the signal:
the exit status is 128 + the signal, nothing listens on the port, the X server
is gone with its lock and socket, and no temporary file is left.
"""
import os
import re
import signal
import socket
import struct
import subprocess
import sys
import tempfile
import time

command, signame = sys.argv[1], sys.argv[2]
sig = getattr(signal, "SIG" + signame)
failures = []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what)
    if not ok:
        failures.append(what)


def listeners(port):
    """Local addresses listening on `port` over TCP, from /proc/net/tcp{,6}."""
    found = []
    for table in ("/proc/net/tcp", "/proc/net/tcp6"):
        with open(table) as f:
            next(f)
            for line in f:
                local, state = line.split()[1], line.split()[3]
                address, p = local.split(":")
                if state == "0A" and int(p, 16) == port:
                    found.append(address)
    return found


LOOPBACK = {"0100007F", "00000000000000000000000001000000"}  # 127.0.0.1 and ::1


def des_response(password, challenge):
    """The VNC authentication answer: the challenge DES-encrypted with the
    password, each key byte's bits reversed."""
    key = bytes(int(f"{b:08b}"[::-1], 2) for b in password.encode()[:8].ljust(8, b"\0"))
    out = subprocess.run(
        ["openssl", "enc", "-des-ecb", "-nopad", "-K", key.hex(),
         "-provider", "legacy", "-provider", "default"],
        input=challenge, capture_output=True, check=True)
    return out.stdout


def recv_exact(s, n):
    data = b""
    while len(data) < n:
        chunk = s.recv(n - len(data))
        if not chunk:
            raise ConnectionError("closed")
        data += chunk
    return data


def vnc_login(port, password):
    """(security types offered, result of VNC authentication: 0 is success)."""
    with socket.create_connection(("127.0.0.1", port), timeout=10) as s:
        version = recv_exact(s, 12)
        assert version.startswith(b"RFB "), version
        s.sendall(b"RFB 003.008\n")
        count = recv_exact(s, 1)[0]
        types = list(recv_exact(s, count))
        if 2 not in types:
            return types, None
        s.sendall(bytes([2]))
        challenge = recv_exact(s, 16)
        answer = des_response(password, challenge) if password is not None else os.urandom(16)
        s.sendall(answer)
        return types, struct.unpack(">I", recv_exact(s, 4))[0]


scratch = tempfile.mkdtemp(prefix="vnc-test.")
env = dict(os.environ, TMPDIR=scratch, XDG_RUNTIME_DIR=scratch)
env.pop("DISPLAY", None)
proc = subprocess.Popen([command], stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                        stdin=subprocess.DEVNULL, env=env, start_new_session=True, text=True)
line = proc.stdout.readline()
m = re.search(r"127\.0\.0\.1:(\d+).*password (\S+);", line)
check(m is not None, f"one line gives the port and the password: {line.strip()!r}")
if m is None:
    proc.kill()
    print(proc.stderr.read())
    sys.exit(1)
port, password = int(m.group(1)), m.group(2)
display = port - 5900
with open(f"/tmp/.X{display}-lock") as f:
    xserver_pid = int(f.read().strip())

found = listeners(port)
check(found and set(found) <= LOOPBACK, f"port {port} listens on loopback only: {found}")
types, result = vnc_login(port, None)
check(types == [2], f"only VNC authentication is offered: {types}")
check(result == 1, f"a wrong password is refused: result {result}")
types, result = vnc_login(port, password)
check(result == 0, f"the printed password is accepted: result {result}")
xenv = dict(env, DISPLAY=f":{display}", XAUTHORITY=os.path.join(scratch, "none"))
refused = subprocess.run(["xdpyinfo"], env=xenv, capture_output=True).returncode != 0
check(refused, "the X display refuses a client without the cookie")
ours = [os.path.join(d, f) for d, _, fs in os.walk(scratch) for f in fs if "tallyroll-vnc." in d]
check(any(f.endswith("passwd") for f in ours) and all(os.stat(f).st_mode & 0o077 == 0 for f in ours),
      f"its password file and other temporary files are the user's alone: {ours}")

# Ctrl+C and a closed terminal reach the whole process group; kill(1) reaches the script.
time.sleep(0.5)
if sig == signal.SIGTERM:
    os.kill(proc.pid, sig)
else:
    os.killpg(proc.pid, sig)
try:
    status = proc.wait(timeout=30)
except subprocess.TimeoutExpired:
    os.killpg(proc.pid, signal.SIGKILL)
    status = None
check(status == 128 + sig, f"SIG{signame} ends it with status {128 + sig}: {status}")

check(listeners(port) == [], f"nothing listens on port {port} afterwards")
try:
    os.kill(xserver_pid, 0)
    gone = False
except ProcessLookupError:
    gone = True
check(gone, "the X server has ended")
left = [p for p in (f"/tmp/.X{display}-lock", f"/tmp/.X11-unix/X{display}") if os.path.exists(p)]
check(left == [], f"the X server's lock and socket are gone: {left}")
remaining = [os.path.join(d, f) for d, ds, fs in os.walk(scratch) for f in fs + ds]
check(remaining == [], f"no temporary file remains: {remaining}")
subprocess.run(["rm", "-rf", scratch])
sys.exit(1 if failures else 0)
