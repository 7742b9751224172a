#!/usr/bin/env python3
"""Checks the one-way layering of the libraries: a source file includes headers of its own folder and of the
folders below it only. The link graph in the folders' CMakeLists.txt says the same; this catches an upward
include that would still link (a header-only use). Prints each offending include; exit status 1 when any."""
import pathlib
import re
import sys

# Each folder and the folders it may include from (res/ holds the program's resource ids).
ALLOWED = {
    "framework": set(),
    "text": {"framework"},
    "system": {"text", "framework"},
    "image": {"system", "text", "framework"},
    "treelist": {"image", "system", "text", "framework"},
    "ui": {"treelist", "image", "system", "text", "framework"},
    "game": {"ui", "treelist", "image", "system", "text", "framework", "res"},
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"/]+)/', re.MULTILINE)


def main(root):
    faults = 0
    for folder, allowed in ALLOWED.items():
        for path in sorted((root / folder).rglob("*")):
            if path.suffix not in (".h", ".cpp"):
                continue
            for top in INCLUDE.findall(path.read_text(encoding="utf-8", errors="replace")):
                if top != folder and top not in allowed and (root / top).is_dir():
                    print(f"{path.relative_to(root)}: includes {top}/, which lies above {folder}/")
                    faults += 1
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent)))
