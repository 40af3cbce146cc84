// The procedure put in front of a window with skinned bars: it makes room for the bars in the
// non-client area, answers hit tests on them, paints them and takes the mouse on them; the
// window's own procedure sees every other message, and sees its frame messages with the scroll
// styles taken off so that the platform neither reserves nor paints bars of its own.
#include <windowsx.h>

#include <algorithm>

#include "ui/skin/ScrollbarGeometry.h"
#include "ui/skin/ScrollbarInternal.h"
#include "ui/skin/SkinScrollbars.h"

namespace skinbars {

namespace {

constexpr DWORD kScrollStyles = WS_HSCROLL | WS_VSCROLL;

// Takes the scroll styles off for one call of the window's own procedure and puts back those
// the window had.
// The state is looked up again afterwards: the window's own procedure may have had the bars
// detached meanwhile.
class HiddenScrollStyles {
public:
    HiddenScrollStyles(HWND window, ScrollbarState& state)
        : window_(window), had_(static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)) & kScrollStyles) {
        ChangeStyleQuietly(window_, state, had_, false);
    }
    ~HiddenScrollStyles() {
        if (ScrollbarState* state = StateOf(window_)) ChangeStyleQuietly(window_, *state, had_, true);
        else SetWindowLongPtrW(window_, GWL_STYLE, GetWindowLongPtrW(window_, GWL_STYLE) | had_);
    }
    HiddenScrollStyles(const HiddenScrollStyles&) = delete;
    HiddenScrollStyles& operator=(const HiddenScrollStyles&) = delete;

private:
    HWND window_;
    DWORD had_;
};

LRESULT OnNcCalcSize(HWND window, ScrollbarState& state, WPARAM wp, LPARAM lp) {
    LRESULT result;
    {
        HiddenScrollStyles hidden(window, state);
        result = CallPrevious(window, state, WM_NCCALCSIZE, wp, lp);
    }
    ScrollbarState* still = StateOf(window);
    if (!still) return result;
    RECT& client = wp ? reinterpret_cast<NCCALCSIZE_PARAMS*>(lp)->rgrc[0] : *reinterpret_cast<RECT*>(lp);
    const BarState& vertical = still->bars[SB_VERT];
    const BarState& horizontal = still->bars[SB_HORZ];
    if (vertical.flags & kBarShown) {
        int width = ThicknessOf(vertical, SB_VERT);
        if (still->leftScrollbar) client.left = std::min<LONG>(client.left + width, client.right);
        else client.right = std::max<LONG>(client.right - width, client.left);
    }
    if (horizontal.flags & kBarShown)
        client.bottom = std::max<LONG>(client.bottom - ThicknessOf(horizontal, SB_HORZ), client.top);
    return result;
}

LRESULT OnNcHitTest(HWND window, ScrollbarState& state, WPARAM wp, LPARAM lp) {
    POINT screen = {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    POINT at = ScreenToWindow(window, screen);
    RECT rect;
    if (BarRect(window, state, SB_VERT, rect) && PtInRect(&rect, at)) return HTVSCROLL;
    if (BarRect(window, state, SB_HORZ, rect) && PtInRect(&rect, at)) return HTHSCROLL;
    if (SizeBoxRect(window, state, rect) && PtInRect(&rect, at)) return HTBORDER;
    HiddenScrollStyles hidden(window, state);
    return CallPrevious(window, state, WM_NCHITTEST, wp, lp);
}

LRESULT OnNcPaint(HWND window, ScrollbarState& state, WPARAM wp, LPARAM lp) {
    {
        HiddenScrollStyles hidden(window, state);
        CallPrevious(window, state, WM_NCPAINT, wp, lp);
    }
    if (ScrollbarState* still = StateOf(window)) PaintBars(window, *still);
    return 0;
}

bool IsOnBar(WPARAM hit) { return hit == HTVSCROLL || hit == HTHSCROLL; }

LRESULT OnNcDestroy(HWND window, ScrollbarState& state, WPARAM wp, LPARAM lp) {
    WNDPROC previous = state.previousProc;
    ForgetWindow(window);
    return CallWindowProcW(previous, window, WM_NCDESTROY, wp, lp);
}

}  // namespace

LRESULT CallPrevious(HWND window, ScrollbarState& state, UINT message, WPARAM wp, LPARAM lp) {
    return CallWindowProcW(state.previousProc, window, message, wp, lp);
}

LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    ScrollbarState* found = StateOf(window);
    if (!found) return DefWindowProcW(window, message, wp, lp);
    ScrollbarState& state = *found;
    LRESULT result = 0;
    switch (message) {
        case WM_NCCALCSIZE: return OnNcCalcSize(window, state, wp, lp);
        case WM_NCHITTEST: return OnNcHitTest(window, state, wp, lp);
        case WM_NCPAINT: return OnNcPaint(window, state, wp, lp);
        case WM_NCDESTROY: return OnNcDestroy(window, state, wp, lp);
        case WM_STYLECHANGING:
            if (state.stylesHidden) return 0;
            break;
        case WM_STYLECHANGED:
            if (state.stylesHidden) return 0;
            if (wp == static_cast<WPARAM>(GWL_EXSTYLE))
                state.leftScrollbar = (reinterpret_cast<STYLESTRUCT*>(lp)->styleNew & WS_EX_LEFTSCROLLBAR) != 0;
            break;
        case WM_NCLBUTTONDOWN:
        case WM_NCLBUTTONDBLCLK:
            if (IsOnBar(wp) && OnNcButtonDown(window, state, wp, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)})) return 0;
            break;
        case WM_NCRBUTTONDOWN:
        case WM_NCRBUTTONUP:
        case WM_NCRBUTTONDBLCLK:
        case WM_NCMBUTTONDOWN:
        case WM_NCMBUTTONUP:
        case WM_NCMBUTTONDBLCLK:
            if (IsOnBar(wp)) return 0;
            break;
        case WM_NCMOUSEMOVE:
            OnNcMouseMove(window, state, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
            // The platform tracks the hot part of its own bars from this message.
            if (IsOnBar(wp)) return 0;
            break;
        case WM_NCMOUSELEAVE: OnNcMouseLeave(window, state); break;
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED:
            if (OnTrackingMouse(window, state, message, lp, result)) return result;
            break;
        case WM_TIMER:
            if (OnTimer(window, state, wp)) return 0;
            break;
        default: break;
    }
    return CallPrevious(window, state, message, wp, lp);
}

}  // namespace skinbars
