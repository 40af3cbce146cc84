// The skinned bars scroll a list exactly as the platform's bars do: the same real clicks, hold,
// drag and wheel on a skinned list and on a plain one of the same size leave the same top row.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <functional>
#include <thread>

#include "BarsFixture.h"
#include "ui/skin/ScrollbarGeometry.h"
#include "ui/skin/ScrollbarRedirect.h"
#include "ui/skin/SkinScrollbars.h"

namespace {

using namespace bars_test;
using namespace skinbars;

constexpr int kRows = 500;
constexpr wchar_t kCounterProperty[] = L"CvTestLineDowns";

// Below the bars: counts the line-down requests the list receives.
WNDPROC listProc = nullptr;
LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (message == WM_VSCROLL && LOWORD(wp) == SB_LINEDOWN) {
        auto count = reinterpret_cast<INT_PTR>(GetPropW(window, kCounterProperty));
        SetPropW(window, kCounterProperty, reinterpret_cast<HANDLE>(count + 1));
    }
    return CallWindowProcW(listProc, window, message, wp, lp);
}

// What the windows' thread has taken from its queue, wherever it took it, the platform bars'
// own tracking loop included. The hand waits on these after every step: on a busy machine,
// steps sent faster than the thread takes them run together (a release landing after the
// next gesture began), and the lists no longer saw the same gestures.
std::atomic<int> buttonsTaken{0};
std::atomic<LONG> moveTakenX{-1}, moveTakenY{-1};
LRESULT CALLBACK TakenProc(int code, WPARAM wp, LPARAM lp) {
    const MSG* msg = reinterpret_cast<const MSG*>(lp);
    if (code == HC_ACTION && wp == PM_REMOVE) {
        switch (msg->message) {
            case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK:
            case WM_NCLBUTTONDOWN: case WM_NCLBUTTONUP: case WM_NCLBUTTONDBLCLK:
            case WM_MOUSEWHEEL:
                ++buttonsTaken;
                break;
            case WM_MOUSEMOVE: case WM_NCMOUSEMOVE:
                moveTakenX = msg->pt.x;
                moveTakenY = msg->pt.y;
                break;
        }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

template <typename Done>
void WaitFor(Done done) {
    for (DWORD start = GetTickCount(); !done() && GetTickCount() - start < 5000;) Sleep(5);
}

void MoveTo(POINT at) {
    SetCursorPos(at.x, at.y);
    WaitFor([&] { return moveTakenX == at.x && moveTakenY == at.y; });
}

void Button(DWORD flags, int wheel = 0) {
    int before = buttonsTaken;
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    input.mi.mouseData = static_cast<DWORD>(wheel);
    SendInput(1, &input, sizeof(input));
    WaitFor([&] { return buttonsTaken > before; });
}

class ScrollingEquivalenceTest : public testing::Test {
protected:
    void SetUp() override {
        hook = SetWindowsHookExW(WH_GETMESSAGE, &TakenProc, nullptr, GetCurrentThreadId());
        owner = CreateOwner(ownerState, 40, 40, 720, 480);
        SetForegroundWindow(owner);
        skinned = CreateRowList(owner, 1, 10, 10, 300, 400, kRows);
        plain = CreateRowList(owner, 2, 400, 10, 300, 400, kRows);
        listProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(skinned, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CountingProc)));
        // Default sizes: the platform's bars have the system's size, and so must these.
        ASSERT_TRUE(Attach(skinned));
        Pump(100);
    }
    void TearDown() override {
        DestroyWindow(owner);
        Pump();
        UnhookWindowsHookEx(hook);
    }

    // Runs the user's hand on another thread while this one handles the windows' messages,
    // as the platform's bars track the mouse in a loop of their own.
    void Perform(const std::function<void()>& hand) {
        bool done = false;
        std::thread user([&] {
            hand();
            Sleep(100);
            done = true;
        });
        while (!done) Pump(10);
        user.join();
        Pump(200);
    }
    void BothToTop() {
        for (HWND list : {skinned, plain}) SendMessageW(list, WM_VSCROLL, SB_TOP, 0);
        SetPropW(skinned, kCounterProperty, nullptr);
        Pump(50);
    }
    // Screen points on the vertical bar of either list, both with the system's sizes.
    POINT BarPoint(HWND list, int fromClientBottom) {
        RECT client;
        GetClientRect(list, &client);
        POINT p = {client.right + GetSystemMetrics(SM_CXVSCROLL) / 2, client.bottom - fromClientBottom};
        ClientToScreen(list, &p);
        return p;
    }
    POINT DownArrow(HWND list) { return BarPoint(list, GetSystemMetrics(SM_CYVSCROLL) / 2); }
    POINT ThumbCentre(HWND list) {
        RECT client;
        GetClientRect(list, &client);
        int top, bottom;
        if (list == skinned) {
            RECT bar;
            BarLayout layout = LayoutOf(list, *StateOf(list), SB_VERT, bar);
            top = layout.thumbPos;
            bottom = layout.thumbPos + layout.thumbSize;
        } else {
            SCROLLBARINFO info = {};
            info.cbSize = sizeof(info);
            GetScrollBarInfo(list, OBJID_VSCROLL, &info);
            top = info.xyThumbTop;
            bottom = info.xyThumbBottom;
        }
        POINT p = {client.right + GetSystemMetrics(SM_CXVSCROLL) / 2, (top + bottom) / 2};
        ClientToScreen(list, &p);
        return p;
    }
    void Click(POINT at, DWORD holdMs = 0) {
        MoveTo(at);
        Button(MOUSEEVENTF_LEFTDOWN);
        Sleep(holdMs ? holdMs : 30);
        Button(MOUSEEVENTF_LEFTUP);
    }
    void Drag(POINT from, int dy) {
        MoveTo(from);
        Button(MOUSEEVENTF_LEFTDOWN);
        for (int step = 1; step <= 10; ++step) {
            Sleep(20);
            MoveTo({from.x, from.y + dy * step / 10});
        }
        Sleep(50);
        Button(MOUSEEVENTF_LEFTUP);
    }
    int LineDownsSeen() { return static_cast<int>(reinterpret_cast<INT_PTR>(GetPropW(skinned, kCounterProperty))); }

    OwnerState ownerState;
    ScrollbarRedirect redirect;
    HWND owner = nullptr, skinned = nullptr, plain = nullptr;
    HHOOK hook = nullptr;
};

