#!/usr/bin/env python3
"""Runs a command beside a watcher of the X display that tells what reaches the X server.

    display_rig.py -- command [args...]

The command sees WL_DISPLAY_RIG=<dir>. It appends one request per line to <dir>/control; the rig
answers request n (counted from 1) with one line in the file <dir>/answer.<n>:

    watch L T R B   counts from now on the pixels the X server receives inside the screen rectangle
                    (the X DAMAGE extension's raw rectangles, clipped to it); answers "ok"
    damage          waits until the display has been quiet for a moment, then answers
                    "<pixels> <rectangles> <bursts>" counted since the watch; a burst is a run of
                    rectangles less than 8 ms apart (what one frame sends)
    cpu NAME...     answers the processor time in milliseconds used so far by each NAME: "x" the X
                    server of $DISPLAY, "wineserver" the Wine server of $WINEPREFIX, any other name the
                    Wine processes of $WINEPREFIX whose command line holds it (their live threads added up), and NAME:main
                    the main thread of such a process

GoogleTest's --gtest_list_tests runs the command without any set-up.
"""
import ctypes
import os
import select
import subprocess
import sys
import tempfile
import threading
import time

QUIET_S = 0.15      # the display counts as quiet after this long without damage
QUIET_BOUND_S = 5   # an answer never waits longer for quiet
BURST_GAP_MS = 8


class DamageEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("drawable", ctypes.c_ulong), ("damage", ctypes.c_ulong),
                ("level", ctypes.c_int), ("more", ctypes.c_int), ("timestamp", ctypes.c_ulong),
                ("x", ctypes.c_short), ("y", ctypes.c_short), ("width", ctypes.c_ushort),
                ("height", ctypes.c_ushort), ("gx", ctypes.c_short), ("gy", ctypes.c_short),
                ("gwidth", ctypes.c_ushort), ("gheight", ctypes.c_ushort)]


class XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("damage", DamageEvent), ("pad", ctypes.c_long * 24)]


class DamageCounter:
    """Pixels the X server receives, from raw damage rectangles on the root window."""

    def __init__(self):
        self.x11 = x11 = ctypes.CDLL("libX11.so.6")
        damage = ctypes.CDLL("libXdamage.so.1")
        x11.XOpenDisplay.restype = ctypes.c_void_p
        x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x11.XDefaultRootWindow.restype = ctypes.c_ulong
        x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        for name in ("XConnectionNumber", "XPending"):
            getattr(x11, name).argtypes = [ctypes.c_void_p]
        x11.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
        x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        damage.XDamageQueryExtension.argtypes = [ctypes.c_void_p, ctypes.c_void_p, ctypes.c_void_p]
        damage.XDamageCreate.restype = ctypes.c_ulong
        damage.XDamageCreate.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int]
        self.display = x11.XOpenDisplay(None)
        if not self.display:
            raise RuntimeError("no X display")
        base, error = ctypes.c_int(), ctypes.c_int()
        if not damage.XDamageQueryExtension(self.display, ctypes.byref(base), ctypes.byref(error)):
            raise RuntimeError("the X server has no DAMAGE extension")
        self.notify = base.value
        damage.XDamageCreate(self.display, x11.XDefaultRootWindow(self.display), 0)  # raw rectangles
        x11.XSync(self.display, 0)
        self.fd = x11.XConnectionNumber(self.display)
        self.rect = (0, 0, 0, 0)
        self.watch(self.rect)

    def watch(self, rect):
        self.settle()
        self.rect = rect
        self.pixels = self.rectangles = self.bursts = 0
        self.last_time = None

    def _take(self, event):
        left, top, right, bottom = self.rect
        x0, y0 = max(event.x, left), max(event.y, top)
        x1, y1 = min(event.x + event.width, right), min(event.y + event.height, bottom)
        if x0 >= x1 or y0 >= y1:
            return
        self.pixels += (x1 - x0) * (y1 - y0)
        self.rectangles += 1
        if self.last_time is None or (event.timestamp - self.last_time) & 0xFFFFFFFF >= BURST_GAP_MS:
            self.bursts += 1
        self.last_time = event.timestamp

    def poll(self, timeout):
        """Takes the events that arrive within timeout seconds; True when there were any."""
        got = False
        if select.select([self.fd], [], [], timeout)[0] or self.x11.XPending(self.display):
            event = XEvent()
            while self.x11.XPending(self.display):
                self.x11.XNextEvent(self.display, ctypes.byref(event))
                if event.type == self.notify:
                    self._take(event.damage)
                    got = True
        return got

    def settle(self):
        self.x11.XSync(self.display, 0)
        deadline = time.monotonic() + QUIET_BOUND_S
        while self.poll(QUIET_S) and time.monotonic() < deadline:
            pass


