#!/usr/bin/env python3
"""The image peers' script on a bad call: usage and exit code 2, and nothing installed (its packages seem
missing and apt-get and sudo are stand-ins that note any call)."""
import os
import pathlib
import subprocess
import sys
import tempfile
import unittest

SCRIPT = pathlib.Path(__file__).resolve().parents[2] / "tools" / "image_peers.py"


class ImagePeersArguments(unittest.TestCase):
    def test_a_bad_call_prints_usage_and_installs_nothing(self):
        with tempfile.TemporaryDirectory() as folder:
            root = pathlib.Path(folder)
            (root / "cv2.py").write_text("raise ImportError('missing')\n")
            calls = root / "calls"
            for tool in ("apt-get", "sudo"):
                (root / tool).write_text(f'#!/bin/sh\necho {tool} "$@" >>"{calls}"\n')
                (root / tool).chmod(0o755)
            env = dict(os.environ, PYTHONPATH=folder, PATH=folder + os.pathsep + os.environ["PATH"])
            for arguments in ([], ["a", "b"], ["-h"], [""]):
                run = subprocess.run([sys.executable, str(SCRIPT)] + arguments, env=env, capture_output=True,
                                     text=True, timeout=60)
                self.assertEqual(run.returncode, 2, arguments)
                self.assertIn("tools/image_peers.py OUT", run.stderr, arguments)
                self.assertFalse(calls.exists(), arguments)


if __name__ == "__main__":
    unittest.main()