TEST_F(ScrollingEquivalenceTest, SameTopRowAsThePlatformsBars) {
    BothToTop();
    Perform([&] {
        Click(DownArrow(skinned));
        Click(DownArrow(plain));
    });
    EXPECT_EQ(TopRow(skinned), 1);
    EXPECT_EQ(TopRow(skinned), TopRow(plain)) << "one click on the down arrow";

    BothToTop();
    POINT track = BarPoint(skinned, GetSystemMetrics(SM_CYVSCROLL) + 10);
    POINT plainTrack = BarPoint(plain, GetSystemMetrics(SM_CYVSCROLL) + 10);
    Perform([&] {
        Click(track);
        Click(plainTrack);
    });
    EXPECT_GT(TopRow(skinned), 1);
    EXPECT_EQ(TopRow(skinned), TopRow(plain)) << "a click on the track below the thumb";

    BothToTop();
    POINT thumb = ThumbCentre(skinned), plainThumb = ThumbCentre(plain);
    EXPECT_EQ(thumb.y - BarPoint(skinned, 0).y, plainThumb.y - BarPoint(plain, 0).y) << "the thumbs differ";
    Perform([&] {
        Drag(thumb, 150);
        Drag(plainThumb, 150);
    });
    EXPECT_GT(TopRow(skinned), 10);
    EXPECT_EQ(TopRow(skinned), TopRow(plain)) << "the thumb dragged 150 pixels";

    BothToTop();
    for (HWND list : {skinned, plain}) {
        // The platform sends the wheel to the focus on some versions and to the window under
        // the cursor on others: give each list both.
        SetFocus(list);
        RECT r;
        GetWindowRect(list, &r);
        Perform([&] {
            MoveTo({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
            Button(MOUSEEVENTF_WHEEL, -WHEEL_DELTA);
        });
    }
    EXPECT_GT(TopRow(skinned), 0);
    EXPECT_EQ(TopRow(skinned), TopRow(plain)) << "one notch of the wheel";
}

// The hold repeats the request; what matters is that the list ends where the same number of
// requests takes a plain list.
TEST_F(ScrollingEquivalenceTest, HoldingTheArrowRepeatsLikeSingleRequests) {
    BothToTop();
    Perform([&] { Click(DownArrow(skinned), 1000); });
    int requests = LineDownsSeen();
    EXPECT_GT(requests, 2) << "the arrow did not repeat";
    for (int i = 0; i < requests; ++i) SendMessageW(plain, WM_VSCROLL, SB_LINEDOWN, 0);
    Pump(50);
    EXPECT_EQ(TopRow(skinned), TopRow(plain));
    EXPECT_EQ(TopRow(skinned), requests);
    printf("[ figures  ] %d line requests in a one-second hold\n", requests);
}

}  // namespace
