#!/usr/bin/env python3
"""The full heap validation's verdict in tests/run.sh, and tools/soak.sh's list of heap reports that did not come
again, played against stand-ins: a `wine` whose one suite (text_tests Alpha) has given outcomes run by run, and a
run.sh that prints given lines. Only a heap report alone earns a re-run."""
import os
import pathlib
import shutil
import subprocess
import tempfile
import unittest

ROOT = pathlib.Path(__file__).resolve().parents[2]

# Each run of the suite: a heap report, a failed test, the bound; "big" writes a report of 200 KB.
WINE = r"""#!/bin/bash
[ "$1" = reg ] && exit 0
case " $* " in
  *" --gtest_list_tests "*) [[ "$1" == */text_tests.exe ]] && printf 'Alpha.\n  One\n'; exit 0 ;;
esac
n=$(($(cat "$STUB/count" 2>/dev/null || echo 0) + 1))
echo "$n" >"$STUB/count"
outcome=$(sed -n "${n}p" "$STUB/plan")
report() { echo "0100:err:heap:validate_free_block heap 0000000000C80000, block $1: free block overwritten" >&2; }
case "$outcome" in *big*) for i in $(seq 3000); do report "$i"; done ;; *heap*) report 1 ;; esac
case "$outcome" in *fail*) echo "[  FAILED  ] Alpha.One (5 ms)"; exit 1 ;; *bound*) exit 124 ;; esac
exit 0
"""


def script(path, text):
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_text(text)
    path.chmod(0o755)


class HeapRerun(unittest.TestCase):
    def setUp(self):
        self.folder = pathlib.Path(tempfile.mkdtemp())
        self.addCleanup(shutil.rmtree, self.folder)
        for name in ("tests/run.sh", "tools/soak.sh"):
            script(self.folder / name, (ROOT / name).read_text())
        script(self.folder / "tools/build.sh", "#!/bin/sh\n")
        script(self.folder / "tests/wine-env.sh", 'wl_env_start() { :; }\nwl_env_stop() { :; }\n'
               'wl_hold_desktop() { :; }\nwl_norandom() { "$@"; }\n')
        script(self.folder / "bin/wine", WINE)
        script(self.folder / "bin/ctest", "#!/bin/sh\n")
        self.env = dict(os.environ, PATH=f"{self.folder / 'bin'}:{os.environ['PATH']}", STUB=str(self.folder),
                        WL_BUILD_DIR=str(self.folder / "build"))

    def run_script(self, *command):
        return subprocess.run(command, cwd=self.folder, env=self.env, capture_output=True, text=True, timeout=120)

    def test_only_a_heap_report_alone_earns_a_rerun(self):
        cases = [  # outcomes run by run, whether the suite passes
            (["heap fail", "clean"], False), (["heap", "heap fail", "clean"], False), (["heap bound", "clean"], False),
            (["fail"], False), (["heap", "heap", "heap"], False), (["big", "big", "big"], False),
            (["heap", "clean"], True), (["big", "heap", "clean"], True), (["clean"], True)]
        for plan, passes in cases:
            (self.folder / "plan").write_text("\n".join(plan) + "\n")
            (self.folder / "count").unlink(missing_ok=True)
            run = self.run_script("bash", "tests/run.sh", "--heap-check")
            self.assertEqual(run.returncode, 0 if passes else 1, (plan, run.stdout[-2000:], run.stderr[-2000:]))
            self.assertIn(f"full heap validation: {int(passes)} of 1 suites passed", run.stdout, plan)
            self.assertEqual("full heap validation failed: text_tests" in run.stdout, not passes, plan)

    def test_soak_lists_only_reports_whose_suite_passed_again(self):
        script(self.folder / "tests/run.sh", """#!/bin/sh
[ "$1" = --heap-check ] || exit 0
for suite in Kept Failed; do echo "full heap validation: a heap report not yet counted: p $suite.*; run again:"; done
echo "full heap validation failed: p Failed.* (heap report)"
echo "full heap validation: passed after a re-run: p Kept.*"
exit 1
""")
        run = self.run_script("bash", "tools/soak.sh", "1")
        listed = run.stdout.split("did not come in every run")[-1]
        self.assertIn("p Kept.*", listed, run.stdout)
        self.assertNotIn("p Failed.*", listed, run.stdout)


if __name__ == "__main__":
    unittest.main()
