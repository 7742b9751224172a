#!/usr/bin/env python3
"""Runs a command whose sound output lands in a file, sample for sample.

    alsa_rig.py [--no-device] -- command [args...]

Wine's ALSA driver plays into ALSA's "file" PCM (raw samples, null sink behind it), configured
for this run alone through ALSA_CONFIG_PATH. The command sees WL_AUDIO_CAPTURE, the file's path.
With --no-device the default PCM cannot be opened, so the system has no wave-out device at all.
GoogleTest's --gtest_list_tests runs the command without any set-up.
"""
import os
import shutil
import subprocess
import sys
import tempfile

CONFIG = """</usr/share/alsa/alsa.conf>
pcm.!default {{ type file slave.pcm "null" file "{capture}" format "raw" }}
"""
NO_DEVICE = """pcm.!default { type hw card 31 }
ctl.!default { type hw card 31 }
"""


def main(argv):
    if "--" not in argv:
        sys.exit("usage: alsa_rig.py [--no-device] -- command...")
    split = argv.index("--")
    options, command = argv[:split], argv[split + 1:]
    if "--gtest_list_tests" in command:
        return subprocess.call(command)
    work = tempfile.mkdtemp(prefix="wl-alsa.")
    try:
        capture = os.path.join(work, "capture.raw")
        config = os.path.join(work, "asound.conf")
        with open(config, "w") as f:
            f.write(NO_DEVICE if "--no-device" in options else CONFIG.format(capture=capture))
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
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
