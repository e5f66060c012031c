#!/usr/bin/env python3
"""Writes the plain bitmaps the skin's Windows tests carry in place of the
program's art (committed; run from this folder to remake them):
background 388 x 263 grey levels (x + 2y) mod 256; buttons 120 x 100, columns
at x 0, 30, 60, 90 of four 25-row state images, each one colour with the
magenta key on its first row and diagonal; lights 18 x 75, lamp n a disc at
(1, 25 n) on blue key; titlebar 331 x 20, a ramp of 236 colours. Each also
as *_200.bmp, twice the size with every pixel doubled, for 200 %."""
import struct


SCALE = 1


def write_bmp8(path, width, height, palette, pixel):
    """palette: list of (r, g, b); pixel(x, y) -> index, y counted from the top
    (at 100 %: at SCALE 2 the file is twice as large and named *_200.bmp)."""
    if SCALE != 1:
        path = path.replace('.bmp', '_200.bmp')
        width, height, small = width * SCALE, height * SCALE, pixel
        pixel = lambda x, y: small(x // SCALE, y // SCALE)
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


def buttons():
    # Key, a white mark, then the colour of column c, state s at 2 + 4 c + s.
    palette = [(255, 0, 255), (255, 255, 255)]
    palette += [(40 + 50 * c, 30 + 60 * s, 200 - 40 * c) for c in range(4) for s in range(4)]

    def pixel(x, y):
        c, s = x // 30, y // 25
        lx, ly = x % 30, y % 25
        if ly == 0 or lx == ly:
            return 0
        if (lx, ly) == (8, 4):
            return 1
        return 2 + 4 * c + s
    write_bmp8('buttons.bmp', 120, 100, palette, pixel)


def lights():
    palette = [(0, 0, 255), (0, 220, 0), (230, 200, 0), (220, 0, 0)]

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
    for SCALE in (1, 2):
        background()
        buttons()
        lights()
        titlebar()
