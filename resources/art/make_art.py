#!/usr/bin/env python3
"""Draws the program's pictures and writes them as .bmp and .ico files.

Pure python3, no packages: shapes are signed distance functions, edges are
anti-aliased from the distance, and the files are written byte by byte. The
output depends on nothing but this file, so every run gives the same bytes.
The build does not run it; its output is committed beside it.

    python3 resources/art/make_art.py        # from the repository root

Writes:
  resources/art/skin_background.bmp   bitmap 1016, 388 x 263, 8 bits, greys
  resources/art/skin_buttons.bmp      bitmap 1017, 120 x 100, 8 bits
  resources/art/skin_lights.bmp       bitmap 1018, 18 x 75, 8 bits
  resources/art/skin_titlebar.bmp     bitmap 1019, 331 x 20, 8 bits, 236 colours
  resources/art/banner.bmp            data resource 1020, the classic dialog's banner, 180 x 25, 8 bits
  resources/art/*.ico                 icon groups 1001 and 1003..1015, 16/32/48 pixels, 32 bits
  resources/dist/LogoClas.bmp         classic dialog logo, 24 bits
  resources/dist/LogoSkin.bmp         skinned window logo, 24 bits
  packaging/wizard.bmp                the installer's side picture, 164 x 314, 24 bits

The skin's background and title bar are drawn in greys: the program gives
every colour-table entry one hue and saturation from the settings and keeps
its lightness, so lightness is all that is designed there.
"""

import math
import os
import struct

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
ART = os.path.join(ROOT, "resources", "art")
DIST = os.path.join(ROOT, "resources", "dist")

# ---------------------------------------------------------------------------
# Colour scheme

SLATE = (33, 45, 58)          # wordmark and glyphs
AZURE_TOP = (64, 170, 240)    # brand tile gradient
AZURE_BOTTOM = (16, 104, 196)
AZURE = (22, 132, 216)        # accents
GREEN = (40, 170, 88)
GREEN_TOP = (92, 208, 120)
AMBER = (236, 160, 28)
AMBER_TOP = (252, 204, 84)
RED = (214, 58, 48)
RED_TOP = (242, 112, 96)
GREY_TOP = (170, 178, 188)
GREY = (120, 130, 142)
WHITE = (255, 255, 255)
MAGENTA = (255, 0, 255)       # key colour where no picture colour comes near it
KEY_GREEN = (0, 255, 0)       # the banner's key colour

DEFAULT_HUE, DEFAULT_SAT = 140, 90          # Modavi.ini's Hue and Sat
DIALOG_FACE = (240, 240, 240)               # the classic dialog's background

# ---------------------------------------------------------------------------
# The program's colour arithmetic (integer HLS, scale 252), to preview the
# skin in its default colours where a picture must blend into it.

HLSMAX = 252


def lightness(r, g, b):
    return ((max(r, g, b) + min(r, g, b)) * HLSMAX + 255) // 510


