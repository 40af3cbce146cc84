// Border lines painted on a real window: where the lines of each kind fall, what the erase
// fills, hidden panes, and repaints of just a line's own row.
#include <gtest/gtest.h>

#include <windows.h>

#include <iterator>

#include "SkinCanvas.h"
#include "host/SkinColors.h"
#include "ui/skin/BorderPainter.h"
#include "ui/view/WindowDc.h"

namespace {

constexpr int kPane = 11, kTallMarker = 12, kWideMarker = 13;
constexpr COLORREF kStale = RGB(12, 34, 56);

const DWORD kEntries[] = {
    BorderEntry(kBorderBottomRight, kPane),
    BorderEntry(kBorderCentreLine, kTallMarker),
    BorderEntry(kBorderCentreLine, kWideMarker),
};

// A window whose paint is the border painter's alone: it leaves the erase to that paint, as a
// dialog does whose background nobody erased.
class BorderWindowTest : public testing::Test {
protected:
    void SetUp() override {
        colors.ReadFrom(MakeTestSkin());
        WNDCLASSW type = {};
        type.lpfnWndProc = &Proc;
        type.hInstance = GetModuleHandleW(nullptr);
        type.lpszClassName = L"CvBorderTestWindow";
        RegisterClassW(&type);
        window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"CvBorderTestWindow", L"", WS_POPUP | WS_CLIPCHILDREN,
                                 0, 0, 200, 120, nullptr, nullptr, type.hInstance, nullptr);
        ASSERT_TRUE(window);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&colors));
        pane = Child(kPane, 10, 10, 40, 20, true);
        // Markers only say where a line goes; they are not shown themselves.
        Child(kTallMarker, 100, 10, 5, 60, false);
        Child(kWideMarker, 120, 90, 50, 6, false);
        ShowWindow(window, SW_SHOWNOACTIVATE);
        Repaint(nullptr);
    }
    void TearDown() override { DestroyWindow(window); }

    HWND Child(int id, int x, int y, int width, int height, bool shown) {
        return CreateWindowW(L"STATIC", L"", WS_CHILD | (shown ? WS_VISIBLE : 0), x, y, width, height, window,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    }

    // Paints the area (the whole window when null) afresh, erasing it.
    void Repaint(const RECT* area) {
        InvalidateRect(window, area, TRUE);
        UpdateWindow(window);
        GdiFlush();
    }

    COLORREF At(int x, int y) const {
        WindowDc dc(window);
        return GetPixel(dc.get(), x, y);
    }

    // Paints stale colour over an area without the painter, so a later paint shows what it
    // reached.
    void Smear(const RECT& area) const {
        WindowDc dc(window);
        UniqueBrush brush(CreateSolidBrush(kStale));
        FillRect(dc.get(), &area, brush.get());
        ValidateRect(window, &area);
    }

    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
        auto* colors = reinterpret_cast<SkinColors*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == WM_ERASEBKGND && colors) return 0;
        if (message == WM_PAINT && colors) {
            PaintBorders(window, *colors, kEntries, static_cast<int>(std::size(kEntries)));
            return 0;
        }
        return DefWindowProcW(window, message, wp, lp);
    }

    SkinColors colors;
    HWND window = nullptr;
    HWND pane = nullptr;
};

// The pane covers (10,10)-(50,30), right and bottom exclusive.
TEST_F(BorderWindowTest, APaneGetsALineBelowItAndUpItsRightSide) {
    for (POINT p : {POINT{10, 30}, POINT{49, 30}, POINT{50, 29}, POINT{50, 10}})
        EXPECT_EQ(At(p.x, p.y), kTestBorderLine) << p.x << "," << p.y;
    for (POINT p : {POINT{9, 30}, POINT{10, 31}, POINT{50, 9}, POINT{51, 20}, POINT{5, 5}, POINT{150, 50}})
        EXPECT_EQ(At(p.x, p.y), kTestDialogBackground) << "the erase fills the rest at " << p.x << "," << p.y;
}

// The right line reaches one row further down than the bottom line's last pixel; the erase
// must not paint over that corner.
TEST_F(BorderWindowTest, TheCornerBelowTheRightSideKeepsItsLine) {
    EXPECT_EQ(At(50, 30), kTestBorderLine);
}

// Narrower than tall: a column through the middle, both ends included; otherwise a row.
TEST_F(BorderWindowTest, CentreLinesRunAlongTheLongerSide) {
    for (int y : {10, 40, 70}) EXPECT_EQ(At(102, y), kTestBorderLine) << y;
    EXPECT_EQ(At(102, 9), kTestDialogBackground);
    EXPECT_EQ(At(102, 71), kTestDialogBackground);
    EXPECT_EQ(At(101, 40), kTestDialogBackground);
    for (int x : {120, 145, 170}) EXPECT_EQ(At(x, 93), kTestBorderLine) << x;
    EXPECT_EQ(At(171, 93), kTestDialogBackground);
    EXPECT_EQ(At(145, 92), kTestDialogBackground);
}

// A hidden pane keeps its last rectangle; a line there would stand in empty space.
TEST_F(BorderWindowTest, AHiddenPaneGetsNoLine) {
    ShowWindow(pane, SW_HIDE);
    Repaint(nullptr);
    EXPECT_EQ(At(30, 30), kTestDialogBackground);
    EXPECT_EQ(At(50, 20), kTestDialogBackground);
}

// Something that covered only the line's row goes away: the row is painted again with the line,
// not filled over.
TEST_F(BorderWindowTest, RepaintingJustTheLineRowRedrawsTheLine) {
    RECT row = {0, 30, 200, 31};
    Smear(row);
    Repaint(&row);
    EXPECT_EQ(At(30, 30), kTestBorderLine);
    EXPECT_EQ(At(60, 30), kTestDialogBackground);
}

}  // namespace
