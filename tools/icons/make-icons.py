#!/usr/bin/env python3
"""Draws the plugin's small icons (the folder tree's eight, the list's one and the root menu's
removal) and writes them as 16x16 32-bit .ico files with a mask, so the resource script needs
no binary art from anywhere else. Shapes are sampled 4x4 per pixel, which keeps the edges soft
at this size.

Usage: make-icons.py OUTPUT_FOLDER [--preview sheet.png]
"""
import math
import os
import struct
import sys
import zlib

SIZE = 16
SAMPLES = 4  # per axis, per pixel


# Shapes: each is a test of a point in pixel coordinates (0..16, y down).

def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r_outer, r_inner):
    return lambda x, y: r_inner * r_inner < (x - cx) ** 2 + (y - cy) ** 2 <= r_outer * r_outer


def ellipse(cx, cy, rx, ry, angle=0.0):
    c, s = math.cos(angle), math.sin(angle)

    def inside(x, y):
        dx, dy = x - cx, y - cy
        u, v = dx * c + dy * s, -dx * s + dy * c
        return (u / rx) ** 2 + (v / ry) ** 2 <= 1.0
    return inside


def polygon(*points):
    def inside(x, y):
        result = False
        j = len(points) - 1
        for i, (xi, yi) in enumerate(points):
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                result = not result
            j = i
        return result
    return inside


def segment(x0, y0, x1, y1, width):
    dx, dy = x1 - x0, y1 - y0
    length2 = dx * dx + dy * dy

    def inside(x, y):
        t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
        px, py = x0 + t * dx - x, y0 + t * dy - y
        return px * px + py * py <= (width / 2) ** 2
    return inside


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def minus(shape, cut):
    return lambda x, y: shape(x, y) and not cut(x, y)


# Paints: a fixed colour, or a vertical gradient between two colours over a span of rows.

def vertical(top, bottom, y0, y1):
    def paint(x, y):
        t = max(0.0, min(1.0, (y - y0) / (y1 - y0)))
        return tuple(a + (b - a) * t for a, b in zip(top, bottom))
    return paint


def as_paint(colour):
    if callable(colour):
        return colour
    return lambda x, y: colour


class Canvas:
    """Straight-alpha RGBA pixels, painted in layers with 'over' compositing."""

    def __init__(self):
        self.pixels = [[(0.0, 0.0, 0.0, 0.0)] * SIZE for _ in range(SIZE)]

    def fill(self, shape, colour, alpha=1.0):
        paint = as_paint(colour)
        step = 1.0 / SAMPLES
        for py in range(SIZE):
            for px in range(SIZE):
                covered = 0
                acc = [0.0, 0.0, 0.0]
                for sy in range(SAMPLES):
                    for sx in range(SAMPLES):
                        x, y = px + (sx + 0.5) * step, py + (sy + 0.5) * step
                        if shape(x, y):
                            covered += 1
                            c = paint(x, y)
                            for i in range(3):
                                acc[i] += c[i]
                if covered:
                    a = alpha * covered / (SAMPLES * SAMPLES)
                    c = [v / covered for v in acc]
                    self._over(px, py, c, a)

    def _over(self, px, py, colour, alpha):
        r, g, b, a = self.pixels[py][px]
        out = alpha + a * (1 - alpha)
        if out <= 0:
            return
        mixed = [(colour[i] * alpha + (r, g, b)[i] * a * (1 - alpha)) / out for i in range(3)]
        self.pixels[py][px] = (mixed[0], mixed[1], mixed[2], out)

    def rgba_bytes(self):
        rows = []
        for row in self.pixels:
            rows.append([tuple(int(round(max(0.0, min(255.0, v)))) for v in (r, g, b))
                         + (int(round(a * 255)),) for r, g, b, a in row])
        return rows


# Colours.
FOLDER_EDGE = (160, 112, 24)
FOLDER_TOP = (255, 230, 150)
FOLDER_BOTTOM = (240, 190, 70)
FOLDER_BACK_TOP = (232, 186, 84)
FOLDER_BACK_BOTTOM = (214, 160, 52)
GREY_EDGE = (120, 120, 120)
GREY_TOP = (222, 222, 222)
GREY_BOTTOM = (186, 186, 186)
PAGE_EDGE = (96, 108, 128)
PAGE_FILL = (255, 255, 255)
PAGE_FOLD = (206, 214, 228)
LINE_BLUE = (52, 100, 190)
CROSS_RED = (210, 30, 30)
WHITE = (255, 255, 255)
DARK = (40, 40, 48)


