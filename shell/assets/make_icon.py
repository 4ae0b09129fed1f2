#!/usr/bin/env python3
"""Draws the program's icon: a square tunnel receding into pale blue-white fog on a navy ground.

Writes vellora_icon.png (32 x 32, 24-bit, the settings dialog's window icon and the Linux
menu's small icon), vellora_icon_128.png (128 x 128, the Linux menu's large icon) and vellora.ico
(32 x 32 and 16 x 16 entries, 32-bit BGRA with an AND mask, the Windows program icon of both
executables). Each size is drawn on its own, 8 x 8 samples a pixel, so that the small one stays
clean instead of being a shrunk copy of the large one.

Usage: make_icon.py [OUTPUT_FOLDER]   (default: the folder of this script)
"""
import math
import os
import struct
import sys
import zlib

NAVY = (14, 22, 70)
NAVY_BAND = (32, 52, 132)
FOG = (226, 234, 252)
SEAM = (120, 150, 220)
FAR_END = 0.085  # half the side of the fogged far end, as a share of the icon's side
BAND_DEPTH = 0.55  # depth of one band of wall tiles, in icon half-sides
FOG_DENSITY = 0.45
SAMPLES = 8


def mix(a, b, share_of_b):
    return tuple(x + (y - x) * share_of_b for x, y in zip(a, b))


def sample(x, y):
    """Colour at a point of the icon, both coordinates from 0 to 1."""
    dx, dy = x - 0.5, y - 0.5
    r = max(abs(dx), abs(dy))  # distance from the centre along the nearest wall
    if r <= FAR_END:
        return FOG
    depth = 0.5 / r - 1.0  # 0 at the icon's edge, growing toward the far end
    wall = NAVY_BAND if int(depth / BAND_DEPTH) % 2 else NAVY
    if abs(dy) > abs(dx):
        # Floor and ceiling a little darker and lighter than the side walls: the tunnel reads as a box.
        wall = mix(wall, (0, 0, 0), 0.25) if dy > 0 else mix(wall, FOG, 0.08)
    if abs(abs(dx) - abs(dy)) < 0.012 + 0.02 * r:
        wall = mix(wall, SEAM, 0.55)  # the tunnel's corner edges
    return mix(wall, FOG, 1.0 - math.exp(-FOG_DENSITY * depth))


def draw(size):
    """Rows of (r, g, b) for an icon of size x size pixels."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            total = [0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = sample((px + (sx + 0.5) / SAMPLES) / size, (py + (sy + 0.5) / SAMPLES) / size)
                    total = [t + v for t, v in zip(total, c)]
            row.append(tuple(min(255, round(t / SAMPLES ** 2)) for t in total))
        rows.append(row)
    # A one-pixel dark edge keeps the icon apart from light backgrounds.
    for i in range(size):
        for x, y in ((i, 0), (i, size - 1), (0, i), (size - 1, i)):
            rows[y][x] = tuple(round(v) for v in mix(rows[y][x], (0, 0, 20), 0.6))
    return rows


def png(rows):
    size = len(rows)
    raw = b"".join(b"\x00" + bytes(v for pixel in row for v in pixel) for row in rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    ihdr = struct.pack(">IIBBBBB", size, size, 8, 2, 0, 0, 0)  # 8-bit RGB, no interlace
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def ico_image(rows):
    """One icon image: a BITMAPINFOHEADER of twice the height, BGRA rows bottom-up, AND mask rows."""
    size = len(rows)
    colour = b"".join(bytes((b, g, r, 255)) for row in reversed(rows) for (r, g, b) in row)
    mask_stride = (size + 31) // 32 * 4
    mask = bytes(mask_stride * size)  # all clear: every pixel opaque
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    return header + colour + mask


def ico(images):
    entries, data = b"", b""
    offset = 6 + 16 * len(images)
    for rows in images:
        size, image = len(rows), ico_image(rows)
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset + len(data))
        data += image
    return struct.pack("<HHH", 0, 1, len(images)) + entries + data


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    large, small = draw(32), draw(16)
    with open(os.path.join(folder, "vellora_icon.png"), "wb") as out:
        out.write(png(large))
    with open(os.path.join(folder, "vellora_icon_128.png"), "wb") as out:
        out.write(png(draw(128)))
    with open(os.path.join(folder, "vellora.ico"), "wb") as out:
        out.write(ico([large, small]))


if __name__ == "__main__":
    main()
