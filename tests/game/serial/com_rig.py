#!/usr/bin/env python3
"""Runs a command with pairs of COM ports joined back to back by a socat pty pair.

    com_rig.py [--pair A:B]... -- command [args...]

For each pair a fresh socat joins two ptys; COMA and COMB are mapped to them through
HKLM\\Software\\Wine\\Ports and the prefix's dosdevices links (the links alone are reset by
Wine when a session starts; the registry alone is read only when one starts). The command sees
WL_COM_PAIRS="A:B,..." and WL_COM_RIG=<dir>. A test may end a pair's socat and start it again by
writing "down A" or "up A" into <dir>/control; the rig answers by creating <dir>/done.<n>.
A COM number is locked for the whole run, so tests that share a number never overlap.
GoogleTest's --gtest_list_tests runs the command without any set-up.
"""
import ctypes
import fcntl
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

PR_SET_PDEATHSIG = 1


def die_with_parent():
    ctypes.CDLL(None).prctl(PR_SET_PDEATHSIG, signal.SIGTERM)


def wine_prefix():
    prefix = os.environ.get("WINEPREFIX") or os.path.expanduser("~/.wine")
    return prefix


def lock_ports(numbers):
    lock_dir = os.path.join(wine_prefix(), ".wl-locks")
    os.makedirs(lock_dir, exist_ok=True)
    held = []
    for n in sorted(set(numbers)):
        f = open(os.path.join(lock_dir, "com%d.lock" % n), "w")
        fcntl.flock(f, fcntl.LOCK_EX)
        held.append(f)
    return held


class Pair:
    def __init__(self, work, a, b):
        self.a, self.b = a, b
        self.link_a = os.path.join(work, "com%d" % a)
        self.link_b = os.path.join(work, "com%d" % b)
        self.proc = None

    def up(self):
        if self.proc and self.proc.poll() is None:
            return
        for link in (self.link_a, self.link_b):
            if os.path.lexists(link):
                os.unlink(link)
        self.proc = subprocess.Popen(
            ["socat", "pty,raw,echo=0,link=" + self.link_a, "pty,raw,echo=0,link=" + self.link_b],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            preexec_fn=die_with_parent)
        deadline = time.monotonic() + 30  # generous: a busy machine may be slow to start socat
        while not (os.path.exists(self.link_a) and os.path.exists(self.link_b)):
            if time.monotonic() > deadline or self.proc.poll() is not None:
                raise RuntimeError("socat did not create the ptys")
            time.sleep(0.01)

    def down(self):
        if self.proc and self.proc.poll() is None:
            self.proc.terminate()
            try:
                self.proc.wait(5)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        self.proc = None


def map_ports(pairs):
    lines = ["REGEDIT4", "", "[HKEY_LOCAL_MACHINE\\Software\\Wine\\Ports]"]
    for p in pairs:
        for n, link in ((p.a, p.link_a), (p.b, p.link_b)):
            lines.append('"COM%d"="%s"' % (n, link))
    reg = os.path.join(os.path.dirname(pairs[0].link_a), "ports.reg")
    with open(reg, "w") as f:
        f.write("\r\n".join(lines) + "\r\n")
    subprocess.run(["wine", "regedit", "/s", reg], stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)
    dosdevices = os.path.join(wine_prefix(), "dosdevices")
    for p in pairs:
        for n, link in ((p.a, p.link_a), (p.b, p.link_b)):
            target = os.path.join(dosdevices, "com%d" % n)
            if os.path.lexists(target):
                os.unlink(target)
            os.symlink(link, target)


def serve_control(work, pairs, stop):
    """Ends or restarts a pair's socat when the test asks for it."""
    control = os.path.join(work, "control")
    by_number = {}
    for p in pairs:
        by_number[p.a] = p
        by_number[p.b] = p
    handled = 0
    while not stop.is_set():
        try:
            with open(control) as f:
                requests = [line.split() for line in f.read().splitlines() if line.strip()]
        except FileNotFoundError:
            requests = []
        while handled < len(requests):
            verb, number = requests[handled][0], int(requests[handled][1])
            pair = by_number.get(number)
            if pair:
                pair.up() if verb == "up" else pair.down()
            handled += 1
            open(os.path.join(work, "done.%d" % handled), "w").close()
        time.sleep(0.005)


def main(argv):
    if "--" not in argv:
        sys.exit("usage: com_rig.py [--pair A:B]... -- command...")
    split = argv.index("--")
    options, command = argv[:split], argv[split + 1:]
    if "--gtest_list_tests" in command:
        return subprocess.call(command)
    numbers = []
    for i, opt in enumerate(options):
        if opt == "--pair":
            a, b = options[i + 1].split(":")
            numbers.append((int(a), int(b)))
    locks = lock_ports([n for pair in numbers for n in pair])
    work = tempfile.mkdtemp(prefix="wl-com.")
    pairs = [Pair(work, a, b) for a, b in numbers]
    stop = threading.Event()
    server = None
    try:
        for p in pairs:
            p.up()
        if pairs:
            map_ports(pairs)
        server = threading.Thread(target=serve_control, args=(work, pairs, stop), daemon=True)
        server.start()
        env = dict(os.environ)
        env["WL_COM_PAIRS"] = ",".join("%d:%d" % n for n in numbers)
        env["WL_COM_RIG"] = work
        code = subprocess.call(command, env=env)
        if code != 0:
            # Shown with the test's output: a test that passed but whose process failed is told apart.
            print("com_rig.py: the command ended with code %d" % code, file=sys.stderr)
        return code
    finally:
        stop.set()
        if server:
            server.join(1)
        for p in pairs:
            p.down()
        shutil.rmtree(work, ignore_errors=True)
        for f in locks:
            f.close()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
