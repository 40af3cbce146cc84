// The bars' state as the controls see it through the scroll functions: clamping, sizes,
// attaching and detaching, showing and enabling, and calls that must reach the platform.
#include <gtest/gtest.h>

#include <windows.h>

#include "BarsFixture.h"
#include "ui/skin/ScrollbarState.h"
#include "ui/skin/SkinScrollbars.h"

namespace {

using namespace bars_test;

constexpr wchar_t kPlainClass[] = L"CvBarsPlainWindow";

// A procedure below the bars that notes what it saw at the window's end.
bool propertyAtNcDestroy = true;
bool reachedNcDestroy = false;
LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (message == WM_NCDESTROY) {
        reachedNcDestroy = true;
        propertyAtNcDestroy = GetPropW(window, skinbars::kStateProperty) != nullptr;
    }
    return DefWindowProcW(window, message, wp, lp);
}

class BarStateTest : public testing::Test {
protected:
    void SetUp() override {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = PlainProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kPlainClass;
        RegisterClassW(&wc);
        owner = CreateOwner(ownerState, 20, 20, 400, 300);
        window = CreateWindowExW(0, kPlainClass, L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, 10, 10, 200, 150,
                                 owner, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    void TearDown() override { DestroyWindow(owner); }

    SCROLLINFO Info(int bar) {
        SCROLLINFO info = {};
        info.cbSize = sizeof(info);
        info.fMask = SIF_ALL;
        skinbars::GetScrollInfo(window, bar, &info);
        return info;
    }
    void SetInfo(int bar, UINT mask, int min, int max, UINT page, int pos) {
        SCROLLINFO info = {};
        info.cbSize = sizeof(info);
        info.fMask = mask;
        info.nMin = min;
        info.nMax = max;
        info.nPage = page;
        info.nPos = pos;
        skinbars::SetScrollInfo(window, bar, &info, TRUE);
    }
    int ClientWidth() {
        RECT client;
        GetClientRect(window, &client);
        return client.right;
    }

    OwnerState ownerState;
    HWND owner = nullptr;
    HWND window = nullptr;
};

TEST_F(BarStateTest, AttachesOnceAndDetachesOnce) {
    EXPECT_TRUE(skinbars::Attach(window));
    EXPECT_FALSE(skinbars::Attach(window));
    EXPECT_TRUE(skinbars::Detach(window));
    EXPECT_FALSE(skinbars::Detach(window));
    EXPECT_EQ(GetWindowLongPtrW(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&PlainProc));
    EXPECT_TRUE(skinbars::Attach(window));
}

TEST_F(BarStateTest, SetSizeRefusesZeroOutOfRangeAndUnattached) {
    EXPECT_FALSE(skinbars::SetSize(window, SB_VERT, 14, 14)) << "not attached yet";
    ASSERT_TRUE(skinbars::Attach(window));
    struct Case {
        int bar, arrow, width;
        bool accepted;
    };
    const Case cases[] = {
        {SB_VERT, 0, 14, false},   {SB_VERT, 14, 0, false},  {SB_VERT, -9, 14, false}, {SB_VERT, 14, 257, false},
        {SB_CTL, 14, 14, false},   {SB_VERT, -8, 14, true},  {SB_HORZ, 256, 256, true}, {SB_BOTH, 14, 14, true},
        {SB_VERT, -1, -1, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(skinbars::SetSize(window, c.bar, c.arrow, c.width), c.accepted)
            << c.bar << " " << c.arrow << " " << c.width;
}

TEST_F(BarStateTest, TheBarTakesItsWidthFromTheClientArea) {
    int before = ClientWidth();
    ASSERT_TRUE(skinbars::Attach(window));
    SetInfo(SB_VERT, SIF_RANGE | SIF_PAGE, 0, 99, 10, 0);
    ASSERT_TRUE(skinbars::SetSize(window, SB_VERT, 14, 20));
    EXPECT_EQ(ClientWidth(), 200 - 20);
    skinbars::ShowScrollBar(window, SB_VERT, FALSE);
    EXPECT_EQ(ClientWidth(), 200);
    EXPECT_FALSE(GetWindowLongPtrW(window, GWL_STYLE) & WS_VSCROLL);
    skinbars::ShowScrollBar(window, SB_VERT, TRUE);
    EXPECT_EQ(ClientWidth(), 180);
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_STYLE) & WS_VSCROLL);
    skinbars::Detach(window);
    EXPECT_EQ(ClientWidth(), before);
}

TEST_F(BarStateTest, SetInfoLimitsThePageAndThePosition) {
    ASSERT_TRUE(skinbars::Attach(window));
    struct Case {
        int min, max;
        UINT page;
        int pos;
        UINT shownPage;
        int shownPos;
    };
    const Case cases[] = {
        {0, 99, 10, 500, 10, 90},  {0, 99, 10, -5, 10, 0},  {0, 99, 150, 40, 100, 0},
        {5, 50, 0, 2, 0, 5},       {5, 50, 0, 80, 0, 50},   {10, 3, 0, 7, 0, 0},  // a reversed range is none
    };
    for (const Case& c : cases) {
        SetInfo(SB_VERT, SIF_ALL, c.min, c.max, c.page, c.pos);
        SCROLLINFO info = Info(SB_VERT);
        EXPECT_EQ(info.nPage, c.shownPage) << c.min << ".." << c.max << " page " << c.page;
        EXPECT_EQ(info.nPos, c.shownPos) << c.min << ".." << c.max << " pos " << c.pos;
        EXPECT_EQ(info.nTrackPos, info.nPos);
    }
}

TEST_F(BarStateTest, SetPosAnswersTheOldPositionAndClamps) {
    ASSERT_TRUE(skinbars::Attach(window));
    SetInfo(SB_VERT, SIF_ALL, 0, 99, 10, 30);
    EXPECT_EQ(skinbars::SetScrollPos(window, SB_VERT, 95, TRUE), 30);
    EXPECT_EQ(skinbars::GetScrollPos(window, SB_VERT), 90);
    EXPECT_EQ(skinbars::SetScrollPos(window, SB_VERT, -3, FALSE), 90);
    EXPECT_EQ(skinbars::GetScrollPos(window, SB_VERT), 0);
    // Without a page the last position is the maximum itself, never one beyond it.
    SetInfo(SB_HORZ, SIF_ALL, 0, 99, 0, 0);
    skinbars::SetScrollPos(window, SB_HORZ, 500, FALSE);
    EXPECT_EQ(skinbars::GetScrollPos(window, SB_HORZ), 99);
}

TEST_F(BarStateTest, RangeRoundTripsAndPullsThePositionIn) {
    ASSERT_TRUE(skinbars::Attach(window));
    SetInfo(SB_VERT, SIF_ALL, 0, 99, 0, 2);
    skinbars::SetScrollRange(window, SB_VERT, 5, 50, TRUE);
    int min = -1, max = -1;
    EXPECT_TRUE(skinbars::GetScrollRange(window, SB_VERT, &min, &max));
    EXPECT_EQ(min, 5);
    EXPECT_EQ(max, 50);
    EXPECT_EQ(skinbars::GetScrollPos(window, SB_VERT), 5);
}

TEST_F(BarStateTest, ABarShowsOnlyWhileThereIsSomethingToScroll) {
    ASSERT_TRUE(skinbars::Attach(window));
    SetInfo(SB_VERT, SIF_RANGE | SIF_PAGE, 0, 9, 20, 0);
    EXPECT_FALSE(GetWindowLongPtrW(window, GWL_STYLE) & WS_VSCROLL);
    SetInfo(SB_VERT, SIF_RANGE | SIF_PAGE, 0, 99, 20, 0);
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_STYLE) & WS_VSCROLL);
    // Asked to stay, an idle bar stays and is disabled.
    SetInfo(SB_VERT, SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL, 0, 9, 20, 0);
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_STYLE) & WS_VSCROLL);
    EXPECT_EQ(skinbars::StateOf(window)->bars[SB_VERT].flags & 3u, 3u);
}

