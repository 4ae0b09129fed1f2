#!/usr/bin/env python3
"""Draws the six state pictures of the Command button as 64 x 25 pixel, 24-bit PNG files.

Only the outer 4 pixels of each side are ever painted on a button (the corners at their size,
the edges stretched), so those bands carry the exact colours of each state; the inside is
drawn in the same style so that the pictures also look right on their own.

Usage: make_state_pictures.py [OUTPUT_FOLDER]   (default: the folder of this script)
"""
import os
import struct
import sys
import zlib

WIDTH, HEIGHT = 64, 25


def rgb(hex_text):
    value = int(hex_text, 16)
    return (value >> 16 & 0xFF, value >> 8 & 0xFF, value & 0xFF)


def mix(a, b, share_of_b):
    return tuple(round(x + (y - x) * share_of_b) for x, y in zip(a, b))


def rows_between(top, bottom, first, last):
    """Colour of each row from first to last, blended evenly from top to bottom."""
    span = max(last - first, 1)
    return {row: mix(top, bottom, (row - first) / span) for row in range(first, last + 1)}


class Picture:
    def __init__(self, fill):
        self.pixels = [[fill] * WIDTH for _ in range(HEIGHT)]

    def set(self, x, y, colour):
        self.pixels[y][x] = colour

    def get(self, x, y):
        return self.pixels[y][x]

    def row(self, y, colour, left=0, right=WIDTH - 1):
        for x in range(left, right + 1):
            self.pixels[y][x] = colour

    def column(self, x, colour, top=0, bottom=HEIGHT - 1):
        for y in range(top, bottom + 1):
            self.pixels[y][x] = colour

    def ring(self, inset, colour):
        """A 1-pixel rectangle inset pixels in from the picture's edges."""
        self.row(inset, colour, inset, WIDTH - 1 - inset)
        self.row(HEIGHT - 1 - inset, colour, inset, WIDTH - 1 - inset)
        self.column(inset, colour, inset, HEIGHT - 1 - inset)
        self.column(WIDTH - 1 - inset, colour, inset, HEIGHT - 1 - inset)

    def corners(self, inset, blend):
        """Rounds the ring at inset: each corner pixel becomes blend(ring colour, outside colour)."""
        for x, y, ox, oy in ((inset, inset, -1, -1), (WIDTH - 1 - inset, inset, 1, -1),
                             (inset, HEIGHT - 1 - inset, -1, 1), (WIDTH - 1 - inset, HEIGHT - 1 - inset, 1, 1)):
            outside = self.get(x + ox, y) if 0 <= x + ox < WIDTH else self.get(x, y)
            self.set(x, y, blend(self.get(x, y), outside))
            # The pixel diagonally inside softens the turn of the frame.
            inner = self.get(x - ox * 1, y - oy * 1)
            self.set(x - ox, y - oy, mix(inner, self.get(x, y), 0.35))

    def png(self):
        raw = b"".join(b"\x00" + bytes(c for pixel in line for c in pixel) for line in self.pixels)

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

        header = struct.pack(">IIBBBBB", WIDTH, HEIGHT, 8, 2, 0, 0, 0)  # 8-bit RGB
        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) +
                chunk(b"IEND", b""))


FRAME = rgb("003C74")


def half(a, b):
    return mix(a, b, 0.5)


def surround(picture, top, bottom, left, right):
    """The outermost pixel band: top and bottom rows, side columns blended down from top to bottom."""
    picture.row(0, top)
    picture.row(HEIGHT - 1, bottom)
    for y, colour in rows_between(left[0], left[1], 1, HEIGHT - 2).items():
        picture.set(0, y, colour)
    for y, colour in rows_between(right[0], right[1], 1, HEIGHT - 2).items():
        picture.set(WIDTH - 1, y, colour)


def face(picture, rows, left, right):
    """The inside: one colour per row between the columns left and right."""
    for y, colour in rows.items():
        picture.row(y, colour, left, right)