def folder_body(canvas, top, bottom, edge):
    # The tab and back panel, then the front: one outline colour, a lighter inside.
    back = polygon((0.5, 2.5), (6.0, 2.5), (7.5, 4.0), (15.5, 4.0), (15.5, 14.5), (0.5, 14.5))
    back_inner = polygon((1.5, 3.5), (5.6, 3.5), (7.1, 5.0), (14.5, 5.0), (14.5, 13.5), (1.5, 13.5))
    canvas.fill(back, edge)
    canvas.fill(back_inner, vertical(top, bottom, 3.0, 14.0))
    front = rect(0.5, 6.0, 15.5, 14.5)
    canvas.fill(front, edge)
    canvas.fill(rect(1.5, 7.0, 14.5, 13.5), vertical(top, bottom, 7.0, 13.5))
    canvas.fill(rect(1.5, 7.0, 14.5, 8.0), WHITE, 0.45)


def folder(canvas):
    folder_body(canvas, FOLDER_TOP, FOLDER_BOTTOM, FOLDER_EDGE)


def open_folder(canvas):
    back = polygon((0.5, 2.5), (6.0, 2.5), (7.5, 4.0), (14.5, 4.0), (14.5, 14.5), (0.5, 14.5))
    back_inner = polygon((1.5, 3.5), (5.6, 3.5), (7.1, 5.0), (13.5, 5.0), (13.5, 13.5), (1.5, 13.5))
    canvas.fill(back, FOLDER_EDGE)
    canvas.fill(back_inner, vertical(FOLDER_BACK_TOP, FOLDER_BACK_BOTTOM, 3.0, 14.0))
    # A sheet peeking out of the open folder.
    canvas.fill(rect(3.0, 5.5, 12.5, 10.0), PAGE_EDGE)
    canvas.fill(rect(4.0, 6.5, 11.5, 10.0), PAGE_FILL)
    flap = polygon((3.5, 7.5), (15.8, 7.5), (13.0, 14.5), (0.5, 14.5))
    flap_inner = polygon((4.2, 8.5), (14.4, 8.5), (12.3, 13.5), (1.9, 13.5))
    canvas.fill(flap, FOLDER_EDGE)
    canvas.fill(flap_inner, vertical(FOLDER_TOP, FOLDER_BOTTOM, 8.5, 13.5))


def red_cross(canvas, x0, y0, x1, y1):
    halo = union(segment(x0, y0, x1, y1, 3.6), segment(x1, y0, x0, y1, 3.6))
    canvas.fill(halo, WHITE)
    canvas.fill(union(segment(x0, y0, x1, y1, 2.0), segment(x1, y0, x0, y1, 2.0)), CROSS_RED)


def missing_folder(canvas):
    folder_body(canvas, GREY_TOP, GREY_BOTTOM, GREY_EDGE)
    red_cross(canvas, 8.5, 8.5, 14.0, 14.0)


def not_loaded_root(canvas):
    folder(canvas)
    cx, cy = 11.0, 11.0
    canvas.fill(circle(cx, cy, 4.9), WHITE)
    canvas.fill(circle(cx, cy, 4.3), (60, 90, 150))
    canvas.fill(circle(cx, cy, 3.3), (250, 250, 255))
    canvas.fill(segment(cx, cy, cx, cy - 2.6, 1.1), DARK)
    canvas.fill(segment(cx, cy, cx + 2.0, cy + 0.6, 1.1), DARK)


def record(canvas):
    # A record seen from above: grooves, a red label and the spindle hole.
    c = 8.0
    canvas.fill(circle(c, c, 7.6), (24, 24, 28))
    for r in (6.4, 5.0):
        canvas.fill(ring(c, c, r, r - 0.45), (78, 78, 88))
    canvas.fill(minus(ring(c, c, 7.0, 5.6), polygon((0, 16), (16, 0), (16, 16))), WHITE, 0.22)
    canvas.fill(circle(c, c, 3.1), (206, 44, 44))
    canvas.fill(circle(c, c, 2.2), (232, 92, 72))
    hole = circle(c, c, 0.9)
    canvas.pixels = [[(0.0, 0.0, 0.0, 0.0) if hole(x + 0.5, y + 0.5) else p
                      for x, p in enumerate(row)] for y, row in enumerate(canvas.pixels)]


def page(canvas, edge, fill, fold):
    outline = polygon((2.5, 0.5), (10.5, 0.5), (14.0, 4.0), (14.0, 15.5), (2.5, 15.5))
    inner = polygon((3.5, 1.5), (10.1, 1.5), (13.0, 4.4), (13.0, 14.5), (3.5, 14.5))
    canvas.fill(outline, edge)
    canvas.fill(inner, fill)
    canvas.fill(polygon((10.0, 1.0), (10.0, 4.5), (13.5, 4.5)), fold)
    canvas.fill(segment(10.0, 1.0, 10.0, 4.5, 0.9), edge)
    canvas.fill(segment(10.0, 4.5, 13.5, 4.5, 0.9), edge)


def lines(canvas, colour, rows, x0=5.0, x1=11.5):
    for y in rows:
        canvas.fill(rect(x0, y, x1, y + 1.0), colour)


