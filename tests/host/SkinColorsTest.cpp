// Skin colours read from a bitmap: pixels taken as they are, replacements for unset ones, the
// entries made from other entries, and the text colour chosen where the skin's would not read.
#include <gtest/gtest.h>

#include "host/SkinColors.h"

namespace {

constexpr COLORREF kReference = RGB(1, 2, 3);

UniqueBitmap StripBitmap(const std::vector<std::pair<int, COLORREF>>& entries) {
    HDC screen = GetDC(nullptr);
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen, 120, 60));
    ReleaseDC(nullptr, screen);
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    SelectGuard select(dc.get(), bitmap.get());
    for (int i = 0; i < SkinColors::kCount; ++i) SetPixel(dc.get(), 48 + 2 * i, 0, kReference);
    SetPixel(dc.get(), 111, 0, kReference);
    for (auto [index, color] : entries) SetPixel(dc.get(), 48 + 2 * index, 0, color);
    return bitmap;
}

TEST(SkinColorsTest, NothingBeforeTheFirstReadAndBlackOutsideTheTable) {
    SkinColors colors;
    EXPECT_EQ(colors.Get(0), 0u);
    EXPECT_EQ(colors.Get(-1), 0u);
    EXPECT_EQ(colors.Get(22), 0u);
}

TEST(SkinColorsTest, SetPixelsAreTakenAndUnsetOnesReplaced) {
    SkinColors colors;
    ASSERT_TRUE(colors.ReadFrom(StripBitmap({{0, RGB(10, 20, 30)},
                                             {1, RGB(200, 200, 200)},
                                             {3, 0xFFC600},  // the unset marker
                                             {19, RGB(9, 9, 9)}})));
    EXPECT_EQ(colors.Get(0), RGB(10, 20, 30));
    EXPECT_EQ(colors.Get(1), RGB(200, 200, 200));
    EXPECT_EQ(colors.Get(2), 0x3C2424u);  // same as the reference pixel
    EXPECT_EQ(colors.Get(3), 0x423839u);
    EXPECT_EQ(colors.Get(17), 0x3C2424u);
    EXPECT_EQ(colors.Get(19), RGB(9, 9, 9));
    // Made from other entries when unset.
    EXPECT_EQ(colors.Get(18), colors.Get(4));
    EXPECT_EQ(colors.Get(20), colors.Get(4));
    COLORREF two = colors.Get(2), six = colors.Get(6);
    EXPECT_EQ(colors.Get(21), RGB(GetRValue(two) / 2 + GetRValue(six) / 2, GetGValue(two) / 2 + GetGValue(six) / 2,
                                  GetBValue(two) / 2 + GetBValue(six) / 2));
    EXPECT_NE(colors.Bitmap(), nullptr);
}

TEST(SkinColorsTest, DerivedEntriesFollowReadColours) {
    SkinColors colors;
    ASSERT_TRUE(colors.ReadFrom(StripBitmap({{4, RGB(0, 0, 250)}, {6, RGB(100, 0, 0)}, {2, RGB(0, 50, 0)}})));
    EXPECT_EQ(colors.Get(18), RGB(0, 0, 250));
    EXPECT_EQ(colors.Get(19), RGB(100, 0, 0));
    EXPECT_EQ(colors.Get(21), RGB(50, 25, 0));
}

// A skin like the dark real ones: black list text on white rows, but a dark red selection
// and static text of nearly the dialog's colour.
TEST(SkinColorsTest, TextIsReadableOnWhateverTheSkinPutsItOn) {
    EXPECT_NEAR(ContrastRatio(RGB(0, 0, 0), RGB(255, 255, 255)), 21.0, 0.01);
    EXPECT_NEAR(ContrastRatio(RGB(255, 255, 255), RGB(0, 0, 0)), 21.0, 0.01);
    EXPECT_NEAR(ContrastRatio(RGB(0, 168, 0), RGB(0, 76, 0)), 3.25, 0.01);
    EXPECT_NEAR(ContrastRatio(RGB(90, 90, 90), RGB(90, 90, 90)), 1.0, 0.001);

    SkinColors colors;
    ASSERT_TRUE(colors.ReadFrom(StripBitmap({{0, RGB(255, 255, 255)}, {1, RGB(0, 0, 0)}, {2, RGB(230, 230, 230)},
                                             {4, RGB(200, 200, 200)}, {8, RGB(250, 250, 250)},
                                             {3, RGB(240, 240, 240)}, {19, RGB(127, 0, 0)}})));
    EXPECT_DOUBLE_EQ(colors.ReadableContrast(), 3.0);
    // Readable as it is: kept.
    EXPECT_EQ(colors.ReadableOn(RGB(255, 255, 255), RGB(0, 0, 0)), RGB(0, 0, 0));
    // Black on dark red (1.9:1): the first skin text colour that reads there, the static text's.
    COLORREF onSelection = colors.ReadableOn(colors.Get(19), colors.Get(1));
    EXPECT_EQ(onSelection, RGB(200, 200, 200));
    EXPECT_GE(ContrastRatio(onSelection, colors.Get(19)), 3.0);
    // Light grey on the light dialog colour: back to the list's own text colour.
    EXPECT_EQ(colors.ReadableOn(colors.Get(2), colors.Get(4)), RGB(0, 0, 0));
    // On a middle grey none of the skin's colours reads: black or white, whichever reads better;
    // a little lighter or darker, the skin's own background or text colour does.
    SkinColors greys;
    ASSERT_TRUE(greys.ReadFrom(StripBitmap({{0, RGB(60, 60, 60)}, {1, RGB(200, 200, 200)}, {2, RGB(110, 110, 110)},
                                            {3, RGB(120, 120, 120)}, {4, RGB(130, 130, 130)}, {8, RGB(125, 125, 125)}})));
    EXPECT_EQ(greys.ReadableOn(RGB(118, 118, 118), RGB(115, 115, 115)), RGB(0, 0, 0));
    EXPECT_EQ(greys.ReadableOn(RGB(140, 140, 140), RGB(115, 115, 115)), RGB(60, 60, 60));
    EXPECT_EQ(greys.ReadableOn(RGB(100, 100, 100), RGB(115, 115, 115)), RGB(200, 200, 200));

    // A skin fainter than 3:1 in its own rows needs no more than that elsewhere.
    SkinColors faint;
    ASSERT_TRUE(faint.ReadFrom(StripBitmap({{0, RGB(224, 224, 0)}, {1, RGB(128, 128, 0)}})));
    double own = ContrastRatio(RGB(128, 128, 0), RGB(224, 224, 0));
    ASSERT_LT(own, 3.0);
    EXPECT_DOUBLE_EQ(faint.ReadableContrast(), own);
    EXPECT_EQ(faint.ReadableOn(RGB(224, 224, 0), RGB(128, 128, 0)), RGB(128, 128, 0));
}

}  // namespace
