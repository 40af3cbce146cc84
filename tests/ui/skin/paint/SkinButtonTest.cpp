// Skinned buttons drawn off-screen: which skin pieces land where, normal and pressed, the
// caption's shift, the focus dots, a skin without a bitmap, and owner-drawn items that are
// not buttons.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <vector>

#include "SkinCanvas.h"
#include "bus/CommandCodes.h"
#include "host/SkinColors.h"
#include "ui/skin/SkinBrushSlot.h"
#include "ui/skin/SkinPaint.h"

namespace {

constexpr int kWidth = 80, kHeight = 32;
constexpr COLORREF kBlank = RGB(1, 2, 3);
constexpr COLORREF kBlack = RGB(0, 0, 0);

class SkinButtonTest : public testing::Test {
protected:
    void SetUp() override {
        colors.ReadFrom(MakeTestSkin());
        button = CreateWindowW(L"BUTTON", L"Clear", WS_POPUP | BS_OWNERDRAW, 0, 0, kWidth, kHeight, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(button);
    }
    void TearDown() override { DestroyWindow(button); }

    // The owner-draw request the dialog gets for its button, handed to the skin painter.
    LRESULT Paint(SkinCanvas& canvas, UINT state, UINT type = ODT_BUTTON) {
        DRAWITEMSTRUCT item = {type, kClearButton, 0, ODA_DRAWENTIRE, state, button, canvas.dc(),
                               {0, 0, kWidth, kHeight}, 0};
        return SkinPaint(colors, brushes, nullptr, WM_DRAWITEM, kClearButton, reinterpret_cast<LPARAM>(&item));
    }

    SkinColors colors;
    SkinBrushSlot brushes;
    HWND button = nullptr;
};

struct PiecePoint {
    int x, y;
    ButtonPiece piece;
};

// Corners stay 4 x 4; edges and centre stretch between them. Points sit clear of the caption
// and of the focus dots, and on both sides of each seam.
const PiecePoint kPiecePoints[] = {
    {0, 0, kTopLeft},     {3, 3, kTopLeft},      {4, 3, kTop},          {75, 0, kTop},
    {76, 0, kTopRight},   {79, 3, kTopRight},    {0, 4, kLeft},         {3, 27, kLeft},
    {0, 28, kBottomLeft}, {3, 31, kBottomLeft},  {4, 28, kBottom},      {75, 31, kBottom},
    {76, 28, kBottomRight}, {79, 31, kBottomRight}, {76, 4, kRight},    {79, 27, kRight},
    {4, 4, kCentre},      {10, 16, kCentre},     {75, 27, kCentre},
};

TEST_F(SkinButtonTest, NormalAndPressedButtonsTakeTheirNinePiecesFromTheirOwnRows) {
    for (bool pressed : {false, true}) {
        SkinCanvas canvas(kWidth, kHeight, kBlank);
        EXPECT_EQ(Paint(canvas, pressed ? ODS_SELECTED : 0u), 0) << "the dialog's own handling goes on";
        for (const PiecePoint& p : kPiecePoints)
            EXPECT_EQ(canvas.At(p.x, p.y), PieceColor(p.piece, pressed))
                << (pressed ? "pressed" : "normal") << " at " << p.x << "," << p.y;
    }
}

TEST_F(SkinButtonTest, APressedCaptionSitsTwoPixelsLowerAndFurtherRight) {
    SkinCanvas normal(kWidth, kHeight, kBlank), pressed(kWidth, kHeight, kBlank);
    Paint(normal, 0);
    Paint(pressed, ODS_SELECTED);
    RECT up = normal.BoundsOf(kTestButtonText), down = pressed.BoundsOf(kTestButtonText);
    ASSERT_FALSE(IsRectEmpty(&up)) << "the caption is drawn in the skin's button text colour";
    EXPECT_EQ(down.left, up.left + 2);
    EXPECT_EQ(down.top, up.top + 2);
    EXPECT_EQ(down.right, up.right + 2);
    EXPECT_EQ(down.bottom, up.bottom + 2);
    // Centred: as much room on the left as on the right, give or take the odd pixel.
    EXPECT_LE(std::abs((up.left - 0) - (kWidth - up.right)), 1);
}

// The four dotted lines run two pixels inside the edge; each line's dots start at the parity of
// its first row, so the bottom line (row 29) starts one pixel in.
TEST_F(SkinButtonTest, FocusDrawsFourDottedLinesInsideTheEdge) {
    const POINT dots[] = {{2, 2}, {4, 2}, {76, 2}, {77, 2}, {77, 4}, {77, 28}, {2, 4}, {2, 28}, {3, 29}, {75, 29}};
    const POINT gaps[] = {{3, 2}, {78, 2}, {1, 1}, {1, 2}, {2, 1}, {2, 3}, {77, 3}, {2, 29}, {4, 29}, {2, 30}, {78, 28}};
    for (bool pressed : {false, true}) {
        SkinCanvas focused(kWidth, kHeight, kBlank), plain(kWidth, kHeight, kBlank);
        Paint(focused, ODS_FOCUS | (pressed ? ODS_SELECTED : 0u));
        Paint(plain, pressed ? ODS_SELECTED : 0u);
        for (POINT p : dots) {
            EXPECT_EQ(focused.At(p.x, p.y), kBlack) << "dot at " << p.x << "," << p.y;
            EXPECT_NE(plain.At(p.x, p.y), kBlack) << "no dot without focus at " << p.x << "," << p.y;
        }
        for (POINT p : gaps) EXPECT_EQ(focused.At(p.x, p.y), plain.At(p.x, p.y)) << "gap at " << p.x << "," << p.y;
    }
}

TEST_F(SkinButtonTest, WithoutASkinBitmapOnlyTheCaptionIsDrawn) {
    SkinColors unread;
    SkinCanvas canvas(kWidth, kHeight, kBlank);
    DRAWITEMSTRUCT item = {ODT_BUTTON, kClearButton, 0, ODA_DRAWENTIRE, 0, button, canvas.dc(), {0, 0, kWidth, kHeight}, 0};
    SkinPaint(unread, brushes, nullptr, WM_DRAWITEM, kClearButton, reinterpret_cast<LPARAM>(&item));
    for (const PiecePoint& p : kPiecePoints) EXPECT_EQ(canvas.At(p.x, p.y), kBlank) << p.x << "," << p.y;
    EXPECT_GT(canvas.Count(kBlack), 0) << "the caption, in colour 0 before any skin was read";
}

TEST_F(SkinButtonTest, OwnerDrawnMenusAndListRowsAreLeftToTheView) {
    for (UINT type : {static_cast<UINT>(ODT_MENU), static_cast<UINT>(ODT_LISTVIEW), static_cast<UINT>(ODT_LISTBOX)}) {
        SkinCanvas canvas(kWidth, kHeight, kBlank);
        EXPECT_EQ(Paint(canvas, 0, type), 0);
        EXPECT_EQ(canvas.Count(kBlank), kWidth * kHeight) << "type " << type;
    }
}

}  // namespace
