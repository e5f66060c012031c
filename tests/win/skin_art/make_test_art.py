#!/usr/bin/env python3
"""Writes the small, plain bitmaps that the skin's Windows tests carry in
place of the program's art. Every picture is made so that a test can tell
from a pixel where it came from:

  background.bmp  388 x 263, 8 bits: grey levels (index = (x + 2y) mod 256),
                  so that recolouring with Hue/Sat shows on every pixel.
  buttons.bmp     120 x 100, 8 bits: columns at x 0, 30, 60, 90, four state
                  images of 25 rows each. Each image is one plain colour with
                  the key colour (magenta) at its top-left corner, along its
                  first row and on its diagonal, and a white mark at (8, 4).
  lights.bmp      18 x 75, 8 bits: blue key colour; the 11 x 11 lamp n at
                  (1, 25 n) is a disc of its own colour in a blue square.
  titlebar.bmp    331 x 20, 8 bits with 236 colours: a grey ramp.

Run it from this folder; the files are committed, so builds do not need it.
"""
import struct


def write_bmp8(path, width, height, palette, pixel):
    """palette: list of (r, g, b); pixel(x, y) -> index, y counted from the top."""
    row_bytes = (width + 3) // 4 * 4
    colours = len(palette)
    header_size = 14 + 40 + 4 * colours
    size = header_size + row_bytes * height
    out = bytearray()
    out += struct.pack('<2sIHHI', b'BM', size, 0, 0, header_size)
    out += struct.pack('<IiiHHIIiiII', 40, width, height, 1, 8, 0, row_bytes * height, 2835, 2835,
                       colours, 0)
    for r, g, b in palette:
        out += bytes((b, g, r, 0))
    for y in range(height - 1, -1, -1):
        row = bytes(pixel(x, y) for x in range(width))
        out += row + bytes(row_bytes - width)
    with open(path, 'wb') as f:
        f.write(out)


def background():
    palette = [(i, i, i) for i in range(256)]
    write_bmp8('background.bmp', 388, 263, palette, lambda x, y: (x + 2 * y) % 256)


# Button images: colour of column c, state s (index 2 + 4 c + s).
BUTTON_KEY = (255, 0, 255)
BUTTON_MARK = (255, 255, 255)


def button_colour(column, state):
    return (40 + 50 * column, 30 + 60 * state, 200 - 40 * column)


def buttons():
    palette = [BUTTON_KEY, BUTTON_MARK]
    for c in range(4):
        for s in range(4):
            palette.append(button_colour(c, s))

    def pixel(x, y):
        c, s = x // 30, y // 25
        lx, ly = x % 30, y % 25
        if ly == 0 or lx == ly:
            return 0
        if (lx, ly) == (8, 4):
            return 1
        return 2 + 4 * c + s
    write_bmp8('buttons.bmp', 120, 100, palette, pixel)


LIGHT_KEY = (0, 0, 255)
LIGHT_COLOURS = [(0, 220, 0), (230, 200, 0), (220, 0, 0)]


def lights():
    palette = [LIGHT_KEY] + LIGHT_COLOURS

    def pixel(x, y):
        n = y // 25
        lx, ly = x - 1, y - 25 * n
        if n < 3 and 0 <= lx < 11 and 0 <= ly < 11 and (lx - 5) ** 2 + (ly - 5) ** 2 <= 25:
            return 1 + n
        return 0
    write_bmp8('lights.bmp', 18, 75, palette, pixel)


def titlebar():
    palette = [(i, i, min(255, i + 10)) for i in range(0, 236)]
    write_bmp8('titlebar.bmp', 331, 20, palette, lambda x, y: (x * 235) // 330)


if __name__ == '__main__':
    background()
    buttons()
    lights()
    titlebar()
