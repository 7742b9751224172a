#!/usr/bin/env python3
"""Writes the icon, cursor and PNG files that the packed-DIB loader tests load as resources, and the toolbar
strip of the owner-drawn menu tests.

Every pixel follows a formula the tests repeat, so a test can tell exactly which image a loader picked.
Run from anywhere; the files land in tests/image/data/.
"""
import os
import struct
import zlib

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tests', 'image', 'data')
GAME_OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'tests', 'game', 'data')

STANDARD16 = [0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xc0c0c0,
              0x808080, 0xff0000, 0x00ff00, 0xffff00, 0x0000ff, 0xff00ff, 0x00ffff, 0xffffff]  # 0xRRGGBB


def stride(width, bits):
    return ((width * bits + 31) // 32) * 4


def colour32(x, y, size):
    """BGRA of a true-colour test pixel: red = x * 4, green = y * 4, blue = size, alpha 255."""
    return bytes([size & 0xff, (y * 4) & 0xff, (x * 4) & 0xff, 255])


def index4(x, y):
    return (x + y) % 16


def index8(x, y):
    return (x * 3 + y) % 256


def masked(x, y):
    """AND-mask bit: the left quarter of every image is transparent."""
    return x < 4


def dib_image(size, bits):
    """Icon image: header with doubled height, colour table, colour rows (bottom-up), AND mask rows."""
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, bits, 0, 0, 0, 0, 0, 0)
    table = b''
    if bits == 4:
        table = b''.join(struct.pack('<I', c) for c in STANDARD16)
    elif bits == 8:
        table = b''.join(struct.pack('<I', (i << 16) | ((255 - i) << 8) | (i // 2)) for i in range(256))
    rows = b''
    for y in range(size - 1, -1, -1):  # bottom-up: picture row size-1 first
        if bits == 32:
            row = b''.join(colour32(x, y, size) for x in range(size))
        elif bits == 24:
            row = b''.join(colour32(x, y, size)[:3] for x in range(size))
        elif bits == 8:
            row = bytes(index8(x, y) for x in range(size))
        else:
            row = bytes((index4(x, y) << 4) | index4(x + 1, y) for x in range(0, size, 2))
        rows += row + b'\0' * (stride(size, bits) - len(row))
    mask = b''
    for y in range(size - 1, -1, -1):
        bitsrow = bytearray(stride(size, 1))
        for x in range(size):
            if masked(x, y):
                bitsrow[x >> 3] |= 0x80 >> (x & 7)
        mask += bytes(bitsrow)
    return header + table + rows + mask


def write_group(name, kind, images):
    """kind 1 icon, 2 cursor (hotspot 3, 5 in the planes and bit-count fields)."""
    data = [dib_image(size, bits) for size, bits in images]
    offset = 6 + 16 * len(images)
    out = struct.pack('<HHH', 0, kind, len(images))
    for (size, bits), blob in zip(images, data):
        a, b = (1, bits) if kind == 1 else (3, 5)
        out += struct.pack('<BBBBHHII', size & 0xff, size & 0xff, 16 if bits == 4 else 0, 0, a, b, len(blob), offset)
        offset += len(blob)
    out += b''.join(data)
    with open(os.path.join(OUT, name), 'wb') as f:
        f.write(out)


def png_chunk(tag, payload):
    return struct.pack('>I', len(payload)) + tag + payload + struct.pack('>I', zlib.crc32(tag + payload) & 0xffffffff)


def write_png(name, width, height):
    """RGBA: red = 40 x, green = 40 y, blue 200, alpha 255 except the last column (alpha 0)."""
    raw = b''
    for y in range(height):
        raw += b'\0' + b''.join(bytes([(40 * x) & 0xff, (40 * y) & 0xff, 200, 0 if x == width - 1 else 255])
                                for x in range(width))
    png = b'\x89PNG\r\n\x1a\n' + png_chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0))
    png += png_chunk(b'IDAT', zlib.compress(raw)) + png_chunk(b'IEND', b'')
    with open(os.path.join(OUT, name), 'wb') as f:
        f.write(png)


def write_toolbar_strip(name, colours):
    """24-bit strip of 16 x 15 buttons: a solid square of each colour (0xRRGGBB) framed by the mask grey."""
    width, height = 16 * len(colours), 15
    row_bytes = stride(width, 24)
    rows = b''
    for y in range(height - 1, -1, -1):
        row = b''
        for x in range(width):
            c = colours[x // 16]
            inside = 2 <= x % 16 <= 13 and 2 <= y <= 12
            rgb = c if inside else 0xc0c0c0
            row += bytes([rgb & 0xff, (rgb >> 8) & 0xff, rgb >> 16])
        rows += row + b'\0' * (row_bytes - len(row))
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(rows), 0, 0, 0, 0)
    header = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(rows), 0, 0, 14 + len(info))
    os.makedirs(GAME_OUT, exist_ok=True)
    with open(os.path.join(GAME_OUT, name), 'wb') as f:
        f.write(header + info + rows)


if __name__ == '__main__':
    os.makedirs(OUT, exist_ok=True)
    write_group('DibTestIcon.ico', 1, [(16, 4), (32, 8), (32, 32), (48, 24), (48, 32), (64, 8)])
    write_group('DibTestCursor.cur', 2, [(32, 32)])
    write_png('DibTestImage.png', 6, 4)
    write_toolbar_strip('MenuTestToolbar.bmp', [0xff0000, 0x00ff00, 0x0000ff])
    write_toolbar_strip('FrameTestToolbar.bmp', [0xff0000, 0x00ff00, 0x0000ff, 0xffff00, 0x00ffff, 0xff00ff])
