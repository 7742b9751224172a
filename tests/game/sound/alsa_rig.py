#!/usr/bin/env python3
"""Runs a command whose sound output lands in a file, sample for sample.

    alsa_rig.py [--no-device | --paced BYTES_PER_SECOND] -- command [args...]

Wine's ALSA driver plays into ALSA's "file" PCM (raw samples, null sink behind it), configured
for this run alone through ALSA_CONFIG_PATH. The command sees WL_AUDIO_CAPTURE, the file's path.
The null sink has no clock: it takes a stream as fast as Wine hands it over (four to five times
real time). With --paced the file PCM writes into a pipe of one page instead, which this rig
empties at the given byte rate into the capture file, so the stream is taken at a sound card's
pace (44100 Hz, 16-bit mono is 88200 bytes a second).
With --no-device the default PCM cannot be opened, so the system has no wave-out device at all.
GoogleTest's --gtest_list_tests runs the command without any set-up.
"""
import fcntl
import os
import select
import shutil
import subprocess
import sys
import tempfile
import threading
import time

CONFIG = """</usr/share/alsa/alsa.conf>
pcm.!default {{ type file slave.pcm "null" file "{capture}" format "raw" }}
"""
NO_DEVICE = """pcm.!default { type hw card 31 }
ctl.!default { type hw card 31 }
"""


def pace(pipe, capture, rate, stop):
    """Empties the pipe into the capture file at `rate` bytes a second, as a sound card plays.

    A card that runs dry does not catch up later: after a pause the clock starts again."""
    fd = os.open(pipe, os.O_RDWR)  # held open for writing too: the writer never waits in open, we never see EOF
    try:
        fcntl.fcntl(fd, fcntl.F_SETPIPE_SZ, 4096)
        chunk = max(2, rate // 100 // 2 * 2)  # 10 ms, whole 16-bit samples
        start, taken = time.monotonic(), 0
        with open(capture, "ab", buffering=0) as out:
            while not stop.is_set():
                delay = start + taken / rate - time.monotonic()
                if delay > 0:
                    time.sleep(delay)
                if not select.select([fd], [], [], 0.1)[0]:
                    continue
                now = time.monotonic()
                if now - (start + taken / rate) > 0.005:
                    start = now - taken / rate  # it ran dry: play on from now
                data = os.read(fd, chunk)
                out.write(data)
                taken += len(data)
    finally:
        os.close(fd)


def main(argv):
    if "--" not in argv:
        sys.exit("usage: alsa_rig.py [--no-device | --paced BYTES_PER_SECOND] -- command...")
    split = argv.index("--")
    options, command = argv[:split], argv[split + 1:]
    rate = 0
    if "--paced" in options:
        at = options.index("--paced")
        if at + 1 >= len(options) or not options[at + 1].isdigit() or int(options[at + 1]) <= 0:
            sys.exit("alsa_rig.py: --paced needs a byte rate above 0")
        rate = int(options[at + 1])
    if "--gtest_list_tests" in command:
        return subprocess.call(command)
    work = tempfile.mkdtemp(prefix="wl-alsa.")
    stop = threading.Event()
    pacer = None
    try:
        capture = os.path.join(work, "capture.raw")
        sink = capture
        if rate:
            sink = os.path.join(work, "sink.pipe")
            os.mkfifo(sink)
            open(capture, "wb").close()
            pacer = threading.Thread(target=pace, args=(sink, capture, rate, stop), daemon=True)
            pacer.start()
        config = os.path.join(work, "asound.conf")
        with open(config, "w") as f:
            f.write(NO_DEVICE if "--no-device" in options else CONFIG.format(capture=sink))
        env = dict(os.environ)
        env["ALSA_CONFIG_PATH"] = config
        env["WL_AUDIO_CAPTURE"] = capture
        # Wine must take ALSA, never a sound server that may happen to run on this machine.
        env.pop("PULSE_SERVER", None)
        env["WINEDLLOVERRIDES"] = env.get("WINEDLLOVERRIDES", "") + ";winepulse.drv=d"
        code = subprocess.call(command, env=env)
        if code != 0:
            # Shown with the test's output: a test that passed but whose process failed is told apart.
            print("alsa_rig.py: the command ended with code %d" % code, file=sys.stderr)
        return code
    finally:
        stop.set()
        if pacer:
            pacer.join(1)
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
