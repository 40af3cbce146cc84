#!/usr/bin/env python3
"""Draws the stand-in host's skin bitmaps (120x60, 24-bit BMP): the colour strip in row 0
(22 entries at x = 48 + 2i, the reference colour at x = 111), push-button pieces in the
top-left 47x30 corner (normal rows 0-14, pressed rows 15-29) and scrollbar arrows and thumbs
in rows 31-58.

Every piece the plugin copies has a solid colour of its own, different from its neighbours
and from the same piece of the other skin, so that a look at the screen (or a pixel check)
tells which piece landed where and which skin is showing: the nine button pieces, the
scrollbar arrows (with an arrow mark in the middle) and the five slices of each thumb (the
grip slice with three grip lines). Run it after changing a palette; the bitmaps are kept in
the repository."""
import struct
import sys
from pathlib import Path

W, H = 120, 60
REFERENCE = (255, 0, 255)

# Button pieces, row by row: top-left, top, top-right, left, centre, right, bottom-left,
# bottom, bottom-right.
SKINS = {
    "skin-default.bmp": {
        "entries": [(250, 250, 246), (20, 30, 60), (226, 230, 238), (16, 24, 48), (40, 48, 72),
                    (70, 110, 190), (40, 90, 200), (90, 100, 130), (255, 255, 255), (150, 170, 210),
                    (200, 206, 220), (170, 178, 196), (214, 218, 228), (200, 226, 170), (170, 206, 140),
                    (250, 190, 130), (230, 150, 90), (230, 200, 236)],
        "button": [(255, 80, 80), (255, 170, 60), (240, 220, 40),
                   (120, 200, 60), (200, 216, 240), (40, 190, 170),
                   (60, 120, 230), (150, 90, 220), (230, 90, 190)],
        "pressed": [(160, 30, 30), (170, 100, 20), (150, 140, 0),
                    (50, 120, 20), (150, 170, 210), (0, 110, 100),
                    (20, 60, 150), (90, 40, 150), (150, 30, 110)],
        # Arrows: up, down, left, right; normal then pressed.
        "arrows": [(170, 200, 255), (170, 255, 200), (255, 200, 170), (240, 170, 255)],
        "arrows pressed": [(90, 130, 220), (60, 180, 120), (220, 120, 80), (170, 90, 220)],
        # Thumb slices 1-5 of each set.
        "vertical thumb": [(255, 120, 120), (255, 200, 120), (250, 250, 150), (150, 230, 150), (150, 200, 255)],
        "vertical thumb pressed": [(190, 60, 60), (190, 130, 50), (180, 180, 60), (70, 160, 70), (60, 120, 190)],
        "horizontal thumb": [(240, 130, 200), (190, 140, 250), (130, 230, 230), (230, 230, 130), (200, 170, 130)],
        "horizontal thumb pressed": [(170, 60, 130), (120, 70, 190), (50, 160, 160), (160, 160, 50), (140, 110, 70)],
        "mark": (40, 48, 72), "back": (226, 230, 238),
    },
    "skin-dark.bmp": {
        "entries": [(0, 0, 0), (0, 255, 0), (36, 36, 60), (240, 240, 120), (255, 255, 255),
                    (150, 200, 90), (0, 0, 198), (72, 72, 120), (255, 255, 255), (108, 108, 180),
                    (36, 36, 60), (18, 18, 30), (36, 36, 60), (40, 70, 40), (60, 40, 80),
                    (100, 70, 30), (130, 50, 50), (70, 30, 70)],
        "button": [(0, 200, 255), (0, 140, 90), (255, 120, 0),
                   (180, 0, 0), (50, 50, 90), (200, 200, 0),
                   (255, 0, 160), (100, 60, 0), (0, 90, 255)],
        "pressed": [(0, 120, 160), (0, 80, 50), (160, 70, 0),
                    (110, 0, 0), (30, 30, 60), (120, 120, 0),
                    (150, 0, 90), (60, 35, 0), (0, 50, 160)],
        "arrows": [(40, 70, 130), (30, 110, 70), (130, 70, 40), (100, 50, 130)],
        "arrows pressed": [(20, 40, 90), (15, 70, 40), (90, 45, 20), (60, 25, 90)],
        "vertical thumb": [(120, 40, 40), (120, 80, 30), (110, 110, 30), (30, 100, 30), (30, 70, 120)],
        "vertical thumb pressed": [(80, 20, 20), (80, 50, 10), (70, 70, 10), (10, 60, 10), (10, 40, 80)],
        "horizontal thumb": [(110, 40, 90), (80, 50, 120), (30, 100, 100), (100, 100, 30), (90, 70, 40)],
        "horizontal thumb pressed": [(70, 20, 55), (50, 25, 80), (15, 65, 65), (65, 65, 15), (60, 45, 20)],
        "mark": (0, 220, 0), "back": (24, 24, 40),
    },
}

# Column and row bands of a button: 4, 39 and 4 pixels wide; 4, 7 and 4 rows high.
BUTTON_COLUMNS = ((0, 4), (4, 39), (43, 4))
BUTTON_ROWS = ((0, 4), (4, 7), (11, 4))
# Thumb slices as (offset, length) along the thumb, 14 pixels across.
THUMB_SLICES = ((0, 4), (4, 5), (9, 10), (19, 5), (24, 4))


