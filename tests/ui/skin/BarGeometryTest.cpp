// Where the arrows, the track and the thumb of a bar lie, and which position a dragged thumb
// stands for: the same arithmetic as the platform's bars.
#include <gtest/gtest.h>

#include "ui/skin/ScrollbarGeometry.h"

namespace {

using namespace skinbars;

BarState Bar(int min, int max, UINT page, int pos, UINT flags = kBarShown) {
    BarState bar = {};
    bar.flags = flags;
    bar.min = min;
    bar.max = max;
    bar.page = page;
    bar.pos = pos;
    bar.trackPos = pos;
    bar.minThumb = 6;
    return bar;
}

TEST(BarGeometryTest, ThumbFollowsPageAndPosition) {
    struct Case {
        BarState bar;
        int length;
        int arrow, thumbPos, thumbSize;
    };
    const Case cases[] = {
        {Bar(0, 99, 10, 0), 200, 14, 14, 17},     // 172 track pixels, a tenth of them
        {Bar(0, 99, 10, 90), 200, 14, 169, 17},   // at the end: flush with the down arrow
        {Bar(0, 99, 10, 45), 200, 14, 92, 17},    // halfway, rounded
        {Bar(0, 999, 10, 0), 200, 14, 14, 6},     // never below the minimum
        {Bar(0, 99, 0, 0), 200, 14, 14, 14},      // no page: a square thumb
        {Bar(0, 99, 10, 0), 30, 13, 0, 0},        // too short: shorter arrows, no thumb
        {Bar(0, 99, 10, 0, kBarShown | kLeftUpDisabled | kRightDownDisabled), 200, 14, 0, 0},
    };
    for (const Case& c : cases) {
        BarLayout layout = LayoutBar(c.bar, c.length, 14, 14);
        EXPECT_EQ(layout.arrow, c.arrow) << c.bar.max << "/" << c.bar.page << "@" << c.bar.pos << " in " << c.length;
        EXPECT_EQ(layout.thumbSize, c.thumbSize) << c.bar.max << "/" << c.bar.page << "@" << c.bar.pos;
        if (c.thumbSize) {
            EXPECT_EQ(layout.thumbPos, c.thumbPos) << c.bar.max << "/" << c.bar.page << "@" << c.bar.pos;
        }
    }
}

TEST(BarGeometryTest, DraggedThumbMapsBackToPositions) {
    BarState bar = Bar(0, 99, 10, 0);
    BarLayout layout = LayoutBar(bar, 200, 14, 14);
    EXPECT_EQ(ThumbValue(bar, layout, 14, 14), 0);
    EXPECT_EQ(ThumbValue(bar, layout, 169, 14), 90);
    EXPECT_EQ(ThumbValue(bar, layout, 500, 14), 90);
    EXPECT_EQ(ThumbValue(bar, layout, -20, 14), 0);
    // Every position's thumb maps back to that position.
    for (int pos = 0; pos <= 90; ++pos) {
        bar.pos = pos;
        EXPECT_EQ(ThumbValue(bar, LayoutBar(bar, 200, 14, 14), LayoutBar(bar, 200, 14, 14).thumbPos, 14), pos);
    }
}

TEST(BarGeometryTest, PartsAlongTheBar) {
    BarLayout layout = LayoutBar(Bar(0, 99, 10, 45), 200, 14, 14);  // thumb 92..109
    const std::pair<int, int> cases[] = {{0, kPartLineUp},   {13, kPartLineUp},    {14, kPartPageUp},
                                         {91, kPartPageUp},  {92, kPartThumb},     {108, kPartThumb},
                                         {109, kPartPageDown}, {185, kPartPageDown}, {186, kPartLineDown},
                                         {199, kPartLineDown}, {200, kNoPart},      {-1, kNoPart}};
    for (auto [offset, part] : cases) EXPECT_EQ(PartAt(layout, offset), part) << offset;
    int first, last;
    PartSpan(layout, kPartPageDown, first, last);
    EXPECT_EQ(first, 109);
    EXPECT_EQ(last, 186);
}

TEST(BarGeometryTest, StoredSizesResolveAgainstTheSystemSize) {
    EXPECT_EQ(ResolveSize(14, 17), 14);
    EXPECT_EQ(ResolveSize(-1, 17), 17);
    EXPECT_EQ(ResolveSize(-2, 17), 34);
}

}  // namespace
