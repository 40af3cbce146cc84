// Where the "pixels" command looks: an area of a window's rectangle, frame included, whose
// corner is given in pixels from the window's left and top, or from its right and bottom
// ("w-2" is the second column from the right, "h" the row just below the window).
#pragma once

#include <string>
#include <vector>

struct PixelArea {
    int x = 0;
    int y = 0;
    int width = 1;
    int height = 1;
};

// The words after the target: X Y and optionally WIDTH HEIGHT (1 x 1 without them). Each of
// X and Y is a number, or "w" or "h" (the window's width or height) with an optional "+N" or
// "-N". False for anything else, or an area of no pixels or of more than 256 on a side.
bool ParsePixelArea(const std::vector<std::wstring>& words, int windowWidth, int windowHeight, PixelArea& area);

// A colour as six hexadecimal digits, red first.
std::wstring HexColor(unsigned char red, unsigned char green, unsigned char blue);
