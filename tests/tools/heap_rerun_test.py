#!/usr/bin/env python3
"""The full heap validation's verdict (tests/run.sh) and soak's list of heap reports that did not come again
(tools/soak.sh), against stand-ins: a `wine` whose one suite, text_tests Alpha, has given outcomes run by run,
and a run.sh that prints given lines. Only a heap report alone earns a re-run."""
import os
import pathlib
import subprocess
import tempfile
import unittest

ROOT = pathlib.Path(__file__).resolve().parents[2]

# Each run: a heap report ("big": 200 KB of it), a failed test, the bound, or none of them.
WINE = r"""#!/bin/bash
[ "$1" = reg ] && exit 0
[[ " $* " == *" --gtest_list_tests "* ]] && { [[ "$1" == */text_tests.exe ]] && printf 'Alpha.\n  One\n'; exit 0; }
n=$(($(cat "$STUB/count" 2>/dev/null || echo 0) + 1)); echo "$n" >"$STUB/count"
outcome=$(sed -n "${n}p" "$STUB/plan")
report() { echo "0100:err:heap:validate_used_block heap 0000000000C80000, block $1: free block overwritten" >&2; }
case "$outcome" in *big*) for i in $(seq 3000); do report "$i"; done ;; *heap*) report 1 ;; esac
case "$outcome" in *fail*) echo "[  FAILED  ] Alpha.One (5 ms)"; exit 1 ;; *bound*) exit 124 ;; esac
"""


class HeapRerun(unittest.TestCase):
    def setUp(self):
        folder = tempfile.TemporaryDirectory()
        self.addCleanup(folder.cleanup)
        self.folder = pathlib.Path(folder.name)
        for name, text in [("tests/run.sh", (ROOT / "tests/run.sh").read_text()), ("tools/build.sh", ""),
                           ("tools/soak.sh", (ROOT / "tools/soak.sh").read_text()), ("bin/wine", WINE),
                           ("tests/wine-env.sh", 'wl_norandom() { "$@"; }\nwl_env_start() { :; }\n'
                            'wl_env_stop() { :; }\nwl_hold_desktop() { :; }\n'), ("bin/ctest", "")]:
            self.script(name, text)
        self.env = dict(os.environ, PATH=f"{self.folder / 'bin'}:{os.environ['PATH']}", STUB=str(self.folder),
                        WL_BUILD_DIR=str(self.folder / "build"))

    def script(self, name, text):
        path = self.folder / name
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_text(text if text.startswith("#!") else "#!/bin/bash\n" + text)
        path.chmod(0o755)

    def run_script(self, *command):
        return subprocess.run(command, cwd=self.folder, env=self.env, capture_output=True, text=True, timeout=120)

    def test_only_a_heap_report_alone_earns_a_rerun(self):
        for plan, passes in [(["heap fail", "clean"], False), (["heap", "heap fail", "clean"], False),
                             (["heap bound", "clean"], False), (["fail"], False), (["heap"] * 3, False),
                             (["big"] * 3, False), (["heap", "clean"], True), (["big", "heap", "clean"], True)]:
            (self.folder / "plan").write_text("\n".join(plan) + "\n")
            (self.folder / "count").unlink(missing_ok=True)
            run = self.run_script("bash", "tests/run.sh", "--heap-check")
            self.assertEqual(run.returncode, 0 if passes else 1, (plan, run.stdout[-2000:], run.stderr[-2000:]))
            self.assertIn(f"full heap validation: {int(passes)} of 1 suites passed", run.stdout, plan)
            self.assertEqual("full heap validation failed: text_tests" in run.stdout, not passes, plan)

    def test_soak_lists_only_suites_that_passed_after_a_rerun(self):
        self.script("tests/run.sh", """[ "$1" = --heap-check ] || exit 0
for suite in Kept Failed; do echo "full heap validation: a heap report not yet counted: p $suite.*; run again:"; done
echo "full heap validation failed: p Failed.* (heap report)"
echo "full heap validation: passed after a re-run: p Kept.*"; exit 1""")
        listed = self.run_script("bash", "tools/soak.sh", "1").stdout.split("did not come in every run")[-1]
        self.assertIn("p Kept.*", listed)
        self.assertNotIn("p Failed.*", listed)


if __name__ == "__main__":
    unittest.main()