def draw(skin):
    px = [[skin["back"]] * W for _ in range(H)]

    def rect(x, y, w, h, colour):
        for yy in range(y, y + h):
            for xx in range(x, x + w):
                px[yy][xx] = colour

    def button(top, colours):
        for r, (y, h) in enumerate(BUTTON_ROWS):
            for c, (x, w) in enumerate(BUTTON_COLUMNS):
                rect(x, top + y, w, h, colours[3 * r + c])

    def arrow(x, y, direction, colour):
        rect(x, y, 14, 14, colour)
        # A small filled triangle in the middle of the 14x14 piece.
        for step in range(4):
            for d in range(-step, step + 1):
                if direction == "up":
                    px[y + 5 + step][x + 7 + d] = skin["mark"]
                elif direction == "down":
                    px[y + 8 - step][x + 7 + d] = skin["mark"]
                elif direction == "left":
                    px[y + 7 + d][x + 5 + step] = skin["mark"]
                else:
                    px[y + 7 + d][x + 8 - step] = skin["mark"]

    def thumb(x, y, vertical, colours):
        for (offset, length), colour in zip(THUMB_SLICES, colours):
            if vertical:
                rect(x, y + offset, 14, length, colour)
            else:
                rect(x + offset, y, length, 14, colour)
        # Three grip lines across the middle slice.
        for grip in range(3):
            if vertical:
                rect(x + 3, y + 11 + 2 * grip, 8, 1, skin["mark"])
            else:
                rect(x + 11 + 2 * grip, y + 3, 1, 8, skin["mark"])

    button(0, skin["button"])
    button(15, skin["pressed"])
    # Vertical arrows in row 31, horizontal ones in row 45; normal at x 0/14, pressed at 28/42.
    for x, colours in ((0, skin["arrows"]), (28, skin["arrows pressed"])):
        arrow(x, 31, "up", colours[0])
        arrow(x + 14, 31, "down", colours[1])
        arrow(x, 45, "left", colours[2])
        arrow(x + 14, 45, "right", colours[3])
    # Thumbs: vertical at x 56 (normal) and 70 (pressed), horizontal at y 31 and 45.
    thumb(56, 31, True, skin["vertical thumb"])
    thumb(70, 31, True, skin["vertical thumb pressed"])
    thumb(84, 31, False, skin["horizontal thumb"])
    thumb(84, 45, False, skin["horizontal thumb pressed"])

    rect(47, 0, W - 47, 1, REFERENCE)
    for i, colour in enumerate(skin["entries"]):
        px[0][48 + 2 * i] = colour
    px[0][111] = REFERENCE
    return px


# The look a user first meets: the colour strip of the player's default skin, with bevelled
# buttons, arrows and thumbs drawn here in its greys (the player's own pieces are not ours to
# ship). `make run` wears it; the pixel tests keep the flat skins above.
PLAYER = {
    "entries": [(0, 0, 0), (0, 255, 0), (56, 55, 87), (57, 57, 66), (255, 255, 255), (117, 116, 139),
                (0, 0, 198), (72, 72, 120), (255, 255, 255), (108, 108, 180), (36, 36, 60), (18, 18, 30),
                (36, 36, 60), (36, 36, 60), (36, 36, 60), (121, 130, 150), (78, 88, 110), (36, 36, 60)],
    "back": (0, 198, 255), "outline": (36, 36, 60), "mark": (36, 36, 60),
    "face": (189, 194, 206), "light": (236, 239, 245), "shade": (125, 131, 148),
    "pressed face": (128, 135, 152), "pressed light": (160, 166, 182), "pressed shade": (92, 98, 114),
}


def draw_player():
    skin = PLAYER
    px = [[skin["back"]] * W for _ in range(H)]

    def rect(x, y, w, h, colour):
        for yy in range(y, y + h):
            for xx in range(x, x + w):
                px[yy][xx] = colour

    def bevel(x, y, w, h, pressed):
        """A raised (or, pressed, sunken) block with a dark outline."""
        face = skin["pressed face" if pressed else "face"]
        light = skin["pressed light" if pressed else "light"]
        shade = skin["pressed shade" if pressed else "shade"]
        rect(x, y, w, h, skin["outline"])
        rect(x + 1, y + 1, w - 2, h - 2, shade if pressed else light)
        rect(x + 2, y + 2, w - 3, h - 3, light if pressed else shade)
        rect(x + 2, y + 2, w - 4, h - 4, face)

    def arrow(x, y, direction, pressed):
        bevel(x, y, 14, 14, pressed)
        shift = 1 if pressed else 0
        for step in range(4):
            for d in range(-step, step + 1):
                if direction == "up":
                    px[y + 5 + step + shift][x + 7 + d + shift] = skin["mark"]
                elif direction == "down":
                    px[y + 8 - step + shift][x + 7 + d + shift] = skin["mark"]
                elif direction == "left":
                    px[y + 7 + d + shift][x + 5 + step + shift] = skin["mark"]
                else:
                    px[y + 7 + d + shift][x + 8 - step + shift] = skin["mark"]

    def thumb(x, y, vertical, pressed):
        if vertical:
            bevel(x, y, 14, 28, pressed)
            for grip in range(3):
                rect(x + 4, y + 11 + 2 * grip, 6, 1, skin["mark"])
        else:
            bevel(x, y, 28, 14, pressed)
            for grip in range(3):
                rect(x + 11 + 2 * grip, y + 4, 1, 6, skin["mark"])

    bevel(0, 0, 47, 15, False)
    bevel(0, 15, 47, 15, True)
    for x, pressed in ((0, False), (28, True)):
        arrow(x, 31, "up", pressed)
        arrow(x + 14, 31, "down", pressed)
        arrow(x, 45, "left", pressed)
        arrow(x + 14, 45, "right", pressed)
    thumb(56, 31, True, False)
    thumb(70, 31, True, True)
    thumb(84, 31, False, False)
    thumb(84, 45, False, True)

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
    write_bmp(out / "skin-player.bmp", draw_player())
