// The per-window state of the skinned scrollbars: what each bar shows and where it stands,
// kept in a zero-filled heap block that the window carries as a property.
#pragma once

#include <windows.h>

namespace skinbars {

// The property is the block's only link to its window, so the name must not change.
constexpr wchar_t kStateProperty[] = L"CV2 CoolSBSubclassPtr";

enum BarFlags : UINT {
    kLeftUpDisabled = 1,     // the up or left arrow refuses presses
    kRightDownDisabled = 2,  // the down or right arrow refuses presses
    kThumbAlways = 4,        // presses act even when the range is empty
    kBarShown = 8,
};

enum BarId : int { kHorizontal = SB_HORZ, kVertical = SB_VERT, kBothBars = SB_BOTH };

// What a press started, and so what the mouse and the timer act on.
enum class Tracking { kNone, kPart, kThumb };

struct BarState {
    UINT flags;
    int min;
    int max;
    UINT page;
    int pos;
    int trackPos;
    int arrowLength;  // -1: the system's size; -n: n times the system's size
    int width;        // the same units
    int minThumb;     // the smallest thumb the bar draws, in pixels
};

struct ScrollbarState {
    WNDPROC previousProc;
    BarState bars[2];  // indexed by SB_HORZ, SB_VERT
    bool leftScrollbar;
    // Set while the scroll styles are taken off for the window's own procedure, so that the
    // control does not hear of the short change.
    bool stylesHidden;
    // The mouse: the pressed bar and part, whether the pointer is over it, and the part
    // under the pointer for hot drawing (-1 none).
    Tracking tracking;
    int trackBar;
    int trackPart;
    bool pressedShown;
    int hotBar;
    int hotPart;
    bool leaveRequested;
    // Thumb dragging: where the pointer held the thumb, and the thumb's start.
    int thumbGrip;
    int thumbStartPos;
};

ScrollbarState* StateOf(HWND window);

}  // namespace skinbars
