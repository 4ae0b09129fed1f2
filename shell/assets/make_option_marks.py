#!/usr/bin/env python3
"""Draws the settings dialog's two option marks as 12 x 12 pixel, 24-bit PNG files.

option_mark_off.png: an empty light square with a dark outline (an option not chosen).
option_mark_on.png: the same square filled with blue (the chosen option).

Usage: make_option_marks.py [OUTPUT_FOLDER]   (default: the folder of this script)
"""
import os
import struct
import sys
import zlib

SIZE = 12
OUTLINE = (64, 64, 80)
LIGHT = (244, 244, 248)
BLUE_TOP, BLUE_BOTTOM = (70, 110, 235), (20, 50, 180)


def mark(filled):
    rows = []
    for y in range(SIZE):
        row = []
        for x in range(SIZE):
            if x in (0, SIZE - 1) or y in (0, SIZE - 1):
                row.append(OUTLINE)
            elif not filled:
                row.append(LIGHT)
            else:
                # A light ring inside the outline, then blue, lighter at the top.
                if x in (1, SIZE - 2) or y in (1, SIZE - 2):
                    row.append(LIGHT)
                else:
                    share = (y - 2) / (SIZE - 5)
                    row.append(tuple(round(a + (b - a) * share) for a, b in zip(BLUE_TOP, BLUE_BOTTOM)))
        rows.append(row)
    return rows


def png(rows):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    raw = b"".join(b"\0" + bytes(c for pixel in row for c in pixel) for row in rows)
    header = struct.pack(">IIBBBBB", len(rows[0]), len(rows), 8, 2, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    for name, filled in (("option_mark_off.png", False), ("option_mark_on.png", True)):
        with open(os.path.join(folder, name), "wb") as out:
            out.write(png(mark(filled)))


if __name__ == "__main__":
    main()
