// Bar geometry: the arrows keep their length until the bar is too short for them, the thumb's
// length follows the page's share of the range (never below the bar's minimum), and its place
// follows the position, as with the platform's bars.
#include "ui/skin/ScrollbarGeometry.h"

#include <algorithm>

namespace skinbars {

namespace {

// Below this much track between the arrows the bar shows arrows only.
constexpr int kMinTrack = 4;

bool IsVertical(int which) { return which == SB_VERT; }

int ThumbSizeFor(const BarState& bar, int pixels, int thickness) {
    if (!bar.page) return thickness;
    int span = bar.max - bar.min + 1;
    int size = span > 0 ? MulDiv(pixels, static_cast<int>(bar.page), span) : pixels;
    return std::max(size, bar.minThumb);
}

// The window's client area in window coordinates.
RECT ClientInWindow(HWND window) {
    RECT frame, client;
    GetWindowRect(window, &frame);
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    int left = origin.x - frame.left, top = origin.y - frame.top;
    return RECT{left, top, left + client.right, top + client.bottom};
}

}  // namespace

int ResolveSize(int stored, int system) { return stored > 0 ? stored : -stored * system; }

int ThicknessOf(const BarState& bar, int which) {
    return ResolveSize(bar.width, GetSystemMetrics(IsVertical(which) ? SM_CXVSCROLL : SM_CYHSCROLL));
}

int ArrowLengthOf(const BarState& bar, int which) {
    return ResolveSize(bar.arrowLength, GetSystemMetrics(IsVertical(which) ? SM_CYVSCROLL : SM_CXHSCROLL));
}

int TopPosition(const BarState& bar) { return bar.max - std::max(static_cast<int>(bar.page) - 1, 0); }

bool IsScrollable(const BarState& bar) { return bar.min < TopPosition(bar); }

BarLayout LayoutBar(const BarState& bar, int length, int arrow, int thickness) {
    BarLayout layout;
    layout.length = std::max(length, 0);
    layout.arrow = arrow;
    if (layout.length <= 2 * arrow + kMinTrack) {
        layout.arrow = layout.length > kMinTrack ? (layout.length - kMinTrack) / 2 : 0;
        return layout;
    }
    int pixels = layout.length - 2 * arrow;
    int size = ThumbSizeFor(bar, pixels, thickness);
    pixels -= size;
    bool disabled = (bar.flags & (kLeftUpDisabled | kRightDownDisabled)) == (kLeftUpDisabled | kRightDownDisabled);
    if (pixels < 0 || disabled) return layout;
    layout.thumbSize = size;
    int top = TopPosition(bar);
    layout.thumbPos = arrow + (bar.min >= top ? 0 : MulDiv(pixels, bar.pos - bar.min, top - bar.min));
    return layout;
}

int ThumbValue(const BarState& bar, const BarLayout& layout, int thumbStart, int thickness) {
    int pixels = layout.length - 2 * layout.arrow;
    if (pixels <= 0) return bar.min;
    pixels -= ThumbSizeFor(bar, pixels, thickness);
    if (pixels <= 0) return bar.min;
    int offset = std::clamp(thumbStart - layout.arrow, 0, pixels);
    int span = bar.page ? bar.max - bar.min - static_cast<int>(bar.page) + 1 : bar.max - bar.min;
    return bar.min + MulDiv(offset, span, pixels);
}

int PartAt(const BarLayout& layout, int offset) {
    if (offset < 0 || offset >= layout.length) return kNoPart;
    if (offset < layout.arrow) return kPartLineUp;
    if (offset >= layout.length - layout.arrow) return kPartLineDown;
    if (!layout.thumbSize || offset < layout.thumbPos) return kPartPageUp;
    if (offset < layout.thumbPos + layout.thumbSize) return kPartThumb;
    return kPartPageDown;
}

void PartSpan(const BarLayout& layout, int part, int& first, int& last) {
    int trackEnd = layout.length - layout.arrow;
    int thumbEnd = layout.thumbPos + layout.thumbSize;
    first = last = 0;
    switch (part) {
        case kPartLineUp: last = layout.arrow; break;
        case kPartLineDown: first = trackEnd; last = layout.length; break;
        case kPartPageUp: first = layout.arrow; last = layout.thumbSize ? layout.thumbPos : trackEnd; break;
        case kPartThumb: if (layout.thumbSize) { first = layout.thumbPos; last = thumbEnd; } break;
        case kPartPageDown: if (layout.thumbSize) { first = thumbEnd; last = trackEnd; } break;
        default: break;
    }
}

bool BarRect(HWND window, const ScrollbarState& state, int which, RECT& rect) {
    const BarState& bar = state.bars[which];
    if (!(bar.flags & kBarShown)) return false;
    RECT client = ClientInWindow(window);
    if (IsVertical(which)) {
        int width = ThicknessOf(bar, which);
        int left = state.leftScrollbar ? client.left - width : client.right;
        rect = RECT{left, client.top, left + width, client.bottom};
    } else {
        rect = RECT{client.left, client.bottom, client.right, client.bottom + ThicknessOf(bar, which)};
    }
    return true;
}

bool SizeBoxRect(HWND window, const ScrollbarState& state, RECT& rect) {
    RECT vertical, horizontal;
    if (!BarRect(window, state, SB_VERT, vertical) || !BarRect(window, state, SB_HORZ, horizontal)) return false;
    rect = RECT{vertical.left, horizontal.top, vertical.right, horizontal.bottom};
    return true;
}

RECT PartRect(const RECT& barRect, int which, const BarLayout& layout, int part) {
    int first, last;
    PartSpan(layout, part, first, last);
    if (IsVertical(which)) return RECT{barRect.left, barRect.top + first, barRect.right, barRect.top + last};
    return RECT{barRect.left + first, barRect.top, barRect.left + last, barRect.bottom};
}

BarLayout LayoutOf(HWND window, const ScrollbarState& state, int which, RECT& barRect) {
    if (!BarRect(window, state, which, barRect)) return BarLayout{};
    // A dragged thumb is drawn where the pointer holds it, ahead of the window's answer.
    BarState bar = state.bars[which];
    if (state.tracking == Tracking::kThumb && state.trackBar == which) bar.pos = bar.trackPos;
    int length = IsVertical(which) ? barRect.bottom - barRect.top : barRect.right - barRect.left;
    return LayoutBar(bar, length, ArrowLengthOf(bar, which), ThicknessOf(bar, which));
}

POINT ScreenToWindow(HWND window, POINT screen) {
    RECT frame;
    GetWindowRect(window, &frame);
    return POINT{screen.x - frame.left, screen.y - frame.top};
}

}  // namespace skinbars
