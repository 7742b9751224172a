#!/usr/bin/env python3
"""The layer check on a small made-up tree: each kind of fault is found, and a clean tree passes."""
import contextlib
import io
import pathlib
import sys
import tempfile
import unittest

sys.dont_write_bytecode = True  # leaves no cache in the source tree
sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[2] / "tools"))
import check_layers  # noqa: E402


def run(files):
    with tempfile.TemporaryDirectory() as folder:
        root = pathlib.Path(folder)
        for name, includes in files.items():
            (root / name).parent.mkdir(parents=True, exist_ok=True)
            (root / name).write_text("".join(f'#include "{i}"\n' for i in includes))
        out = io.StringIO()
        with contextlib.redirect_stdout(out):
            status = check_layers.main(root)
        return status, out.getvalue()


class LayerCheck(unittest.TestCase):
    def test_siblings_that_include_each_other_are_a_cycle_at_any_depth(self):
        status, out = run({
            "ui/a/A.h": ["ui/b/B.h"], "ui/b/B.h": ["ui/a/A.h"], "ui/c/C.h": ["ui/a/A.h", "ui/b/B.h"],
            "game/x/p/P.h": ["game/x/q/Q.h"], "game/x/q/Q.h": ["game/x/p/P.h", "ui/c/C.h"],
        })
        self.assertEqual(status, 1)
        self.assertIn("ui/: sub-folders a, b include each other", out)
        self.assertIn("a -> b: ui/a/A.h includes ui/b/B.h", out)
        self.assertIn("game/x/: sub-folders p, q include each other", out)
        self.assertNotIn("c,", out)

    def test_shared_includes_no_sibling_and_no_library_includes_upward(self):
        status, out = run({
            "treelist/shared/S.h": ["treelist/combo/C.h"], "treelist/combo/C.h": ["ui/U.h"], "ui/U.h": [],
        })
        self.assertEqual(status, 1)
        self.assertIn("treelist/shared/ includes its sibling combo/", out)
        self.assertIn("treelist/combo/C.h: includes ui/, which lies above treelist/", out)

    def test_one_way_siblings_over_shared_pass(self):
        status, out = run({
            "treelist/shared/S.h": ["text/T.h"], "text/T.h": [], "treelist/combo/C.h": ["treelist/shared/S.h"],
            "treelist/dlg/D.h": ["treelist/combo/C.h", "treelist/shared/S.h", "treelist/L.h"], "treelist/L.h": [],
            "tests/treelist/dlg/D_test.cpp": ["tests/support/Pump.h", "treelist/dlg/D.h"], "tests/support/Pump.h": [],
        })
        self.assertEqual((status, out), (0, ""))


if __name__ == "__main__":
    unittest.main()