TEST_F(BarStateTest, EnablingAnswersWhetherAnythingChanged) {
    ASSERT_TRUE(skinbars::Attach(window));
    EXPECT_TRUE(skinbars::EnableScrollBar(window, SB_VERT, ESB_DISABLE_UP));
    EXPECT_FALSE(skinbars::EnableScrollBar(window, SB_VERT, ESB_DISABLE_UP));
    EXPECT_EQ(skinbars::StateOf(window)->bars[SB_VERT].flags & 3u, 1u);
    EXPECT_EQ(skinbars::StateOf(window)->bars[SB_HORZ].flags & 3u, 0u);
    EXPECT_TRUE(skinbars::EnableScrollBar(window, SB_BOTH, ESB_ENABLE_BOTH));
}

TEST_F(BarStateTest, DestroyingTheWindowDetachesFirst) {
    ASSERT_TRUE(skinbars::Attach(window));
    reachedNcDestroy = false;
    propertyAtNcDestroy = true;
    DestroyWindow(window);
    EXPECT_TRUE(reachedNcDestroy);
    EXPECT_FALSE(propertyAtNcDestroy);
}

TEST_F(BarStateTest, CallsForOtherWindowsAndBarsReachThePlatform) {
    // Not attached: the platform keeps the values.
    SetInfo(SB_VERT, SIF_ALL, 0, 40, 5, 12);
    SCROLLINFO platform = {sizeof(platform), SIF_ALL, 0, 0, 0, 0, 0};
    ::GetScrollInfo(window, SB_VERT, &platform);
    EXPECT_EQ(platform.nMax, 40);
    EXPECT_EQ(platform.nPos, 12);
    // Attached: the bars take the values over from the platform and keep their own.
    ASSERT_TRUE(skinbars::Attach(window));
    EXPECT_EQ(Info(SB_VERT).nPos, 12);
    skinbars::SetScrollPos(window, SB_VERT, 20, FALSE);
    EXPECT_EQ(::GetScrollPos(window, SB_VERT), 12);
    EXPECT_EQ(skinbars::GetScrollPos(window, SB_VERT), 20);
    // A scroll-bar control's own bar is always the platform's.
    HWND control = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | SBS_VERT, 0, 0, 16, 100, owner, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
    skinbars::SetScrollRange(control, SB_CTL, 0, 7, FALSE);
    int min = 0, max = 0;
    ::GetScrollRange(control, SB_CTL, &min, &max);
    EXPECT_EQ(max, 7);
}

}  // namespace
