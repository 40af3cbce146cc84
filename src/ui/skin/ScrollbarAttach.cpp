// Attaching the skinned scrollbars to a window and taking them off again, their sizes, and the
// style and frame changes that showing a bar makes.
#include "ui/skin/SkinScrollbars.h"

#include <cstdlib>
#include <initializer_list>

#include "ui/skin/ScrollbarInternal.h"

namespace skinbars {

namespace {

constexpr int kLargestSize = 256;
constexpr int kLargestMultiple = -8;

// The thumb's minimum: older platforms drew it 8 pixels long, later ones 6.
int MinimumThumb() {
    DWORD version = GetVersion();
    bool older = (version & 0x80000000u) != 0 || LOBYTE(LOWORD(version)) < 5;
    return older ? 8 : 6;
}

void ReadPlatformBar(HWND window, int which, DWORD style, BarState& bar) {
    SCROLLINFO info = ScrollInfoFor(SIF_ALL);
    if (::GetScrollInfo(window, which, &info)) {
        bar.min = info.nMin;
        bar.max = info.nMax;
        bar.page = info.nPage;
        bar.pos = info.nPos;
        bar.trackPos = info.nPos;
    }
    if (style & (which == SB_VERT ? WS_VSCROLL : WS_HSCROLL)) bar.flags |= kBarShown;
    bar.arrowLength = -1;
    bar.width = -1;
    bar.minThumb = MinimumThumb();
}

bool IsValidSize(int size) { return size != 0 && size >= kLargestMultiple && size <= kLargestSize; }

}  // namespace

ScrollbarState* StateOf(HWND window) {
    return window ? static_cast<ScrollbarState*>(GetPropW(window, kStateProperty)) : nullptr;
}

bool IsAttached(HWND window) { return StateOf(window) != nullptr; }

bool Attach(HWND window) {
    if (!IsWindow(window) || StateOf(window)) return false;
    auto* state = static_cast<ScrollbarState*>(calloc(1, sizeof(ScrollbarState)));
    if (!state) return false;
    auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    ReadPlatformBar(window, SB_HORZ, style, state->bars[SB_HORZ]);
    ReadPlatformBar(window, SB_VERT, style, state->bars[SB_VERT]);
    state->leftScrollbar = (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
    state->trackBar = state->hotBar = state->trackPart = state->hotPart = -1;
    if (!SetPropW(window, kStateProperty, state)) {
        free(state);
        return false;
    }
    state->previousProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc)));
    RecalcFrame(window);
    return true;
}

void ForgetWindow(HWND window) {
    ScrollbarState* state = StateOf(window);
    if (!state) return;
    if (state->tracking != Tracking::kNone) EndTracking(window, *state, false);
    // A procedure that replaced this one since has taken it out of the chain already.
    if (GetWindowLongPtrW(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&SubclassProc))
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(state->previousProc));
    RemovePropW(window, kStateProperty);
    free(state);
}

// The platform's bars take over where these stood, so the control and its bars agree.
void HandBackToPlatform(HWND window, const ScrollbarState& state) {
    for (int which : {SB_HORZ, SB_VERT}) {
        const BarState& bar = state.bars[which];
        SCROLLINFO info = ScrollInfoFor(SIF_ALL);
        info.nMin = bar.min;
        info.nMax = bar.max;
        info.nPage = bar.page;
        info.nPos = bar.pos;
        ::SetScrollInfo(window, which, &info, FALSE);
    }
}

bool Detach(HWND window) {
    ScrollbarState* state = StateOf(window);
    if (!state) return false;
    HandBackToPlatform(window, *state);
    ForgetWindow(window);
    RecalcFrame(window);
    return true;
}

bool SetSize(HWND window, int bar, int arrowLength, int width) {
    ScrollbarState* state = StateOf(window);
    if (!state || !IsValidSize(arrowLength) || !IsValidSize(width)) return false;
    if (bar != SB_HORZ && bar != SB_VERT && bar != SB_BOTH) return false;
    bool changed = false;
    for (int which : {SB_HORZ, SB_VERT}) {
        if (bar != SB_BOTH && bar != which) continue;
        BarState& own = state->bars[which];
        changed |= own.arrowLength != arrowLength || own.width != width;
        own.arrowLength = arrowLength;
        own.width = width;
    }
    if (changed) RecalcFrame(window);
    return true;
}

void RecalcFrame(HWND window) {
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void ChangeStyleQuietly(HWND window, ScrollbarState& state, DWORD bits, bool set) {
    auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    DWORD wanted = set ? (style | bits) : (style & ~bits);
    if (wanted == style) return;
    bool wasHidden = state.stylesHidden;
    state.stylesHidden = true;
    SetWindowLongPtrW(window, GWL_STYLE, static_cast<LONG_PTR>(wanted));
    state.stylesHidden = wasHidden;
}

void ShowBar(HWND window, ScrollbarState& state, int which, bool show) {
    BarState& bar = state.bars[which];
    bool shown = (bar.flags & kBarShown) != 0;
    if (show) bar.flags |= kBarShown;
    else bar.flags &= ~kBarShown;
    ChangeStyleQuietly(window, state, which == SB_VERT ? WS_VSCROLL : WS_HSCROLL, show);
    if (shown != show) RecalcFrame(window);
}

}  // namespace skinbars
