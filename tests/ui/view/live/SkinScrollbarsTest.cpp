// The view's skinned scrollbars in the whole plugin: the list and the tree carry them, the
// tree's follow the layout, a skin change repaints them from the new bitmap, and neither
// repainting nor skin changes leave GDI or window-manager objects behind. With them, the list's
// "#" column, which a page of rows must not cut short either.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "base/Gdi.h"
#include "base/GuiObjects.h"
#include "livehost/LivePlugin.h"

namespace {

constexpr wchar_t kBarsProperty[] = L"CV2 CoolSBSubclassPtr";
constexpr int kBarSize = 14;

// A skin whose pieces are all one colour: whatever part of a bar is copied shows it.
HBITMAP OneColourSkin(COLORREF colour) {
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 120, 60, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    SelectGuard select(dc.get(), bitmap);
    UniqueBrush brush(CreateSolidBrush(colour));
    RECT all = {0, 0, 120, 60};
    FillRect(dc.get(), &all, brush.get());
    return bitmap;
}

class LiveSkinScrollbarsTest : public LivePluginTest {
protected:
    void StartWithManyRows(int rows = 80) {
        Fake().skinBitmap = [this] { return OneColourSkin(skinColour); };
        for (int i = 0; i < rows; ++i) AddLibraryFile(L"Many\\track" + std::to_wstring(100 + i) + L".mp3");
        StoreFolderRoot(Library());
        StartPlugin();
        ASSERT_TRUE(SelectAndWaitForListing(Library(L"Many\\")));
        ShowWindow(GetParent(View()), SW_SHOWNORMAL);
        SetWindowPos(GetParent(View()), HWND_TOPMOST, 0, 0, 700, 500, SWP_SHOWWINDOW);
        // The stand-in frame does not size its child: the view is given the frame's room.
        SetWindowPos(View(), nullptr, 0, 0, 680, 460, SWP_NOZORDER | SWP_SHOWWINDOW);
        PumpFor(300);
        ASSERT_TRUE(GetWindowLongPtrW(List(), GWL_STYLE) & WS_VSCROLL) << "the list shows no vertical bar";
    }
    // The middle of the list's down arrow, in window coordinates.
    COLORREF DownArrowColour() {
        RECT client, frame;
        GetClientRect(List(), &client);
        GetWindowRect(List(), &frame);
        POINT at = {client.right + kBarSize / 2, client.bottom - kBarSize / 2};
        ClientToScreen(List(), &at);
        HDC dc = GetWindowDC(List());
        COLORREF colour = GetPixel(dc, at.x - frame.left, at.y - frame.top);
        ReleaseDC(List(), dc);
        return colour;
    }
    void ChangeSkin(COLORREF colour) {
        skinColour = colour;
        SendMessageW(View(), WM_DISPLAYCHANGE, 32, 0);
        Pump();
    }

    COLORREF skinColour = RGB(200, 30, 60);
};

TEST_F(LiveSkinScrollbarsTest, ListAndTreeCarryTheBarsAndTheTreesFollowTheLayout) {
    StartWithManyRows();
    EXPECT_NE(GetPropW(List(), kBarsProperty), nullptr);
    EXPECT_NE(GetPropW(Tree(), kBarsProperty), nullptr);
    // A view with no height keeps no bars on the tree; they come back with the height.
    RECT view;
    GetClientRect(View(), &view);
    SetWindowPos(View(), nullptr, 0, 0, view.right, 0, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(GetPropW(Tree(), kBarsProperty), nullptr);
    SetWindowPos(View(), nullptr, 0, 0, view.right, view.bottom, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_NE(GetPropW(Tree(), kBarsProperty), nullptr);
    CloseAndQuit();
}

// The default width holds two digits at most; the rows from the hundredth on would end in an
// ellipsis. The column widens to the largest number.
TEST_F(LiveSkinScrollbarsTest, RowNumbersAreNeverCut) {
    StartWithManyRows(120);
    PumpFor(100);
    RECT cell = {};
    ListView_GetSubItemRect(List(), 0, 0, LVIR_LABEL, &cell);
    SIZE widest = {};
    HDC dc = GetDC(List());
    {
        SelectGuard font(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(List(), WM_GETFONT, 0, 0)));
        GetTextExtentPoint32W(dc, L"120", 3, &widest);
    }
    ReleaseDC(List(), dc);
    constexpr int kCellMargins = 2 * 3;
    EXPECT_GE(cell.right - cell.left, widest.cx + kCellMargins) << "the column is " << ListView_GetColumnWidth(List(), 0);
    CloseAndQuit();
}

TEST_F(LiveSkinScrollbarsTest, SkinChangesRepaintTheBarsAndLeaveNoObjects) {
    StartWithManyRows();
    EXPECT_EQ(DownArrowColour(), RGB(200, 30, 60));
    ChangeSkin(RGB(20, 140, 90));
    PumpFor(100);
    EXPECT_EQ(DownArrowColour(), RGB(20, 140, 90));

    // The window manager keeps and drops cached objects of its own, so one round may end a
    // few up or down; a leak grows the counts in every round.
    constexpr int kRounds = 3;
    GuiObjectCounts last = CountGuiObjects();
    int gdiGrew = 0, userGrew = 0;
    for (int round = 0; round < kRounds; ++round) {
        for (int i = 0; i < 400; ++i) SendMessageW(List(), WM_NCPAINT, 1, 0);
        // Ends on the first skin again.
        for (int i = 0; i < 40; ++i) ChangeSkin(i % 2 ? RGB(200, 30, 60) : RGB(20, 140, 90));
        PumpFor(100);
        GuiObjectCounts now = CountGuiObjects();
        gdiGrew += now.gdi > last.gdi;
        userGrew += now.user > last.user;
        last = now;
    }
    EXPECT_LT(gdiGrew, kRounds) << "GDI objects grew in every round of repaints and skin changes";
    EXPECT_LT(userGrew, kRounds) << "window-manager objects grew in every round of repaints and skin changes";
    EXPECT_EQ(DownArrowColour(), RGB(200, 30, 60));
    CloseAndQuit();
}

}  // namespace
