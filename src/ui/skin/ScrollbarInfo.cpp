// The scroll functions as the controls see them: on a window with skinned bars they read and
// change the bars' own state (clamped as the platform clamps); on any other window, or for a
// bar the skinned ones do not cover, they call what the controls' import held before us: the
// platform's function, or another plugin's hook on it.
#include "ui/skin/SkinScrollbars.h"

#include <algorithm>
#include <initializer_list>

#include "ui/skin/ScrollbarGeometry.h"
#include "ui/skin/ScrollbarInternal.h"

namespace skinbars {

namespace {

// The state of one of the two bars, or null when the platform answers.
BarState* OwnBar(HWND window, int bar, ScrollbarState*& state) {
    state = StateOf(window);
    if (!state || (bar != SB_HORZ && bar != SB_VERT)) return nullptr;
    return &state->bars[bar];
}

void LimitPageAndPosition(BarState& bar) {
    long long span = static_cast<long long>(bar.max) - bar.min + 1;
    if (static_cast<long long>(bar.page) > span) bar.page = static_cast<UINT>(std::max(span, 0LL));
    bar.pos = std::clamp(bar.pos, bar.min, std::max(bar.min, TopPosition(bar)));
}

// As the platform: a bar whose range or page changed hides when nothing is left to scroll
// (or, asked to, stays and is disabled) and shows again once there is.
void UpdateVisibility(HWND window, ScrollbarState& state, int which, UINT mask, bool rangeOrPageChanged) {
    BarState& bar = state.bars[which];
    if (!(mask & (SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL))) return;
    if (!IsScrollable(bar)) {
        if (mask & SIF_DISABLENOSCROLL) bar.flags |= kLeftUpDisabled | kRightDownDisabled;
        else if (rangeOrPageChanged) ShowBar(window, state, which, false);
    } else if (mask != SIF_PAGE) {
        bar.flags &= ~(kLeftUpDisabled | kRightDownDisabled);
        if (rangeOrPageChanged) ShowBar(window, state, which, true);
    }
}

int StoreInfo(HWND window, ScrollbarState& state, int which, const SCROLLINFO& info, BOOL redraw) {
    BarState& bar = state.bars[which];
    bool changed = false;
    if (info.fMask & SIF_PAGE) {
        changed |= bar.page != info.nPage;
        bar.page = info.nPage;
    }
    if (info.fMask & SIF_RANGE) {
        // A reversed range counts as none, as the platform takes it.
        int min = info.nMin <= info.nMax ? info.nMin : 0;
        int max = info.nMin <= info.nMax ? info.nMax : 0;
        changed |= bar.min != min || bar.max != max;
        bar.min = min;
        bar.max = max;
    }
    if (info.fMask & SIF_POS) bar.pos = info.nPos;
    LimitPageAndPosition(bar);
    if (!(state.tracking == Tracking::kThumb && state.trackBar == which)) bar.trackPos = bar.pos;
    UpdateVisibility(window, state, which, info.fMask, changed);
    if (redraw) PaintBarsIfVisible(window, state);
    return bar.pos;
}

}  // namespace

BOOL WINAPI GetScrollInfoVia(GetScrollInfoFn previous, HWND window, int bar, LPSCROLLINFO info) {
    ScrollbarState* state;
    BarState* own = OwnBar(window, bar, state);
    if (!own) return previous(window, bar, info);
    if (!info) return FALSE;
    if (info->fMask & SIF_PAGE) info->nPage = own->page;
    if (info->fMask & SIF_POS) info->nPos = own->pos;
    if (info->fMask & SIF_RANGE) {
        info->nMin = own->min;
        info->nMax = own->max;
    }
    if (info->fMask & SIF_TRACKPOS) info->nTrackPos = own->trackPos;
    return (info->fMask & SIF_ALL) != 0;
}

int WINAPI SetScrollInfoVia(SetScrollInfoFn previous, HWND window, int bar, LPCSCROLLINFO info, BOOL redraw) {
    ScrollbarState* state;
    BarState* own = OwnBar(window, bar, state);
    if (!own) return previous(window, bar, info, redraw);
    if (!info) return own->pos;
    return StoreInfo(window, *state, bar, *info, redraw);
}

int WINAPI GetScrollPosVia(GetScrollPosFn previous, HWND window, int bar) {
    ScrollbarState* state;
    BarState* own = OwnBar(window, bar, state);
    return own ? own->pos : previous(window, bar);
}

int WINAPI SetScrollPosVia(SetScrollPosFn previous, HWND window, int bar, int pos, BOOL redraw) {
    ScrollbarState* state;
    BarState* own = OwnBar(window, bar, state);
    if (!own) return previous(window, bar, pos, redraw);
    int old = own->pos;
    SCROLLINFO info = ScrollInfoFor(SIF_POS);
    info.nPos = pos;
    StoreInfo(window, *state, bar, info, redraw);
    return old;
}

BOOL WINAPI GetScrollRangeVia(GetScrollRangeFn previous, HWND window, int bar, LPINT min, LPINT max) {
    ScrollbarState* state;
    BarState* own = OwnBar(window, bar, state);
    if (!own) return previous(window, bar, min, max);
    if (min) *min = own->min;
    if (max) *max = own->max;
    return TRUE;
}

BOOL WINAPI SetScrollRangeVia(SetScrollRangeFn previous, HWND window, int bar, int min, int max, BOOL redraw) {
    ScrollbarState* state;
    BarState* own = OwnBar(window, bar, state);
    if (!own) return previous(window, bar, min, max, redraw);
    SCROLLINFO info = ScrollInfoFor(SIF_RANGE);
    info.nMin = min;
    info.nMax = max;
    StoreInfo(window, *state, bar, info, redraw);
    return TRUE;
}

BOOL WINAPI ShowScrollBarVia(ShowScrollBarFn previous, HWND window, int bar, BOOL show) {
    ScrollbarState* state = StateOf(window);
    if (!state || (bar != SB_HORZ && bar != SB_VERT && bar != SB_BOTH)) return previous(window, bar, show);
    for (int which : {SB_HORZ, SB_VERT})
        if (bar == SB_BOTH || bar == which) ShowBar(window, *state, which, show != FALSE);
    return TRUE;
}

BOOL WINAPI EnableScrollBarVia(EnableScrollBarFn previous, HWND window, UINT bar, UINT arrows) {
    ScrollbarState* state = StateOf(window);
    if (!state || (bar != SB_HORZ && bar != SB_VERT && bar != SB_BOTH)) return previous(window, bar, arrows);
    bool changed = false;
    for (int which : {SB_HORZ, SB_VERT}) {
        if (bar != SB_BOTH && static_cast<int>(bar) != which) continue;
        UINT& flags = state->bars[which].flags;
        UINT wanted = (flags & ~(kLeftUpDisabled | kRightDownDisabled)) | (arrows & ESB_DISABLE_BOTH);
        changed |= wanted != flags;
        flags = wanted;
    }
    if (changed) PaintBarsIfVisible(window, *state);
    return changed ? TRUE : FALSE;
}

// Called from this module, the functions fall back on the platform's own.
BOOL WINAPI GetScrollInfo(HWND window, int bar, LPSCROLLINFO info) {
    return GetScrollInfoVia(&::GetScrollInfo, window, bar, info);
}
int WINAPI SetScrollInfo(HWND window, int bar, LPCSCROLLINFO info, BOOL redraw) {
    return SetScrollInfoVia(&::SetScrollInfo, window, bar, info, redraw);
}
int WINAPI GetScrollPos(HWND window, int bar) { return GetScrollPosVia(&::GetScrollPos, window, bar); }
int WINAPI SetScrollPos(HWND window, int bar, int pos, BOOL redraw) {
    return SetScrollPosVia(&::SetScrollPos, window, bar, pos, redraw);
}
BOOL WINAPI GetScrollRange(HWND window, int bar, LPINT min, LPINT max) {
    return GetScrollRangeVia(&::GetScrollRange, window, bar, min, max);
}
BOOL WINAPI SetScrollRange(HWND window, int bar, int min, int max, BOOL redraw) {
    return SetScrollRangeVia(&::SetScrollRange, window, bar, min, max, redraw);
}
BOOL WINAPI ShowScrollBar(HWND window, int bar, BOOL show) { return ShowScrollBarVia(&::ShowScrollBar, window, bar, show); }
BOOL WINAPI EnableScrollBar(HWND window, UINT bar, UINT arrows) {
    return EnableScrollBarVia(&::EnableScrollBar, window, bar, arrows);
}

}  // namespace skinbars
