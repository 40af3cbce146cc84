// Dotted lines: every second pixel, in the phase of the first row, stopping short of the end.
#include <gtest/gtest.h>

#include <windows.h>

#include <utility>
#include <vector>

#include "SkinCanvas.h"
#include "ui/skin/DottedLine.h"

namespace {

constexpr COLORREF kPaper = RGB(255, 255, 255);

struct DottedCase {
    int x, y, length;
    bool vertical;
    std::vector<std::pair<int, int>> dots;
};

// An even row starts on the first pixel, an odd one on the second; no dot reaches the last
// pixel of the length.
const DottedCase kCases[] = {
    {10, 4, 8, false, {{10, 4}, {12, 4}, {14, 4}, {16, 4}}},
    {10, 3, 8, false, {{11, 3}, {13, 3}, {15, 3}}},
    {5, 4, 6, true, {{5, 4}, {5, 6}, {5, 8}}},
    {5, 3, 6, true, {{5, 4}, {5, 6}}},
    {2, 2, 1, false, {}},
    {2, 2, 2, false, {{2, 2}}},
    {2, 3, 2, true, {}},
};

std::vector<std::pair<int, int>> DotsOn(const SkinCanvas& canvas, int width, int height) {
    std::vector<std::pair<int, int>> dots;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (canvas.At(x, y) != kPaper) dots.push_back({x, y});
    return dots;
}

TEST(DottedLineTest, DotsFollowTheRowParityAndStopBeforeTheEnd) {
    for (const DottedCase& c : kCases) {
        SkinCanvas canvas(24, 16, kPaper);
        SelectObject(canvas.dc(), GetStockObject(BLACK_PEN));
        DottedLine(canvas.dc(), c.x, c.y, c.length, c.vertical);
        std::vector<std::pair<int, int>> dots = DotsOn(canvas, 24, 16);
        EXPECT_TRUE(dots == c.dots) << "line at " << c.x << "," << c.y << " length " << c.length
                                    << (c.vertical ? " vertical" : " horizontal") << ": " << dots.size() << " dots";
    }
}

}  // namespace