def read(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except OSError:
        return b""


def processes():
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            yield int(entry)


def environment(pid):
    pairs = read("/proc/%d/environ" % pid).split(b"\0")
    return dict(p.split(b"=", 1) for p in pairs if b"=" in p)


def run_ms(pid, tid):
    """Time a thread has run so far (the scheduler's count, to the nanosecond), in milliseconds."""
    run = read("/proc/%d/task/%d/schedstat" % (pid, tid)).split()
    return int(run[0]) / 1e6 if run else 0.0


def process_ms(pid):
    """Time the live threads of a process have run so far, to the nanosecond (the clock ticks of
    /proc/<pid>/stat are too coarse for short stretches). Threads that have ended are not counted: compare
    stretches in which the process keeps its threads."""
    try:
        tasks = [int(t) for t in os.listdir("/proc/%d/task" % pid)]
    except OSError:
        return 0.0
    return sum(run_ms(pid, t) for t in tasks)


def cpu_ms(name):
    prefix = os.environ.get("WINEPREFIX", "").encode()
    display = os.environ.get("DISPLAY", "").encode()
    thread = name.endswith(":main")
    key = name[:-len(":main")] if thread else name
    total = 0.0
    for pid in processes():
        argv = read("/proc/%d/cmdline" % pid).split(b"\0")
        program = argv[0] if argv else b""
        if key == "x":
            match = os.path.basename(program).startswith(b"Xvfb") and display in argv
        elif key == "wineserver":
            match = os.path.basename(program).startswith(b"wineserver") and \
                environment(pid).get(b"WINEPREFIX") == prefix
        else:
            # Wine shows a process's own command line, the program first.
            match = key.encode().lower() in program.lower() and environment(pid).get(b"WINEPREFIX") == prefix
        if match:
            # A Wine process runs its main thread on its first Linux thread.
            total += run_ms(pid, pid) if thread else process_ms(pid)
    return total


def answer(counter, words):
    verb = words[0] if words else ""
    if verb == "watch" and len(words) == 5:
        counter.watch(tuple(int(w) for w in words[1:]))
        return "ok"
    if verb == "damage":
        counter.settle()
        return "%d %d %d" % (counter.pixels, counter.rectangles, counter.bursts)
    if verb == "cpu":
        return " ".join("%.3f" % cpu_ms(name) for name in words[1:])
    return "error"


def serve(work, counter, stop):
    control = os.path.join(work, "control")
    handled = 0
    while not stop.is_set():
        lines = [line.split() for line in read(control).decode().splitlines() if line.strip()]
        while handled < len(lines):
            reply = answer(counter, lines[handled])
            handled += 1
            path = os.path.join(work, "answer.%d" % handled)
            with open(path + ".tmp", "w") as f:
                f.write(reply + "\n")
            os.rename(path + ".tmp", path)
        counter.poll(0.005)


def main(argv):
    if "--" not in argv:
        sys.exit("usage: display_rig.py -- command...")
    command = argv[argv.index("--") + 1:]
    if "--gtest_list_tests" in command:
        return subprocess.call(command)
    counter = DamageCounter()
    work = tempfile.mkdtemp(prefix="wl-display.")
    stop = threading.Event()
    server = threading.Thread(target=serve, args=(work, counter, stop), daemon=True)
    server.start()
    try:
        env = dict(os.environ)
        env["WL_DISPLAY_RIG"] = work
        code = subprocess.call(command, env=env)
        if code != 0:
            print("display_rig.py: the command ended with code %d" % code, file=sys.stderr)
        return code
    finally:
        stop.set()
        server.join(2)
        for name in os.listdir(work):
            os.unlink(os.path.join(work, name))
        os.rmdir(work)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
