// The list's and the tree's bars drawn from a test skin whose every piece has a colour of its
// own: arrows, the five thumb slices where the formulas put them, the averaged track, the size
// box, the pressed set, and the plain look when the owner leaves the drawing to the bars.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "BarsFixture.h"
#include "base/Gdi.h"
#include "ui/skin/ScrollbarGeometry.h"
#include "ui/skin/ScrollbarRedirect.h"
#include "ui/skin/SkinScrollbars.h"

namespace {

using namespace bars_test;
using namespace skinbars;

constexpr int kListId = 1002;
constexpr int kTreeId = 1001;

class SkinPixelsTest : public testing::Test {
protected:
    void SetUp() override {
        colors.ReadFrom(UniqueBitmap(MakeTestSkin()));
        owner = CreateOwner(ownerState, 30, 30, 700, 500);
        ownerState.painter = &painter;
    }
    void TearDown() override {
        DestroyWindow(owner);
        Pump();
    }

    HWND SkinnedList(int rows) {
        HWND list = CreateRowList(owner, kListId, 10, 10, 300, 300, rows);
        EXPECT_TRUE(Attach(list));
        EXPECT_TRUE(SetSize(list, SB_BOTH, 14, 14));
        Repaint(list);
        return list;
    }
    void Repaint(HWND window) {
        RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        Pump(50);
    }
    RECT Part(HWND window, int which, int part) {
        RECT bar;
        BarLayout layout = LayoutOf(window, *StateOf(window), which, bar);
        return PartRect(bar, which, layout, part);
    }
    static POINT Centre(const RECT& r) { return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
    COLORREF At(HWND window, POINT p) { return PixelOf(window, p.x, p.y); }
    // Presses a part as the mouse would, in screen coordinates.
    void Press(HWND window, int which, int part) {
        RECT frame;
        GetWindowRect(window, &frame);
        POINT c = Centre(Part(window, which, part));
        SendMessageW(window, WM_NCLBUTTONDOWN, which == SB_VERT ? HTVSCROLL : HTHSCROLL,
                     MAKELPARAM(frame.left + c.x, frame.top + c.y));
    }
    void Release(HWND window) { SendMessageW(window, WM_LBUTTONUP, 0, 0); }

    ScrollbarRedirect redirect;
    SkinColors colors;
    SkinScrollbarPainter painter{colors};
    OwnerState ownerState;
    HWND owner = nullptr;
};

TEST_F(SkinPixelsTest, ArrowsThumbSlicesTrackAndSizeBox) {
    ASSERT_GE(redirect.RedirectedEntries(), 8u);
    HWND list = SkinnedList(60);
    RECT thumb = Part(list, SB_VERT, kPartThumb);
    int h = thumb.bottom - thumb.top, t = thumb.top, x = (thumb.left + thumb.right) / 2;
    ASSERT_GT(h, 30) << "the list should show a long thumb";
    EXPECT_EQ(At(list, Centre(Part(list, SB_VERT, kPartLineUp))), PieceColour(SB_VERT, false, 0));
    EXPECT_EQ(At(list, Centre(Part(list, SB_VERT, kPartLineDown))), PieceColour(SB_VERT, false, 1));
    // The five slices: ends of 4, the grip of 10 at (h - 9) / 2, stretched pieces between.
    int grip = t + (h - 9) / 2;
    const std::pair<int, int> slices[] = {
        {t + 1, 2}, {t + 4 + ((h - 9) / 2 - 4) / 2, 3}, {grip + 5, 4}, {(grip + 10 + t + h - 4) / 2, 5}, {t + h - 2, 6}};
    for (auto [y, piece] : slices)
        EXPECT_EQ(PixelOf(list, x, y), PieceColour(SB_VERT, false, piece)) << "slice " << piece - 1 << " at " << y - t;
    EXPECT_EQ(At(list, Centre(Part(list, SB_VERT, kPartPageDown))), HalfSum(EntryColour(13), EntryColour(14)));
    RECT box;
    ASSERT_TRUE(SizeBoxRect(list, *StateOf(list), box));
    EXPECT_EQ(At(list, Centre(box)), EntryColour(17));
    EXPECT_EQ(At(list, Centre(Part(list, SB_HORZ, kPartLineUp))), PieceColour(SB_HORZ, false, 0));
    EXPECT_EQ(At(list, Centre(Part(list, SB_HORZ, kPartLineDown))), PieceColour(SB_HORZ, false, 1));
    RECT hthumb = Part(list, SB_HORZ, kPartThumb);
    int hy = (hthumb.top + hthumb.bottom) / 2, w = hthumb.right - hthumb.left;
    EXPECT_EQ(PixelOf(list, hthumb.left + 1, hy), PieceColour(SB_HORZ, false, 2));
    EXPECT_EQ(PixelOf(list, hthumb.left + (w - 9) / 2 + 5, hy), PieceColour(SB_HORZ, false, 4));
    EXPECT_EQ(PixelOf(list, hthumb.right - 2, hy), PieceColour(SB_HORZ, false, 6));
}

TEST_F(SkinPixelsTest, PressedPartsUseThePressedSet) {
    HWND list = SkinnedList(60);
    Press(list, SB_VERT, kPartLineDown);
    EXPECT_EQ(At(list, Centre(Part(list, SB_VERT, kPartLineDown))), PieceColour(SB_VERT, true, 1));
    EXPECT_EQ(At(list, Centre(Part(list, SB_VERT, kPartLineUp))), PieceColour(SB_VERT, false, 0));
    Release(list);
    EXPECT_EQ(At(list, Centre(Part(list, SB_VERT, kPartLineDown))), PieceColour(SB_VERT, false, 1));
    Press(list, SB_VERT, kPartPageDown);
    EXPECT_EQ(At(list, Centre(Part(list, SB_VERT, kPartPageDown))), HalfSum(EntryColour(15), EntryColour(16)));
    Release(list);
    Press(list, SB_VERT, kPartThumb);
    RECT thumb = Part(list, SB_VERT, kPartThumb);
    EXPECT_EQ(PixelOf(list, (thumb.left + thumb.right) / 2, thumb.top + 1), PieceColour(SB_VERT, true, 2));
    Release(list);
}

TEST_F(SkinPixelsTest, TheTreesVerticalBar) {
    HWND tree = CreateTree(owner, kTreeId, 330, 10, 200, 200, 100);
    ASSERT_TRUE(Attach(tree));
    ASSERT_TRUE(SetSize(tree, SB_VERT, 14, 14));
    Repaint(tree);
    ASSERT_TRUE(StateOf(tree)->bars[SB_VERT].flags & kBarShown);
    EXPECT_EQ(At(tree, Centre(Part(tree, SB_VERT, kPartLineUp))), PieceColour(SB_VERT, false, 0));
    EXPECT_EQ(At(tree, Centre(Part(tree, SB_VERT, kPartLineDown))), PieceColour(SB_VERT, false, 1));
    RECT thumb = Part(tree, SB_VERT, kPartThumb);
    EXPECT_EQ(PixelOf(tree, (thumb.left + thumb.right) / 2, thumb.top + 1), PieceColour(SB_VERT, false, 2));
    EXPECT_EQ(At(tree, Centre(Part(tree, SB_VERT, kPartPageDown))), HalfSum(EntryColour(13), EntryColour(14)));
}

TEST_F(SkinPixelsTest, AnOwnerThatDoesNotDrawGetsThePlainLook) {
    ownerState.painter = nullptr;
    HWND list = SkinnedList(60);
    EXPECT_GT(ownerState.drawRequests, 0);
    EXPECT_EQ(At(list, Centre(Part(list, SB_VERT, kPartPageDown))), GetSysColor(COLOR_SCROLLBAR));
    EXPECT_NE(At(list, Centre(Part(list, SB_VERT, kPartLineUp))), PieceColour(SB_VERT, false, 0));
}

// With the redirection gone the list's own calls reach the platform again, so bars attached
// afterwards no longer hear of the rows.
TEST(ScrollbarRedirectTest, RedirectsWhileItLivesOnly) {
    OwnerState ownerState;
    HWND owner = CreateOwner(ownerState, 30, 30, 400, 400);
    auto rangeSeen = [&](HWND list) {
        ListView_SetItemCountEx(list, 200, 0);
        int min = 0, max = 0;
        skinbars::GetScrollRange(list, SB_VERT, &min, &max);
        return max;
    };
    {
        ScrollbarRedirect redirect;
        HWND list = CreateRowList(owner, 1, 0, 0, 200, 200, 0);
        Attach(list);
        EXPECT_EQ(rangeSeen(list), 199);
        DestroyWindow(list);
    }
    HWND list = CreateRowList(owner, 2, 0, 0, 200, 200, 0);
    Attach(list);
    EXPECT_EQ(rangeSeen(list), 0);
    DestroyWindow(owner);
}

}  // namespace
