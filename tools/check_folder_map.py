#!/usr/bin/env python3
"""Checks that a folder's README is a complete map of it: every .cpp and .h of the folder (not of its
sub-folders) is named in the README in backticks, and every such name in the README is a file of the folder.
Usage: check_folder_map.py FOLDER...; prints each fault; exit status 1 when any."""
import pathlib
import re
import sys

NAME = re.compile(r"`([A-Za-z0-9_]+\.(?:cpp|h))`")


def faults_of(folder):
    files = {p.name for p in folder.iterdir() if p.suffix in (".cpp", ".h")}
    named = set(NAME.findall((folder / "README.md").read_text(encoding="utf-8")))
    return [f"{folder}/README.md does not name {name}" for name in sorted(files - named)] + \
           [f"{folder}/README.md names {name}, which is not in the folder" for name in sorted(named - files)]


def main(folders):
    faults = [fault for folder in folders for fault in faults_of(pathlib.Path(folder))]
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
