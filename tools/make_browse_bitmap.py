#!/usr/bin/env python3
"""Draws the picture of the settings dialog's browse button (bitmap 139) and writes it as
res/view/browse-folder.bmp: an open yellow folder, 16 x 15 pixels, in the toolbar's 16 colours on the
light grey (0xC0C0C0) that button pictures treat as transparent.
"""
import os
import sys

from make_toolbar_bitmap import picture, write_bitmap

# y bright yellow, o the darker back of the folder, w a highlight, k the outline.
FOLDER = """
................
................
..kkkk..........
.kowwok.........
.kwooookkkkkkk..
.kwooooooooook..
.koooooooooook..
.kookkkkkkkkkkkk
.kookyyyyyyyyyyk
.kokyyyyyyyyyyk.
.kokyyyyyyyyyyk.
.kkyyyyyyyyyyk..
.kkyyyyyyyyyyk..
.kkkkkkkkkkkkk..
................
"""


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, 'res', 'view', 'browse-folder.bmp')
    write_bitmap(target, [picture(FOLDER, {'o': 3})])


if __name__ == '__main__':
    main()