def normal():
    p = Picture(rgb("F3F3EE"))
    rows = {2: rgb("F3F3EE"), 3: rgb("F3F3EE")}
    rows.update(rows_between(rgb("F3F3EE"), rgb("EAE8E0"), 4, 20))
    rows.update({21: rgb("E2DFD6"), 22: rgb("D6D0C5")})
    face(p, rows, 2, WIDTH - 3)
    # A little darker towards the right.
    for y in range(4, 21):
        p.set(WIDTH - 4, y, mix(p.get(WIDTH - 4, y), rgb("E2DFD6"), 0.5))
        p.set(WIDTH - 3, y, mix(p.get(WIDTH - 3, y), rgb("D6D0C5"), 0.6))
    surround(p, rgb("E0DCC9"), rgb("F8F7F0"), (rgb("E0DCC9"), rgb("F8F7F0")), (rgb("E0DCC9"), rgb("F8F7F0")))
    p.ring(1, FRAME)
    p.corners(1, half)
    return p


def ringed(top_rows, bottom_rows, sides):
    """Normal with a 2-pixel coloured ring just inside the frame (pointer over, focused)."""
    p = normal()
    p.row(2, top_rows[0], 2, WIDTH - 3)
    p.row(3, top_rows[1], 3, WIDTH - 4)
    p.row(21, bottom_rows[0], 3, WIDTH - 4)
    p.row(22, bottom_rows[1], 2, WIDTH - 3)
    for x in (2, 3, WIDTH - 4, WIDTH - 3):
        p.column(x, sides, 4, 20)
    # The ring's own corners meet its rows.
    for x, y in ((3, 3), (WIDTH - 4, 3), (3, 21), (WIDTH - 4, 21)):
        p.set(x, y, mix(sides, p.get(x, y - 1 if y < 12 else y + 1), 0.5))
    p.set(2, 22, bottom_rows[1])
    p.set(WIDTH - 3, 22, bottom_rows[1])
    p.ring(1, FRAME)
    p.corners(1, half)
    return p


def highlight():
    return ringed((rgb("FFF0CF"), rgb("FDD889")), (rgb("F8B330"), rgb("E59700")), rgb("FCCA69"))


def selected():
    return ringed((rgb("CEE7FF"), rgb("CEE7FF")), (rgb("6982EE"), rgb("6982EE")), rgb("A9C5EF"))


def pressed():
    p = Picture(rgb("E5E3DA"))
    rows = {3: rgb("D1CCC1"), 4: rgb("DCD8CD")}
    rows.update(rows_between(rgb("E3E0D6"), rgb("EEEDE7"), 5, 20))
    rows[21] = rgb("F2F1EE")
    face(p, rows, 3, WIDTH - 4)
    for y in range(4, 21):  # shading just inside the left edge as well
        p.set(3, y, mix(p.get(3, y), rgb("D1CCC1"), 0.7))
    surround(p, rgb("ECE9D8"), rgb("ECE9D8"), (rgb("ECE9D8"), rgb("ECE9D8")), (rgb("ECE9D8"), rgb("ECE9D8")))
    # The band between the surround and the frame: shade at the top and left, light at the bottom and right.
    p.row(1, rgb("E0DCC9"), 1, WIDTH - 2)
    p.column(1, rgb("E0DCC9"), 1, HEIGHT - 2)
    p.row(HEIGHT - 2, rgb("F8F7F0"), 2, WIDTH - 2)
    p.column(WIDTH - 2, rgb("F8F7F0"), 2, HEIGHT - 2)
    p.ring(2, FRAME)
    p.corners(2, half)
    return p


def disable():
    p = Picture(rgb("F5F4EA"))
    surround(p, rgb("ECE9D8"), rgb("ECE9D8"), (rgb("ECE9D8"), rgb("ECE9D8")), (rgb("ECE9D8"), rgb("ECE9D8")))
    p.ring(1, rgb("C9C7BA"))
    p.corners(1, half)
    return p


PICTURES = {
    "Normal": normal,
    "HighLight": highlight,
    "HighLightSelect": highlight,  # the same picture data as HighLight
    "Selected": selected,
    "Pressed": pressed,
    "Disable": disable,
}


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    for name, draw in PICTURES.items():
        with open(os.path.join(folder, name + ".png"), "wb") as out:
            out.write(draw().png())


if __name__ == "__main__":
    main()
