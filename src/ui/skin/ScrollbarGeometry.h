// Where the parts of a skinned scrollbar lie: along a bar (arrows, track, thumb, as the
// platform's own bars place them) and in the window (the bars beside the client area).
#pragma once

#include <windows.h>

#include "ui/skin/ScrollbarState.h"

namespace skinbars {

enum BarPart : int {
    kNoPart = -1,
    kPartLineUp = 0,    // up or left arrow
    kPartLineDown = 1,  // down or right arrow
    kPartPageUp = 2,    // track before the thumb
    kPartPageDown = 3,  // track after the thumb
    kPartThumb = 5,
};

// Offsets along one bar, from its top or left end.
struct BarLayout {
    int length = 0;
    int arrow = 0;
    int thumbPos = 0;   // from the bar's start; meaningless when thumbSize is 0
    int thumbSize = 0;  // 0: no thumb (too short, or both arrows disabled)
};

// Pixels for a stored size: positive as is, -n as n times the system's size.
int ResolveSize(int stored, int system);
int ThicknessOf(const BarState& bar, int which);
int ArrowLengthOf(const BarState& bar, int which);

BarLayout LayoutBar(const BarState& bar, int length, int arrow, int thickness);
// The position a thumb whose start lies at this offset stands for.
int ThumbValue(const BarState& bar, const BarLayout& layout, int thumbStart, int thickness);
int PartAt(const BarLayout& layout, int offset);
// The part's span [first, last) along the bar; empty when the part is not there.
void PartSpan(const BarLayout& layout, int part, int& first, int& last);

// Largest value the position may take: the platform keeps a page's worth before the end.
int TopPosition(const BarState& bar);
bool IsScrollable(const BarState& bar);

// Rectangles in window coordinates (origin at the window's top-left corner). False when the
// bar is not shown.
bool BarRect(HWND window, const ScrollbarState& state, int which, RECT& rect);
bool SizeBoxRect(HWND window, const ScrollbarState& state, RECT& rect);
RECT PartRect(const RECT& barRect, int which, const BarLayout& layout, int part);
// The bar's layout for the window as it is now.
BarLayout LayoutOf(HWND window, const ScrollbarState& state, int which, RECT& barRect);
// A point in window coordinates from one on the screen.
POINT ScreenToWindow(HWND window, POINT screen);

}  // namespace skinbars