def playlist(canvas):
    page(canvas, PAGE_EDGE, PAGE_FILL, PAGE_FOLD)
    lines(canvas, LINE_BLUE, (6.0, 8.5, 11.0), x1=11.5)
    canvas.fill(rect(5.0, 3.5, 8.5, 4.5), LINE_BLUE)


def smart_playlist(canvas):
    page(canvas, PAGE_EDGE, PAGE_FILL, PAGE_FOLD)
    lines(canvas, LINE_BLUE, (6.0, 8.5), x1=11.5)
    canvas.fill(rect(5.0, 3.5, 8.5, 4.5), LINE_BLUE)
    cx, cy = 8.5, 10.5
    canvas.fill(segment(cx + 2.2, cy + 2.2, 15.0, 15.0, 3.6), WHITE)
    canvas.fill(circle(cx, cy, 4.2), WHITE)
    canvas.fill(segment(cx + 2.2, cy + 2.2, 14.6, 14.6, 2.0), (90, 60, 30))
    canvas.fill(ring(cx, cy, 3.5, 2.3), (40, 60, 110))
    canvas.fill(circle(cx, cy, 2.3), (170, 210, 245), 0.85)
    canvas.fill(circle(cx - 0.8, cy - 0.8, 0.8), WHITE, 0.8)


def missing_playlist(canvas):
    page(canvas, GREY_EDGE, (236, 236, 236), (200, 200, 200))
    lines(canvas, (160, 160, 160), (6.0, 8.5), x1=11.5)
    red_cross(canvas, 7.5, 8.5, 13.5, 14.5)


def note(canvas):
    # An eighth note: head, stem and flag.
    colour = (36, 64, 140)
    canvas.fill(ellipse(6.0, 12.2, 2.9, 2.0, -0.45), colour)
    canvas.fill(rect(7.9, 2.0, 9.1, 12.0), colour)
    canvas.fill(polygon((9.0, 2.0), (10.0, 2.0), (13.5, 5.5), (13.0, 8.5), (11.8, 6.6), (9.0, 5.0)), colour)


def remove_root(canvas):
    # A folder with a red bar across its corner: the root goes from the library.
    folder(canvas)
    canvas.fill(rect(6.5, 9.0, 15.5, 13.5), WHITE)
    canvas.fill(rect(7.5, 10.0, 14.5, 12.5), CROSS_RED)


# Resource id, file name, drawing.
ICONS = [
    (105, "folder-selected.ico", open_folder),
    (123, "folder.ico", folder),
    (5, "library.ico", record),
    (118, "folder-missing.ico", missing_folder),
    (127, "root-not-loaded.ico", not_loaded_root),
    (129, "playlist.ico", playlist),
    (135, "smart-playlist.ico", smart_playlist),
    (137, "playlist-missing.ico", missing_playlist),
    (114, "list-entry.ico", note),
    (116, "remove-root.ico", remove_root),
]


def ico_bytes(rows):
    """One 16x16 image: 32-bit BGRA rows bottom-up, then a 1-bit mask (1 = transparent)."""
    xor = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    mask = bytearray()
    for row in reversed(rows):
        bits = 0
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits |= 0x80000000 >> x
        mask += struct.pack(">I", bits)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = header + bytes(xor) + bytes(mask)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    return directory + entry + image


def png_bytes(width, height, rgb_rows):
    raw = b"".join(b"\x00" + bytes(row) for row in rgb_rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def preview(images, path, scale=8):
    """A sheet of every icon, magnified, over a light and a dark background."""
    gap = 4
    cell = SIZE * scale + gap
    width = cell * len(images) + gap
    height = cell * 2 + gap
    backgrounds = [(236, 236, 236), (36, 24, 24)]
    sheet = [[backgrounds[0 if y < cell + gap // 2 else 1] for _ in range(width)] for y in range(height)]
    for band, bg in enumerate(backgrounds):
        for i, rows in enumerate(images):
            for y in range(SIZE * scale):
                for x in range(SIZE * scale):
                    r, g, b, a = rows[y // scale][x // scale]
                    f = a / 255.0
                    sheet[gap + band * cell + y][gap + i * cell + x] = tuple(
                        int(round(c * f + k * (1 - f))) for c, k in zip((r, g, b), bg))
    flat = [[v for px in row for v in px] for row in sheet]
    with open(path, "wb") as f:
        f.write(png_bytes(width, height, flat))


def main(argv):
    if len(argv) < 2:
        sys.stderr.write(__doc__)
        return 2
    out = argv[1]
    os.makedirs(out, exist_ok=True)
    images = []
    for _, name, draw in ICONS:
        canvas = Canvas()
        draw(canvas)
        rows = canvas.rgba_bytes()
        images.append(rows)
        with open(os.path.join(out, name), "wb") as f:
            f.write(ico_bytes(rows))
    if len(argv) >= 4 and argv[2] == "--preview":
        preview(images, argv[3])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
