#!/usr/bin/env python3
"""Draws the program icon of Wertlauf (res/app/wertlauf.ico): a scale with a red and a blue pointer and a
green solution mark on a dark board, at 16, 32 and 48 pixels, 32 bits with alpha."""
import os
import struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'res', 'app', 'wertlauf.ico')


def pixel(x, y, n):
    """RGBA of the icon at (x, y) of an n x n picture, y from the top."""
    u, v = (x + 0.5) / n, (y + 0.5) / n
    # rounded board
    r = 0.18
    cx = min(max(u, r), 1 - r)
    cy = min(max(v, r), 1 - r)
    if (u - cx) ** 2 + (v - cy) ** 2 > r * r:
        return (0, 0, 0, 0)
    colour = (28, 34, 52)
    if 0.62 <= v <= 0.70 and 0.12 <= u <= 0.88:             # the scale
        colour = (235, 235, 220)
    for px, c in ((0.30, (220, 40, 40)), (0.70, (40, 90, 230))):  # pointers: triangles down onto the scale
        if 0.22 <= v <= 0.60 and abs(u - px) <= (0.60 - v) * 0.45:
            colour = c
    if 0.46 <= u <= 0.54 and 0.72 <= v <= 0.86:              # green solution mark below
        colour = (40, 200, 80)
    return colour + (255,)


def image(n):
    header = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = b''
    for y in range(n - 1, -1, -1):
        for x in range(n):
            r, g, b, a = pixel(x, y, n)
            rows += bytes([b, g, r, a])
    mask_stride = ((n + 31) // 32) * 4
    mask = b''
    for y in range(n - 1, -1, -1):
        row = bytearray(mask_stride)
        for x in range(n):
            if pixel(x, y, n)[3] == 0:
                row[x >> 3] |= 0x80 >> (x & 7)
        mask += bytes(row)
    return header + rows + mask


if __name__ == '__main__':
    sizes = [16, 32, 48]
    blobs = [image(n) for n in sizes]
    out = struct.pack('<HHH', 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for n, blob in zip(sizes, blobs):
        out += struct.pack('<BBBBHHII', n, n, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    os.makedirs(os.path.dirname(OUT), exist_ok=True)
    with open(OUT, 'wb') as f:
        f.write(out + b''.join(blobs))
