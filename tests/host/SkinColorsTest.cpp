// Skin colours read from a bitmap: pixels taken as they are, replacements for unset ones, and
// the entries made from other entries.
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

}  // namespace
