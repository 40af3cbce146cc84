// The mouse on the skinned bars: arrows and track send their scroll request at once and again
// while held (after a first pause), the thumb follows the pointer with position requests, and
// the part under the pointer is drawn hot. Like the platform's bars this works with the mouse
// captured rather than in a loop of its own, so the window's messages keep flowing.
#include <windowsx.h>
#include <initializer_list>

#include "ui/skin/ScrollbarGeometry.h"
#include "ui/skin/ScrollbarInternal.h"

namespace skinbars {

namespace {

// Timer ids far above those the controls use for themselves.
constexpr UINT_PTR kFirstRepeatTimer = 0xFFFD;
constexpr UINT_PTR kRepeatTimer = 0xFFFE;
constexpr UINT kFirstRepeatMs = 300;
constexpr UINT kRepeatMs = 55;

UINT ScrollMessageOf(int which) { return which == SB_VERT ? WM_VSCROLL : WM_HSCROLL; }

void SendScroll(HWND window, int which, int code, int pos = 0) {
    SendMessageW(window, ScrollMessageOf(which), MAKEWPARAM(code, pos & 0xFFFF), 0);
}

int OffsetAlong(int which, const RECT& barRect, POINT at) {
    return which == SB_VERT ? at.y - barRect.top : at.x - barRect.left;
}

// The platform lets the pointer stray this far from a dragged thumb's bar before the thumb
// goes back to where the drag began.
bool NearBar(int which, RECT barRect, POINT at) {
    int thickness = which == SB_VERT ? barRect.right - barRect.left : barRect.bottom - barRect.top;
    if (which == SB_VERT) InflateRect(&barRect, thickness * 8, thickness * 2);
    else InflateRect(&barRect, thickness * 2, thickness * 8);
    return PtInRect(&barRect, at) != FALSE;
}

// Nothing to scroll, or the arrow refuses: a press then does nothing at all.
bool RefusesPress(const BarState& bar, int part) {
    UINT disabled = bar.flags & (kLeftUpDisabled | kRightDownDisabled);
    if (disabled == (kLeftUpDisabled | kRightDownDisabled)) return true;
    if ((part == kPartLineUp && (disabled & kLeftUpDisabled)) || (part == kPartLineDown && (disabled & kRightDownDisabled)))
        return true;
    if (bar.flags & kThumbAlways) return false;
    return bar.max == 0 || bar.max < static_cast<int>(bar.page) || bar.max <= bar.min;
}

POINT CursorOnScreen() {
    POINT at = {};
    GetCursorPos(&at);
    return at;
}

void PressPart(HWND window, ScrollbarState& state, int which, int part) {
    state.tracking = Tracking::kPart;
    state.trackBar = which;
    state.trackPart = part;
    state.pressedShown = true;
    SendScroll(window, which, part);
    PaintBarsIfVisible(window, state);
    SetCapture(window);
    SetTimer(window, kFirstRepeatTimer, kFirstRepeatMs, nullptr);
}

void PressThumb(HWND window, ScrollbarState& state, int which, int offset, int thumbPos) {
    BarState& bar = state.bars[which];
    state.tracking = Tracking::kThumb;
    state.trackBar = which;
    state.trackPart = kPartThumb;
    state.pressedShown = true;
    state.thumbGrip = offset - thumbPos;
    state.thumbStartPos = bar.pos;
    bar.trackPos = bar.pos;
    SetCapture(window);
    PaintBarsIfVisible(window, state);
}

void DragThumb(HWND window, ScrollbarState& state, POINT screen) {
    int which = state.trackBar;
    BarState& bar = state.bars[which];
    RECT barRect;
    BarLayout layout = LayoutOf(window, state, which, barRect);
    POINT at = ScreenToWindow(window, screen);
    int pos = state.thumbStartPos;
    if (NearBar(which, barRect, at))
        pos = ThumbValue(bar, layout, OffsetAlong(which, barRect, at) - state.thumbGrip, ThicknessOf(bar, which));
    if (pos == bar.trackPos) return;
    bar.trackPos = pos;
    SendScroll(window, which, SB_THUMBTRACK, pos);
    PaintBarsIfVisible(window, state);
}

void FollowPressedPart(HWND window, ScrollbarState& state, POINT screen) {
    int which, part;
    bool over = HitPart(window, state, screen, which, part) && which == state.trackBar && part == state.trackPart;
    if (over == state.pressedShown) return;
    state.pressedShown = over;
    PaintBarsIfVisible(window, state);
}

void Release(HWND window, ScrollbarState& state) {
    int which = state.trackBar;
    bool thumb = state.tracking == Tracking::kThumb;
    int pos = state.bars[which].trackPos;
    EndTracking(window, state, false);
    if (thumb) SendScroll(window, which, SB_THUMBPOSITION, pos);
    SendScroll(window, which, SB_ENDSCROLL);
    OnNcMouseMove(window, state, CursorOnScreen());
    PaintBarsIfVisible(window, state);
}

}  // namespace

bool HitPart(HWND window, const ScrollbarState& state, POINT screen, int& which, int& part) {
    POINT at = ScreenToWindow(window, screen);
    for (int bar : {SB_VERT, SB_HORZ}) {
        RECT barRect;
        BarLayout layout = LayoutOf(window, state, bar, barRect);
        if (!PtInRect(&barRect, at)) continue;
        which = bar;
        part = PartAt(layout, OffsetAlong(bar, barRect, at));
        return part != kNoPart;
    }
    return false;
}

bool OnNcButtonDown(HWND window, ScrollbarState& state, WPARAM hit, POINT screen) {
    int which, part;
    if (!HitPart(window, state, screen, which, part)) return true;
    if (which != (hit == HTVSCROLL ? SB_VERT : SB_HORZ)) return true;
    if (state.tracking != Tracking::kNone) EndTracking(window, state, true);
    if (part == kPartThumb) {
        RECT barRect;
        BarLayout layout = LayoutOf(window, state, which, barRect);
        PressThumb(window, state, which, OffsetAlong(which, barRect, ScreenToWindow(window, screen)), layout.thumbPos);
    } else if (!RefusesPress(state.bars[which], part)) {
        PressPart(window, state, which, part);
    }
    return true;
}

bool OnTrackingMouse(HWND window, ScrollbarState& state, UINT message, LPARAM lp, LRESULT& result) {
    if (state.tracking == Tracking::kNone) return false;
    result = 0;
    if (message == WM_CAPTURECHANGED) {
        // Someone else took the mouse: the press ends where it stands.
        if (reinterpret_cast<HWND>(lp) != window) {
            int which = state.trackBar;
            EndTracking(window, state, false);
            SendScroll(window, which, SB_ENDSCROLL);
            PaintBarsIfVisible(window, state);
        }
        return true;
    }
    POINT screen = {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    ClientToScreen(window, &screen);
    if (message == WM_LBUTTONUP) Release(window, state);
    else if (state.tracking == Tracking::kThumb) DragThumb(window, state, screen);
    else FollowPressedPart(window, state, screen);
    return true;
}

bool OnTimer(HWND window, ScrollbarState& state, WPARAM id) {
    if (id != kFirstRepeatTimer && id != kRepeatTimer) return false;
    if (state.tracking != Tracking::kPart) {
        KillTimer(window, id);
        return true;
    }
    if (id == kFirstRepeatTimer) {
        KillTimer(window, kFirstRepeatTimer);
        SetTimer(window, kRepeatTimer, kRepeatMs, nullptr);
    }
    int which, part;
    bool over = HitPart(window, state, CursorOnScreen(), which, part) && which == state.trackBar &&
                part == state.trackPart;
    if (over) SendScroll(window, state.trackBar, state.trackPart);
    // The thumb moved: a held track part may now lie elsewhere.
    if (over != state.pressedShown || over) {
        state.pressedShown = over;
        PaintBarsIfVisible(window, state);
    }
    return true;
}

void EndTracking(HWND window, ScrollbarState& state, bool notify) {
    int which = state.trackBar;
    state.tracking = Tracking::kNone;
    state.pressedShown = false;
    state.bars[which >= 0 ? which : 0].trackPos = state.bars[which >= 0 ? which : 0].pos;
    KillTimer(window, kFirstRepeatTimer);
    KillTimer(window, kRepeatTimer);
    if (GetCapture() == window) ReleaseCapture();
    if (notify && which >= 0) SendScroll(window, which, SB_ENDSCROLL);
}

void OnNcMouseMove(HWND window, ScrollbarState& state, POINT screen) {
    int which = -1, part = kNoPart;
    if (!HitPart(window, state, screen, which, part)) which = -1, part = kNoPart;
    if (which >= 0 && !state.leaveRequested) {
        TRACKMOUSEEVENT leave = {sizeof(leave), TME_LEAVE | TME_NONCLIENT, window, 0};
        state.leaveRequested = TrackMouseEvent(&leave) != FALSE;
    }
    if (which == state.hotBar && part == state.hotPart) return;
    state.hotBar = which;
    state.hotPart = part;
    PaintBarsIfVisible(window, state);
}

void OnNcMouseLeave(HWND window, ScrollbarState& state) {
    state.leaveRequested = false;
    if (state.hotBar < 0) return;
    state.hotBar = -1;
    state.hotPart = kNoPart;
    PaintBarsIfVisible(window, state);
}

}  // namespace skinbars
