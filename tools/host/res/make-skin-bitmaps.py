#!/usr/bin/env python3
"""Draws the stand-in host's two skin bitmaps (120x60, 24-bit BMP): the colour strip in row 0
(22 entries at x = 48 + 2i, the reference colour at x = 111), push-button pieces in the
top-left 47x30 corner (normal rows 0-14, pressed rows 15-29) and scrollbar arrows and thumbs
in rows 31-58. Run it after changing a palette; the bitmaps are kept in the repository."""
import struct
import sys
from pathlib import Path

W, H = 120, 60
REFERENCE = (255, 0, 255)

SKINS = {
    "skin-default.bmp": {
        "entries": [(250, 250, 246), (20, 30, 60), (226, 230, 238), (16, 24, 48), (40, 48, 72),
                    (120, 132, 160), (40, 90, 200), (90, 100, 130), (255, 255, 255), (150, 170, 210),
                    (200, 206, 220), (170, 178, 196), (214, 218, 228), (204, 210, 224), (184, 192, 210),
                    (120, 150, 220), (90, 120, 200), (214, 218, 228)],
        "face": (208, 214, 228), "light": (246, 248, 252), "dark": (120, 128, 150),
        "arrow": (40, 48, 72), "back": (226, 230, 238),
    },
    "skin-dark.bmp": {
        "entries": [(0, 0, 0), (0, 255, 0), (36, 36, 60), (57, 56, 66), (255, 255, 255),
                    (132, 148, 165), (0, 0, 198), (72, 72, 120), (255, 255, 255), (108, 108, 180),
                    (36, 36, 60), (18, 18, 30), (36, 36, 60), (40, 40, 70), (30, 30, 52),
                    (121, 130, 150), (78, 88, 110), (36, 36, 60)],
        "face": (56, 56, 84), "light": (110, 110, 150), "dark": (18, 18, 30),
        "arrow": (0, 220, 0), "back": (24, 24, 40),
    },
}


def draw(skin):
    px = [[skin["back"]] * W for _ in range(H)]

    def rect(x, y, w, h, colour):
        for yy in range(y, y + h):
            for xx in range(x, x + w):
                px[yy][xx] = colour

    def bevel(x, y, w, h, pressed):
        rect(x, y, w, h, skin["face"])
        top, bottom = (skin["dark"], skin["light"]) if pressed else (skin["light"], skin["dark"])
        rect(x, y, w, 1, top)
        rect(x, y, 1, h, top)
        rect(x, y + h - 1, w, 1, bottom)
        rect(x + w - 1, y, 1, h, bottom)

    def arrow(x, y, direction):
        # A small filled triangle in the middle of a 14x14 piece.
        for step in range(4):
            for d in range(-step, step + 1):
                if direction == "up":
                    px[y + 5 + step][x + 7 + d] = skin["arrow"]
                elif direction == "down":
                    px[y + 8 - step][x + 7 + d] = skin["arrow"]
                elif direction == "left":
                    px[y + 7 + d][x + 5 + step] = skin["arrow"]
                else:
                    px[y + 7 + d][x + 8 - step] = skin["arrow"]

    bevel(0, 0, 47, 15, False)
    bevel(0, 15, 47, 15, True)
    # Vertical arrows in row 31, horizontal ones in row 45; normal at x 0/14, pressed at 28/42.
    for x, pressed in ((0, False), (28, True)):
        bevel(x, 31, 14, 14, pressed)
        arrow(x, 31, "up")
        bevel(x + 14, 31, 14, 14, pressed)
        arrow(x + 14, 31, "down")
        bevel(x, 45, 14, 14, pressed)
        arrow(x, 45, "left")
        bevel(x + 14, 45, 14, 14, pressed)
        arrow(x + 14, 45, "right")
    # Thumbs: vertical at x 56 (normal) and 70 (pressed), horizontal at y 31 and 45.
    bevel(56, 31, 14, 28, False)
    bevel(70, 31, 14, 28, True)
    bevel(84, 31, 28, 14, False)
    bevel(84, 45, 28, 14, True)
    for grip in range(3):
        rect(59, 42 + 2 * grip, 8, 1, skin["dark"])
        rect(73, 42 + 2 * grip, 8, 1, skin["dark"])
        rect(95 + 2 * grip, 34, 1, 8, skin["dark"])
        rect(95 + 2 * grip, 48, 1, 8, skin["dark"])

    rect(47, 0, W - 47, 1, REFERENCE)
    for i, colour in enumerate(skin["entries"]):
        px[0][48 + 2 * i] = colour
    px[0][111] = REFERENCE
    return px


def write_bmp(path, px):
    stride = (W * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(px):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - W * 3)
        data += line
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    path.write_bytes(header + info + data)


if __name__ == "__main__":
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).parent
    for name, skin in SKINS.items():
        write_bmp(out / name, draw(skin))
