// The area a "pixels" line names: corners counted from either edge of the window, and sizes
// that are refused.
#include <gtest/gtest.h>

#include "logic/PixelArea.h"

namespace {

struct AreaCase {
    std::vector<std::wstring> words;
    bool valid;
    PixelArea area;
};

// The window is 50 x 18.
const AreaCase kCases[] = {
    {{L"3", L"4"}, true, {3, 4, 1, 1}},
    {{L"w", L"h"}, true, {50, 18, 1, 1}},
    {{L"w-2", L"h+1"}, true, {48, 19, 1, 1}},
    {{L"-1", L"0", L"2", L"3"}, true, {-1, 0, 2, 3}},
    {{L"h", L"w"}, true, {18, 50, 1, 1}},
    {{L"0", L"0", L"256", L"1"}, true, {0, 0, 256, 1}},
    {{L"0", L"0", L"257", L"1"}, false, {}},
    {{L"0", L"0", L"0", L"1"}, false, {}},
    {{L"0", L"0", L"3"}, false, {}},
    {{L"0"}, false, {}},
    {{L"w2", L"0"}, false, {}},
    {{L"w+", L"0"}, false, {}},
    {{L"x", L"0"}, false, {}},
    {{L"", L"0"}, false, {}},
};

TEST(PixelAreaTest, CornersCountFromEitherEdge) {
    for (const AreaCase& c : kCases) {
        PixelArea area;
        std::wstring line;
        for (const std::wstring& word : c.words) line += word + L" ";
        ASSERT_EQ(ParsePixelArea(c.words, 50, 18, area), c.valid) << std::string(line.begin(), line.end());
        if (!c.valid) continue;
        EXPECT_EQ(area.x, c.area.x);
        EXPECT_EQ(area.y, c.area.y);
        EXPECT_EQ(area.width, c.area.width);
        EXPECT_EQ(area.height, c.area.height);
    }
}

TEST(PixelAreaTest, ColoursAreWrittenRedFirst) {
    EXPECT_EQ(HexColor(0x12, 0xAB, 0x0F), L"12AB0F");
}

}  // namespace
