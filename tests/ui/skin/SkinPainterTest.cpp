// The skin painter's answers on a memory surface: the stages and bars it answers, a thumb too
// short for its middle slices, thumbs painted whole at every length and thickness, and a skin
// without a bitmap.
#include <gtest/gtest.h>

#include <windows.h>

#include "BarsFixture.h"
#include "base/Gdi.h"
#include "ui/skin/ScrollbarGeometry.h"

namespace {

using namespace bars_test;
using namespace skinbars;

constexpr COLORREF kUntouched = RGB(7, 7, 7);

class SkinPainterTest : public testing::Test {
protected:
    void SetUp() override {
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), 200, 60, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        surface.Reset(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        old = SelectObject(dc.get(), surface.get());
        RECT all = {0, 0, 200, 60};
        UniqueBrush brush(CreateSolidBrush(kUntouched));
        FillRect(dc.get(), &all, brush.get());
    }
    void TearDown() override { SelectObject(dc.get(), old); }

    LRESULT Ask(const SkinColors& colors, DWORD stage, UINT bar, UINT part, RECT rect, UINT state = kStateNormal) {
        DrawRequest request = {};
        request.header.code = kDrawRequestCode;
        request.stage = stage;
        request.dc = dc.get();
        request.rect = rect;
        request.part = part;
        request.state = state;
        request.bar = bar;
        return SkinScrollbarPainter(colors).Answer(request);
    }

    UniqueMemoryDc dc{CreateCompatibleDC(nullptr)};
    UniqueBitmap surface;
    HGDIOBJ old = nullptr;
};

TEST_F(SkinPainterTest, AnswersPrePaintAndItsOwnBarsOnly) {
    SkinColors colors;
    colors.ReadFrom(UniqueBitmap(MakeTestSkin()));
    EXPECT_EQ(Ask(colors, kStagePrePaint, SB_VERT, 0, RECT{0, 0, 14, 14}), kSkipDefault);
    EXPECT_EQ(Ask(colors, kStageItemPrePaint, 2, 0, RECT{0, 0, 14, 14}), 0);
    EXPECT_EQ(Ask(colors, kStageItemPrePaint, kSizeBoxBar, 0, RECT{0, 0, 14, 14}), kSkipDefault);
    EXPECT_EQ(GetPixel(dc.get(), 7, 7), EntryColour(17));
}

// A horizontal thumb of 10 pixels has no room for its stretched slice: the end slices show,
// not a mirrored copy of the slice between them.
TEST_F(SkinPainterTest, ShortHorizontalThumbShowsItsEnds) {
    SkinColors colors;
    colors.ReadFrom(UniqueBitmap(MakeTestSkin()));
    EXPECT_EQ(Ask(colors, kStageItemPrePaint, SB_HORZ, kPartThumb, RECT{10, 10, 20, 24}), kSkipDefault);
    for (int x = 10; x < 14; ++x) EXPECT_EQ(GetPixel(dc.get(), x, 15), PieceColour(SB_HORZ, false, 2)) << x;
    for (int x = 16; x < 20; ++x) EXPECT_EQ(GetPixel(dc.get(), x, 15), PieceColour(SB_HORZ, false, 6)) << x;
    // A long one shows all five, the grip in the middle.
    Ask(colors, kStageItemPrePaint, SB_HORZ, kPartThumb, RECT{30, 10, 90, 24}, kStatePressed);
    EXPECT_EQ(GetPixel(dc.get(), 30 + 25 + 5, 15), PieceColour(SB_HORZ, true, 4));
    EXPECT_EQ(GetPixel(dc.get(), 30 + 10, 15), PieceColour(SB_HORZ, true, 3));
    EXPECT_EQ(GetPixel(dc.get(), 30 + 45, 15), PieceColour(SB_HORZ, true, 5));
}

// No pixel of a thumb is left as it was: not the middle of one too short for its grip, nor the
// rows of a bar thicker than the skin's 14 pixels (the tree's horizontal bar keeps the
// system's height).
TEST_F(SkinPainterTest, ThumbsArePaintedWholeAtEveryLengthAndThickness) {
    SkinColors colors;
    colors.ReadFrom(UniqueBitmap(MakeTestSkin()));
    RECT all = {0, 0, 200, 60};
    UniqueBrush untouched(CreateSolidBrush(kUntouched));
    for (UINT bar : {SB_HORZ, SB_VERT}) {
        for (int thickness : {14, 17}) {
            for (int length = 6; length <= 56; ++length) {
                FillRect(dc.get(), &all, untouched.get());
                RECT thumb = bar == SB_HORZ ? RECT{2, 2, 2 + length, 2 + thickness} : RECT{2, 2, 2 + thickness, 2 + length};
                Ask(colors, kStageItemPrePaint, bar, kPartThumb, thumb);
                int left = 0;
                for (int y = thumb.top; y < thumb.bottom; ++y)
                    for (int x = thumb.left; x < thumb.right; ++x) left += GetPixel(dc.get(), x, y) == kUntouched;
                EXPECT_EQ(left, 0) << (bar == SB_HORZ ? "horizontal" : "vertical") << " thumb " << length
                                   << " long, " << thickness << " thick";
            }
        }
    }
}

TEST_F(SkinPainterTest, WithoutABitmapOnlyColoursAreDrawn) {
    SkinColors colors;  // never read: no bitmap, every colour black
    EXPECT_EQ(Ask(colors, kStageItemPrePaint, SB_VERT, kPartLineUp, RECT{0, 0, 14, 14}), kSkipDefault);
    EXPECT_EQ(GetPixel(dc.get(), 7, 7), kUntouched);
    EXPECT_EQ(Ask(colors, kStageItemPrePaint, SB_VERT, kPartPageDown, RECT{20, 0, 34, 30}), kSkipDefault);
    EXPECT_EQ(GetPixel(dc.get(), 27, 15), RGB(0, 0, 0));
}

}  // namespace