def _hue_to_rgb(m1, m2, h):
    if h < 0:
        h += HLSMAX
    if h > HLSMAX:
        h -= HLSMAX
    if h < HLSMAX // 6:
        return m1 + ((m2 - m1) * h + HLSMAX // 12) // (HLSMAX // 6)
    if h < HLSMAX // 2:
        return m2
    if h < HLSMAX * 2 // 3:
        return m1 + ((m2 - m1) * (HLSMAX * 2 // 3 - h) + HLSMAX // 12) // (HLSMAX // 6)
    return m1


def hls_to_rgb(h, l, s):
    s = min(s, HLSMAX)
    if s == 0:
        v = l * 255 // HLSMAX
        return (v, v, v)
    if l <= HLSMAX // 2:
        m2 = (l * (HLSMAX + s) + HLSMAX // 2) // HLSMAX
    else:
        m2 = l + s - (l * s + HLSMAX // 2) // HLSMAX
    m1 = 2 * l - m2
    def comp(hh):
        return min(255, max(0, (_hue_to_rgb(m1, m2, hh) * 255 + HLSMAX // 2) // HLSMAX))
    return (comp(h + HLSMAX // 3), comp(h), comp(h - HLSMAX // 3))


def tint(grey, hue=DEFAULT_HUE, sat=DEFAULT_SAT):
    """A grey of the skin as the program shows it with the given settings."""
    return hls_to_rgb(hue, lightness(grey, grey, grey), sat)

# ---------------------------------------------------------------------------
# Shapes: signed distance functions (negative inside), pixel units.


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(len(a)))


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def rrect(x0, y0, x1, y1, r):
    """Rectangle from (x0, y0) to (x1, y1) with corners of radius r."""
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r
    def sdf(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0), max(qy, 0))
        return outside + min(max(qx, qy), 0) - r
    return sdf


def segment(ax, ay, bx, by, w):
    """A stroke of width w from a to b with round ends."""
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy or 1e-9
    def sdf(x, y):
        t = clamp(((x - ax) * dx + (y - ay) * dy) / length2)
        return math.hypot(x - ax - t * dx, y - ay - t * dy) - w / 2
    return sdf


def ring(cx, cy, r, w):
    return lambda x, y: abs(math.hypot(x - cx, y - cy) - r) - w / 2


def arc(cx, cy, r, w, a0, a1):
    """Part of a ring from angle a0 to a1 (degrees, clockwise on screen from +x)."""
    a0r, a1r = math.radians(a0), math.radians(a1)
    ends = [(cx + r * math.cos(a), cy + r * math.sin(a)) for a in (a0r, a1r)]
    def sdf(x, y):
        a = math.atan2(y - cy, x - cx)
        while a < a0r:
            a += 2 * math.pi
        if a <= a1r:
            return abs(math.hypot(x - cx, y - cy) - r) - w / 2
        return min(math.hypot(x - ex, y - ey) for ex, ey in ends) - w / 2
    return sdf


def polyline(points, w):
    return union(*[segment(*points[i], *points[i + 1], w) for i in range(len(points) - 1)])


def polygon(points):
    n = len(points)
    def sdf(x, y):
        d = float("inf")
        inside = False
        for i in range(n):
            ax, ay = points[i]
            bx, by = points[(i + 1) % n]
            dx, dy = bx - ax, by - ay
            t = clamp(((x - ax) * dx + (y - ay) * dy) / ((dx * dx + dy * dy) or 1e-9))
            d = min(d, math.hypot(x - ax - t * dx, y - ay - t * dy))
            if (ay > y) != (by > y) and x < ax + (y - ay) * dx / (by - ay):
                inside = not inside
        return -d if inside else d
    return sdf


def union(*sdfs):
    return lambda x, y: min(f(x, y) for f in sdfs)


def subtract(a, b):
    return lambda x, y: max(a(x, y), -b(x, y))


def intersect(a, b):
    return lambda x, y: max(a(x, y), b(x, y))


def inset(sdf, amount):
    return lambda x, y: sdf(x, y) + amount


def vertical(top_color, bottom_color, y0, y1):
    def color(x, y):
        return mix(top_color, bottom_color, clamp((y - y0) / max(y1 - y0, 1e-9)))
    return color

# ---------------------------------------------------------------------------
# Canvas: float RGB plus alpha, painted with shapes.


class Canvas:
    """A picture of width x height design pixels, held at `scale` device
    pixels each: shapes, boxes and colour functions speak design pixels, and
    edges are anti-aliased over one device pixel, so a picture at scale 2 has
    the same look as at 1 with finer detail."""

    def __init__(self, width, height, color=(0, 0, 0), alpha=1.0, scale=1):
        self.scale = scale
        self.w, self.h = int(round(width * scale)), int(round(height * scale))
        self.px = [[list(color) + [alpha] for _ in range(self.w)] for _ in range(self.h)]

    def paint(self, sdf, color, box=None, opacity=1.0, soft=1.0):
        """Paints colour (or colour(x, y)) where the shape is; `soft` widens the edge."""
        s = self.scale
        x0, y0, x1, y1 = [v * s for v in box] if box else (0, 0, self.w, self.h)
        x0, y0 = max(0, int(math.floor(x0)) - 1), max(0, int(math.floor(y0)) - 1)
        x1, y1 = min(self.w, int(math.ceil(x1)) + 1), min(self.h, int(math.ceil(y1)) + 1)
        for y in range(y0, y1):
            row = self.px[y]
            dy = (y + 0.5) / s
            for x in range(x0, x1):
                dx = (x + 0.5) / s
                d = sdf(dx, dy) * s
                cover = clamp(0.5 - d / soft) * opacity
                if cover <= 0:
                    continue
                c = color(dx, dy) if callable(color) else color
                p = row[x]
                a = p[3]
                out_a = cover + a * (1 - cover)
                if out_a <= 0:
                    continue
                for i in range(3):
                    p[i] = (c[i] * cover + p[i] * a * (1 - cover)) / out_a
                p[3] = out_a

    def pixel(self, x, y):
        p = self.px[y][x]
        return tuple(int(round(clamp(v, 0, 255))) for v in p[:3])

    def rgb_rows(self):
        return [[self.pixel(x, y) for x in range(self.w)] for y in range(self.h)]

    def rgba_rows(self):
        return [[self.pixel(x, y) + (int(round(clamp(self.px[y][x][3]) * 255)),) for x in range(self.w)]
                for y in range(self.h)]

# ---------------------------------------------------------------------------
# The wordmark "Modavi": a rounded geometric sans made of strokes.


def wordmark(x, baseline, cap, weight=None, spacing=None):
    """Strokes of "Modavi" with its left edge at x; returns (sdf, right edge)."""
    w = weight if weight is not None else cap * 0.16
    xh = cap * 0.72                     # x-height
    gap = spacing if spacing is not None else cap * 0.13
    r = xh / 2                          # bowl radius to the outer edge
    rc = r - w / 2
    top, mid = baseline - cap + w / 2, baseline - w / 2
    xtop = baseline - xh + w / 2
    parts = []
    # M
    mw = cap * 0.86
    a, b = x + w / 2, x + mw - w / 2
    m = (a + b) / 2
    parts += [segment(a, mid, a, top, w), segment(a, top, m, baseline - cap * 0.30, w),
              segment(m, baseline - cap * 0.30, b, top, w), segment(b, top, b, mid, w)]
    x += mw + gap
    # o
    parts.append(ring(x + r, baseline - r, rc, w))
    x += 2 * r + gap
    # d
    parts += [ring(x + r, baseline - r, rc, w), segment(x + 2 * r - w / 2, top, x + 2 * r - w / 2, mid, w)]
    x += 2 * r + gap
    # a
    parts += [ring(x + r, baseline - r, rc, w), segment(x + 2 * r - w / 2, xtop, x + 2 * r - w / 2, mid, w)]
    x += 2 * r + gap * 0.8
    # v
    vw = xh * 0.92
    parts += [segment(x + w / 2, xtop, x + vw / 2, mid, w), segment(x + vw / 2, mid, x + vw - w / 2, xtop, w)]
    x += vw + gap * 0.8
    # i
    parts += [segment(x + w / 2, xtop, x + w / 2, mid, w), circle(x + w / 2, baseline - xh - w * 1.25, w * 0.62)]
    x += w
    return union(*parts), x


def wordmark_width(cap, **kw):
    return wordmark(0, cap, cap, **kw)[1]


def brand_tile(canvas, x0, y0, size, radius=None, line=None):
    """The brand mark: an azure tile with a white line signal across it."""
    r = radius if radius is not None else size * 0.24
    tile = rrect(x0, y0, x0 + size, y0 + size, r)
    canvas.paint(tile, vertical(AZURE_TOP, AZURE_BOTTOM, y0, y0 + size), (x0, y0, x0 + size, y0 + size))
    # A soft sheen over the upper half.
    canvas.paint(intersect(tile, rrect(x0 - 1, y0 - 1, x0 + size + 1, y0 + size * 0.48, r)), WHITE,
                 (x0, y0, x0 + size, y0 + size), opacity=0.10)
    w = line if line is not None else max(1.4, size * 0.11)
    points = []
    steps = 24
    for i in range(steps + 1):
        t = i / steps
        px = x0 + size * (0.18 + 0.64 * t)
        py = y0 + size * (0.55 - 0.20 * math.sin(t * 2 * math.pi * 1.0 + 0.2) * (0.55 + 0.45 * t))
        points.append((px, py))
    canvas.paint(polyline(points, w), WHITE, (x0, y0, x0 + size, y0 + size))
    ex, ey = points[-1]
    canvas.paint(circle(ex, ey, w * 0.95), WHITE, (x0, y0, x0 + size, y0 + size))

# ---------------------------------------------------------------------------
# Files


def write_file(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)
    print("wrote %s (%d bytes)" % (os.path.relpath(path, ROOT), len(data)))


def bmp8(rows, table, colors_used=None):
    """An 8-bit .bmp file image: rows of palette indexes (top row first)."""
    h, w = len(rows), len(rows[0])
    stride = (w + 3) // 4 * 4
    n = len(table)
    pixels = b"".join(bytes(rows[y]) + b"\0" * (stride - w) for y in range(h - 1, -1, -1))
    colors_used = n if colors_used is None else colors_used
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 0, len(pixels), 2835, 2835, colors_used, 0)
    tab = b"".join(struct.pack("BBBB", c[2], c[1], c[0], 0) for c in table)
    offset = 14 + 40 + len(tab)
    return b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + header + tab + pixels


def bmp24(rows):
    h, w = len(rows), len(rows[0])
    stride = (w * 3 + 3) // 4 * 4
    pixels = b"".join(b"".join(struct.pack("BBB", c[2], c[1], c[0]) for c in rows[y]) + b"\0" * (stride - 3 * w)
                      for y in range(h - 1, -1, -1))
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 54 + len(pixels), 0, 0, 54) + header + pixels


def ico(images):
    """An .ico file of 32-bit images (rows of (r, g, b, a), top row first)."""
    entries, blobs = [], []
    offset = 6 + 16 * len(images)
    for rows in images:
        size = len(rows)
        xor = b"".join(b"".join(struct.pack("BBBB", p[2], p[1], p[0], p[3]) for p in rows[y])
                       for y in range(size - 1, -1, -1))
        mask_stride = (size + 31) // 32 * 4
        mask = b""
        for y in range(size - 1, -1, -1):
            bits = bytearray(mask_stride)
            for x in range(size):
                if rows[y][x][3] == 0:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bytes(bits)
        header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        blob = header + xor + mask
        entries.append(struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    return struct.pack("<HHH", 0, 1, len(images)) + b"".join(entries) + b"".join(blobs)


def grey_rows(canvas):
    """Pixels of a grey picture as grey levels 0..255."""
    return [[int(round(clamp(sum(p[:3]) / 3, 0, 255))) for p in row] for row in canvas.px]


def median_cut(colors, limit):
    """Up to `limit` representative colours of a {colour: count} histogram."""
    boxes = [sorted(colors.items())]
    while len(boxes) < limit:
        best, best_range = None, 0
        for i, box in enumerate(boxes):
            if len(box) < 2:
                continue
            for ch in range(3):
                vals = [c[0][ch] for c in box]
                rng = (max(vals) - min(vals)) * math.log2(1 + sum(c[1] for c in box))
                if rng > best_range:
                    best, best_range, best_ch = i, rng, ch
        if best is None:
            break
        box = sorted(boxes.pop(best), key=lambda c: (c[0][best_ch], c[0]))
        total = sum(c[1] for c in box)
        acc, cut = 0, 1
        for j, c in enumerate(box):
            acc += c[1]
            if acc >= total / 2:
                cut = max(1, min(len(box) - 1, j + 1))
                break
        boxes += [box[:cut], box[cut:]]
    table = []
    for box in boxes:
        total = sum(c[1] for c in box)
        table.append(tuple(int(round(sum(c[0][ch] * c[1] for c in box) / total)) for ch in range(3)))
    return table


def palettize(rows, keep=(), limit=256):
    """Indexes and a colour table for rows of colours; `keep` colours stay exact."""
    hist = {}
    for row in rows:
        for c in row:
            hist[c] = hist.get(c, 0) + 1
    exact = [c for c in keep]
    rest = {c: n for c, n in hist.items() if c not in exact}
    if len(rest) + len(exact) <= limit:
        table = exact + sorted(rest)
    else:
        table = exact + [c for c in median_cut(rest, limit - len(exact)) if c not in exact]
    lookup = {}
    def index(c):
        if c not in lookup:
            lookup[c] = min(range(len(table)), key=lambda i: sum((table[i][k] - c[k]) ** 2 for k in range(3)))
        return lookup[c]
    for i, c in enumerate(table):
        lookup.setdefault(c, i)
    return [[index(c) for c in row] for row in rows], table


def pad_table(table, size, filler=(0, 0, 0)):
    return list(table) + [filler] * (size - len(table))

# ---------------------------------------------------------------------------
# Skin background, bitmap 1016 (greys)

SKIN_W, SKIN_H = 388, 263
PANEL = (27, 53, 359, 189)
FACE_TOP, FACE_BOTTOM = 226, 204


def face_grey(y):
    """The face's grey at row y: flat behind the logo, then a gentle fall."""
    if y < 48:
        return FACE_TOP
    return FACE_TOP + (FACE_BOTTOM - FACE_TOP) * clamp((y - 48) / (SKIN_H - 48))


def grey(v):
    return (v, v, v)


def recess(canvas, x0, y0, x1, y1, r, depth=1.0, fill=None):
    """A shallow well in the face: shadow above, light below, darker floor."""
    box = (x0 - 2, y0 - 2, x1 + 2, y1 + 2)
    outer = rrect(x0, y0, x1, y1, r)
    canvas.paint(inset(rrect(x0, y0 + 1, x1, y1 + 1, r), 0), grey(250), box, opacity=0.9)   # lit lower lip
    canvas.paint(outer, lambda x, y: grey(face_grey(y) - 30 * depth), box)
    canvas.paint(intersect(outer, lambda x, y: y0 + 1.6 - y), grey(120), box, opacity=0.35 * depth)
    if fill is not None:
        canvas.paint(inset(outer, 1.0), fill, box)


def skin_background(scale=1):
    c = Canvas(SKIN_W, SKIN_H, grey(FACE_TOP), scale=scale)
    # Face with a dark outline along the window's rounded edge (corner ellipse 30 x 30).
    edge = rrect(0.5, 0.5, SKIN_W - 0.5, SKIN_H - 0.5, 14.5)
    c.paint(lambda x, y: -1, lambda x, y: grey(face_grey(y)))
    c.paint(lambda x, y: abs(edge(x, y)) - 0.6, grey(74))
    c.paint(lambda x, y: abs(edge(x, y) + 1.5) - 0.55, grey(246), opacity=0.9)        # inner highlight
    c.paint(intersect(lambda x, y: abs(edge(x, y) + 1.5) - 0.55, lambda x, y: 120 - y), grey(252))

    # Header: a hairline under it, leaving the logo's place plain.
    c.paint(segment(18, 46.5, SKIN_W - 18, 46.5, 1.0), grey(236), (0, 44, SKIN_W, 49), opacity=0.8)

    # Minimise and close: one shallow pill behind both buttons.
    recess(c, 329, 16, 372, 39, 7)

    # The display: a dark bezel around the black text panel.
    bx0, by0, bx1, by1 = PANEL[0] - 4, PANEL[1] - 4, PANEL[2] + 4, PANEL[3] + 4
    box = (bx0 - 3, by0 - 3, bx1 + 3, by1 + 3)
    bezel = rrect(bx0, by0, bx1, by1, 6)
    c.paint(rrect(bx0, by0 + 1.2, bx1, by1 + 1.2, 6), grey(250), box)                  # light below
    c.paint(rrect(bx0 - 1, by0 - 1, bx1 + 1, by1 + 0.5, 7), grey(150), box, opacity=0.55)  # soft shadow above
    c.paint(bezel, vertical(grey(70), grey(44), by0, by1), box)
    c.paint(inset(rrect(PANEL[0] - 1, PANEL[1] - 1, PANEL[2] + 1, PANEL[3] + 1, 2), 0), grey(14), box)
    c.paint(rrect(*PANEL, 0), grey(0), box)

    # Page buttons.
    recess(c, 23, 198, 45, 220, 6)
    recess(c, 52, 198, 74, 220, 6)

    # Activity display: light, direction arrows and the two bars on one dark plate.
    px0, py0, px1, py1 = 239, 199, 366, 244
    box = (px0 - 3, py0 - 3, px1 + 3, py1 + 3)
    plate = rrect(px0, py0, px1, py1, 7)
    c.paint(rrect(px0, py0 + 1.2, px1, py1 + 1.2, 7), grey(250), box)
    c.paint(rrect(px0 - 1, py0 - 1, px1 + 1, py1 + 0.5, 8), grey(150), box, opacity=0.55)
    c.paint(plate, vertical(grey(52), grey(34), py0, py1), box)
    c.paint(inset(plate, 1.0), vertical(grey(30), grey(22), py0, py1), box)
    # Socket of the light at (247, 205), 11 x 11.
    lx, ly = 247 + 5.5, 205 + 5.5
    c.paint(circle(lx, ly + 0.6, 7.4), grey(70), box)
    c.paint(circle(lx, ly, 7.0), grey(10), box)
    # Bar beds: segments of 5, gaps of 4, at x 275..361, rows 204..219 and 224..239.
    for top in (204, 224):
        c.paint(rrect(273, top - 2, 363, top + 17, 2), grey(12), box)
    # Arrows: upstream beside the upper bar, downstream beside the lower one.
    ax = 266.5
    c.paint(polygon([(ax, 206.5), (ax + 3.6, 211.5), (ax - 3.6, 211.5)]), grey(150), box)
    c.paint(segment(ax, 210.5, ax, 217, 2.0), grey(150), box)
    c.paint(polygon([(ax, 237.5), (ax + 3.6, 232.5), (ax - 3.6, 232.5)]), grey(150), box)
    c.paint(segment(ax, 226.5, ax, 233.5, 2.0), grey(150), box)

    # A little grip of dots at the bottom centre, for dragging.
    for i in range(5):
        c.paint(circle(170 + i * 6 + 0.5, 250.5, 1.1), grey(170), (160, 245, 210, 256))
        c.paint(circle(170 + i * 6 + 0.5, 251.5, 1.1), grey(248), (160, 245, 210, 256), opacity=0.7)
    return c


def write_background(scale=1):
    c = skin_background(scale)
    rows = grey_rows(c)
    return bmp8(rows, [grey(v) for v in range(256)], colors_used=0), c

# ---------------------------------------------------------------------------
# Title bar, bitmap 1019 (greys, 236 colours)

TITLE_W, TITLE_H = 331, 20


def titlebar(scale=1):
    c = Canvas(TITLE_W, TITLE_H, grey(0), scale=scale)
    def shade(x, y):
        t = y / TITLE_H
        v = 124 - 62 * t                      # darker towards the bottom
        if t < 0.5:
            v += 10 * (0.5 - t)               # gloss on the upper half
        v += 10 * math.exp(-((x - TITLE_W * 0.35) / (TITLE_W * 0.45)) ** 2)   # a broad sheen
        return grey(v)
    c.paint(lambda x, y: -1, shade)
    c.paint(segment(0, 0.5, TITLE_W, 0.5, 1), grey(160), opacity=0.9)          # top highlight
    c.paint(segment(0, TITLE_H - 0.5, TITLE_W, TITLE_H - 0.5, 1), grey(26))       # bottom edge
    return c


def write_titlebar(scale=1):
    c = titlebar(scale)
    rows = grey_rows(c)
    used = sorted({v for row in rows for v in row})
    assert len(used) <= 236, len(used)
    # The table holds exactly 236 greys: the ones used, then unused ones.
    spare = [v for v in range(256) if v not in used]
    levels = used + spare[:236 - len(used)]
    index = {v: i for i, v in enumerate(levels)}
    return bmp8([[index[v] for v in row] for row in rows], [grey(v) for v in levels]), c

# ---------------------------------------------------------------------------
# Button strip, bitmap 1017: columns next 0, previous 30, close 60, minimise
# 90; rows normal, hot, disabled, pressed, 25 pixels each.

STRIP_W, STRIP_H = 120, 100
COLUMNS = [("next", 0, 18), ("previous", 30, 18), ("close", 60, 17), ("minimise", 90, 17)]
STATES = ["normal", "hot", "disabled", "pressed"]


def glyph(kind, x0, y0, side, w):
    cx, cy = x0 + side / 2, y0 + side / 2
    s = side / 18
    if kind == "next":
        return polyline([(cx - 2.2 * s, cy - 4.5 * s), (cx + 2.3 * s, cy), (cx - 2.2 * s, cy + 4.5 * s)], w)
    if kind == "previous":
        return polyline([(cx + 2.2 * s, cy - 4.5 * s), (cx - 2.3 * s, cy), (cx + 2.2 * s, cy + 4.5 * s)], w)
    if kind == "close":
        d = 3.6 * s
        return union(segment(cx - d, cy - d, cx + d, cy + d, w), segment(cx - d, cy + d, cx + d, cy - d, w))
    return segment(cx - 4.0 * s, cy + 2.5 * s, cx + 4.0 * s, cy + 2.5 * s, w)


def button(c, kind, x0, y0, side, state):
    box = (x0, y0, x0 + side, y0 + side)
    cap = rrect(x0 + 0.5, y0 + 0.5, x0 + side - 0.5, y0 + side - 0.5, 4.5)
    face = lambda g: tint(g, sat=40)   # near neutral: sits well on any hue
    if state == "pressed":
        body, rim, ink = vertical(face(200), face(218), y0, y0 + side), face(140), SLATE
    elif state == "hot":
        body, rim, ink = vertical(face(255), face(236), y0, y0 + side), face(150), AZURE
    elif state == "disabled":
        body, rim, ink = vertical(face(232), face(226), y0, y0 + side), face(188), face(172)
    else:
        body, rim, ink = vertical(face(250), face(226), y0, y0 + side), face(158), SLATE
    if kind == "close" and state in ("hot", "pressed"):
        body = vertical((236, 84, 70), (208, 46, 38), y0, y0 + side) if state == "hot" else \
            vertical((196, 44, 36), (172, 36, 30), y0, y0 + side)
        rim, ink = (146, 32, 26), WHITE
    c.paint(cap, rim, box)
    c.paint(inset(cap, 1.0), body, box)
    if state != "pressed" and not (kind == "close" and state == "hot"):
        c.paint(intersect(inset(cap, 1.0), lambda x, y: y0 + 2.2 - y), WHITE, box, opacity=0.55)
    shift = 1 if state == "pressed" else 0
    c.paint(glyph(kind, x0, y0 + shift, side, 1.9 * side / 18), ink, box)


def flatten_over(c, under):
    """Makes a canvas opaque: partly covered pixels blend over `under`, and
    all that is left uncovered becomes the key colour."""
    for row in c.px:
        for p in row:
            a = p[3]
            for i in range(3):
                p[i] = p[i] * a + under[i] * (1 - a) if a > 0.02 else MAGENTA[i]
            p[3] = 1.0


def button_strip(scale=1):
    c = Canvas(STRIP_W, STRIP_H, MAGENTA, alpha=0.0, scale=scale)
    for kind, col, side in COLUMNS:
        for row, state in enumerate(STATES):
            button(c, kind, col, row * 25, side, state)
    # The rounded corners blend into the recess they sit in.
    flatten_over(c, tint(196))
    return c


def write_strip(scale=1):
    c = button_strip(scale)
    rows = c.rgb_rows()
    for kind, col, side in COLUMNS:
        for row in range(4):
            assert rows[row * 25 * scale][col * scale] == MAGENTA, (kind, row)
    key_light = lightness(*MAGENTA)
    # Recolouring keeps only lightness: no other colour may share the key's.
    def unique(cl):
        while cl != MAGENTA and lightness(*cl) == key_light:
            cl = tuple(min(255, v + 1) for v in cl)
        return cl
    rows = [[unique(cl) for cl in row] for row in rows]
    indexes, table = palettize(rows, keep=[MAGENTA])
    assert all(lightness(*cl) != key_light for cl in table[1:])
    return bmp8(indexes, pad_table(table, 256), colors_used=0), rows

# ---------------------------------------------------------------------------
# Connection light, bitmap 1018: three 11 x 11 lamps at (1, 25 n).


def lamp(c, x0, y0, top, bottom, glow):
    cx, cy = x0 + 5.5, y0 + 5.5
    box = (x0, y0, x0 + 11, y0 + 11)
    c.paint(circle(cx, cy, 5.3), (18, 20, 24), box)
    c.paint(circle(cx, cy, 4.4), lambda x, y: mix(top, bottom, clamp((math.hypot(x - cx + 1.2, y - cy + 1.6)) / 5.6)), box)
    c.paint(circle(cx - 1.3, cy - 1.7, 1.6), WHITE, box, opacity=0.75 * glow)


def lights(scale=1):
    c = Canvas(18, 75, MAGENTA, alpha=0.0, scale=scale)
    lamp(c, 1, 0, (150, 250, 130), (26, 150, 40), 1.0)       # connected
    lamp(c, 1, 25, (255, 226, 130), (206, 128, 10), 1.0)     # state unreadable
    lamp(c, 1, 50, (240, 110, 96), (128, 26, 22), 0.6)       # not connected
    flatten_over(c, tint(10))  # the lamps' edges blend into their socket
    return c


def write_lights(scale=1):
    c = lights(scale)
    rows = c.rgb_rows()
    for n in range(3):
        assert rows[25 * n * scale][1 * scale] == MAGENTA
    indexes, table = palettize(rows, keep=[MAGENTA])
    return bmp8(indexes, pad_table(table, 256), colors_used=0), rows

# ---------------------------------------------------------------------------
# Logos and banner


def flatten(c, under, key, threshold=0.02):
    """Blends partly covered pixels into `under(x, y)` and makes the rest the key."""
    rows = []
    for y, row in enumerate(c.px):
        out = []
        for x, p in enumerate(row):
            a = p[3]
            if a <= threshold:
                out.append(key)
                continue
            u = under(x, y)
            col = tuple(int(round(clamp(p[i] * a + u[i] * (1 - a), 0, 255))) for i in range(3))
            if col == key:                     # never the key by accident
                col = (col[0], col[1] ^ 1, col[2])
            out.append(col)
        rows.append(out)
    return rows


def logo(width, height, cap, tile, ink):
    c = Canvas(width, height, (0, 0, 0), alpha=0.0)
    ty = (height - tile) / 2
    brand_tile(c, 1, ty, tile)
    wm_x = 1 + tile + tile * 0.38
    baseline = ty + tile * 0.5 + cap * 0.5
    sdf, right = wordmark(wm_x, baseline, cap)
    c.paint(sdf, ink, (wm_x - 2, baseline - cap - 4, right + 2, baseline + 2))
    return c, right


def logo_skin():
    # Drawn at x 18, y = (53 - h) / 2 on the face; its key is the face's own
    # colour there (default settings), so it also looks right drawn opaque.
    height = 40
    top = (53 - height) // 2
    c, right = logo(250, height, 24, 30, SLATE)
    width = int(math.ceil(right)) + 3
    under = lambda x, y: tint(int(round(face_grey(top + y))))
    key = tint(FACE_TOP)
    rows = [row[:width] for row in flatten(c, under, key)]
    assert 18 + width < 326
    return rows


def logo_classic():
    c, right = logo(262, 50, 33, 42, SLATE)
    rows = flatten(c, lambda x, y: DIALOG_FACE, DIALOG_FACE)
    return rows


def banner(scale=1):
    c = Canvas(180, 25, (0, 0, 0), alpha=0.0, scale=scale)
    brand_tile(c, 3, 3.5, 18, radius=4.5, line=1.6)
    sdf, right = wordmark(27, 18.5, 13, weight=2.2)
    c.paint(sdf, SLATE, (25, 2, right + 2, 22))
    rows = flatten(c, lambda x, y: DIALOG_FACE, KEY_GREEN)
    assert rows[0][0] == KEY_GREEN
    indexes, table = palettize(rows, keep=[KEY_GREEN])
    data = bmp8(indexes, pad_table(table, 256), colors_used=0)
    assert scale != 1 or len(data) == 5578, len(data)
    return data, rows



def installer_side():
    """The installer's welcome and finish pages' side picture: the brand tile
    framed in white and the wordmark on azure, over faint line signals."""
    w, h = 164, 314
    c = Canvas(w, h, AZURE_BOTTOM)
    c.paint(rrect(-2, -2, w + 2, h + 2, 0), vertical(AZURE_TOP, AZURE_BOTTOM, 0, h))
    for i in range(5):
        base, amp = 226 + i * 15, 9 - i
        points = [(x, base - amp * math.sin(x / w * 2 * math.pi + i * 0.7)) for x in range(-4, w + 5, 4)]
        c.paint(polyline(points, 2.2), WHITE, (0, base - 12, w, base + 12), opacity=0.22 - i * 0.03)
    side, x0, y0 = 76, (w - 76) / 2, 54
    c.paint(rrect(x0 - 4, y0 - 4, x0 + side + 4, y0 + side + 4, side * 0.28), WHITE)
    brand_tile(c, x0, y0, side)
    cap = 25
    sdf, right = wordmark(0, 0, cap)
    left = (w - right) / 2
    sdf, right = wordmark(left, 172, cap)
    c.paint(sdf, WHITE, (left - 2, 172 - cap - 6, right + 2, 174))
    return c.rgb_rows()

# ---------------------------------------------------------------------------
# Icons


def icon_canvas(size):
    return Canvas(size, size, (0, 0, 0), alpha=0.0)


def program_icon(size):
    c = icon_canvas(size)
    m = 1 if size <= 16 else size / 16
    brand_tile(c, m * 0.5, m * 0.5, size - m, radius=size * 0.22, line=max(1.6, size * 0.105))
    return c


def disc(c, size, top, bottom, glow):
    cx = cy = size / 2
    r = size / 2 - max(0.6, size / 32)
    c.paint(circle(cx, cy, r), mix(bottom, (0, 0, 0), 0.25))
    c.paint(circle(cx, cy, r - max(0.8, size / 24)), lambda x, y: mix(top, bottom, clamp((y - cy + r) / (2 * r))))
    if glow:
        c.paint(intersect(circle(cx, cy, r - size / 12), lambda x, y: cy - size * 0.04 - y), WHITE, opacity=0.28)


def state_icon(size, kind, blink_on):
    """Status page: line not up (red), line up (green), unreadable (amber)."""
    c = icon_canvas(size)
    colours = {"down": (RED_TOP, RED), "up": (GREEN_TOP, GREEN), "unknown": (AMBER_TOP, AMBER)}
    top, bottom = colours[kind]
    if not blink_on:   # the resting phase: the same lamp, dimmed
        top, bottom = mix(top, (60, 64, 70), 0.45), mix(bottom, (40, 44, 50), 0.45)
    disc(c, size, top, bottom, blink_on)
    s = size / 16
    w = max(1.6, 1.9 * s)
    cx = cy = size / 2
    if kind == "up":
        g = polyline([(cx - 3.6 * s, cy + 0.2 * s), (cx - 1.0 * s, cy + 2.8 * s), (cx + 3.8 * s, cy - 2.6 * s)], w)
    elif kind == "down":
        g = segment(cx - 3.6 * s, cy, cx + 3.6 * s, cy, w)
    else:
        g = union(arc(cx, cy - 1.6 * s, 2.4 * s, w, 180, 405),
                  segment(cx + 1.7 * s, cy + 0.1 * s, cx, cy + 1.2 * s, w),
                  circle(cx, cy + 4.0 * s, w * 0.62))
    c.paint(g, WHITE if blink_on else (236, 238, 240))
    return c


def tile(c, size, top, bottom):
    m = 0.5 if size <= 16 else size / 32
    r = size * 0.2
    c.paint(rrect(m, m, size - m, size - m, r), mix(bottom, (0, 0, 0), 0.3))
    c.paint(rrect(m + 0.9, m + 0.9, size - m - 0.9, size - m - 0.9, r - 0.8),
            lambda x, y: mix(top, bottom, clamp(y / size)))


def arrow(size, x, up, w):
    s = size / 16
    y_tip, y_tail = (2.8 * s, 13.2 * s) if up else (13.2 * s, 2.8 * s)
    head = 3.2 * s * (1 if up else -1)
    return union(segment(x, y_tip + 0.8 * s * (1 if up else -1), x, y_tail, w),
                 polyline([(x - 3.0 * s, y_tip + head), (x, y_tip), (x + 3.0 * s, y_tip + head)], w))


def tray_icon(size, kind):
    """Notification area: line up with traffic, unreadable, training, down."""
    c = icon_canvas(size)
    s = size / 16
    w = max(1.7, 2.0 * s)
    if kind.startswith("up"):
        tile(c, size, GREEN_TOP, (22, 128, 60))
        lit_up = kind in ("up_both", "up_up")
        lit_down = kind in ("up_both", "up_down")
        dim = (22, 96, 48)
        c.paint(arrow(size, 5.0 * s, True, w), WHITE if lit_up else dim)
        c.paint(arrow(size, 11.0 * s, False, w), WHITE if lit_down else dim)
    elif kind == "unreadable":
        tile(c, size, GREY_TOP, GREY)
        cx = size / 2
        c.paint(union(arc(cx, 6.0 * s, 2.6 * s, w, 180, 405), segment(cx + 1.8 * s, 8.0 * s, cx, 9.4 * s, w),
                      circle(cx, 12.6 * s, w * 0.62)), WHITE)
    elif kind == "training":
        tile(c, size, AMBER_TOP, (214, 132, 12))
        pts = [(2.8 * s + 10.4 * s * i / 30, 8 * s - 3.0 * s * math.sin(i / 30 * 2 * math.pi * 1.5)) for i in range(31)]
        c.paint(polyline(pts, w), WHITE)
    else:
        tile(c, size, RED_TOP, (176, 40, 34))
        d = 3.4 * s
        cx = cy = size / 2
        c.paint(union(segment(cx - d, cy - d, cx + d, cy + d, w), segment(cx - d, cy + d, cx + d, cy - d, w)), WHITE)
    return c


# The sizes of every display scale: small icons of 100 to 200 % (16 to 32)
# and large ones (32 to 64).
ICON_SIZES = (16, 20, 24, 32, 40, 48, 64)

ICONS = [
    ("program", 1001, program_icon),
    ("page_down", 1003, lambda n: state_icon(n, "down", False)),
    ("page_down_blink", 1004, lambda n: state_icon(n, "down", True)),
    ("page_up", 1005, lambda n: state_icon(n, "up", False)),
    ("page_up_blink", 1006, lambda n: state_icon(n, "up", True)),
    ("page_unreadable", 1007, lambda n: state_icon(n, "unknown", False)),
    ("page_unreadable_blink", 1008, lambda n: state_icon(n, "unknown", True)),
    ("tray_up_quiet", 1009, lambda n: tray_icon(n, "up_quiet")),
    ("tray_up_both", 1010, lambda n: tray_icon(n, "up_both")),
    ("tray_up_down", 1011, lambda n: tray_icon(n, "up_down")),
    ("tray_up_up", 1012, lambda n: tray_icon(n, "up_up")),
    ("tray_unreadable", 1013, lambda n: tray_icon(n, "unreadable")),
    ("tray_training", 1014, lambda n: tray_icon(n, "training")),
    ("tray_down", 1015, lambda n: tray_icon(n, "down")),
]

# ---------------------------------------------------------------------------


def main():
    # Each picture of the program file at 100 % and, for finer screens, at 200 %.
    for scale, suffix in ((1, ""), (2, "_200")):
        background, _ = write_background(scale)
        write_file(os.path.join(ART, "skin_background%s.bmp" % suffix), background)
        title, _ = write_titlebar(scale)
        write_file(os.path.join(ART, "skin_titlebar%s.bmp" % suffix), title)
        strip, _ = write_strip(scale)
        write_file(os.path.join(ART, "skin_buttons%s.bmp" % suffix), strip)
        light, _ = write_lights(scale)
        write_file(os.path.join(ART, "skin_lights%s.bmp" % suffix), light)
        banner_data, _ = banner(scale)
        write_file(os.path.join(ART, "banner%s.bmp" % suffix), banner_data)

    write_file(os.path.join(DIST, "LogoSkin.bmp"), bmp24(logo_skin()))
    write_file(os.path.join(DIST, "LogoClas.bmp"), bmp24(logo_classic()))
    write_file(os.path.join(ROOT, "packaging", "wizard.bmp"), bmp24(installer_side()))

    for name, _, draw in ICONS:
        write_file(os.path.join(ART, name + ".ico"), ico([draw(n).rgba_rows() for n in ICON_SIZES]))


if __name__ == "__main__":
    main()
