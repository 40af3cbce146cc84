// The skinned scrollbars' interface: attaching them to a window, their sizes, and the scroll
// functions the controls call. For an attached window those work on the bars' own state; for
// any other window they are the platform's functions unchanged.
#pragma once

#include <windows.h>

namespace skinbars {

// False when the window already has them.
bool Attach(HWND window);
// Also happens by itself when the window is destroyed.
bool Detach(HWND window);
bool IsAttached(HWND window);
// bar: SB_HORZ, SB_VERT or SB_BOTH. Refused for a size of 0, below -8 or above 256, and for a
// window without the bars. Sizes count pixels; -n means n times the system's size.
bool SetSize(HWND window, int bar, int arrowLength, int width);

// The same contracts as the platform's functions of these names; on a window without the bars
// they are the platform's.
BOOL WINAPI EnableScrollBar(HWND window, UINT bar, UINT arrows);
BOOL WINAPI GetScrollInfo(HWND window, int bar, LPSCROLLINFO info);
int WINAPI GetScrollPos(HWND window, int bar);
BOOL WINAPI GetScrollRange(HWND window, int bar, LPINT min, LPINT max);
int WINAPI SetScrollInfo(HWND window, int bar, LPCSCROLLINFO info, BOOL redraw);
int WINAPI SetScrollPos(HWND window, int bar, int pos, BOOL redraw);
BOOL WINAPI SetScrollRange(HWND window, int bar, int min, int max, BOOL redraw);
BOOL WINAPI ShowScrollBar(HWND window, int bar, BOOL show);

// The same, as the redirected imports reach them: on a window without the bars they call
// previous, what the import held before it was redirected.
using EnableScrollBarFn = BOOL(WINAPI*)(HWND, UINT, UINT);
using GetScrollInfoFn = BOOL(WINAPI*)(HWND, int, LPSCROLLINFO);
using GetScrollPosFn = int(WINAPI*)(HWND, int);
using GetScrollRangeFn = BOOL(WINAPI*)(HWND, int, LPINT, LPINT);
using SetScrollInfoFn = int(WINAPI*)(HWND, int, LPCSCROLLINFO, BOOL);
using SetScrollPosFn = int(WINAPI*)(HWND, int, int, BOOL);
using SetScrollRangeFn = BOOL(WINAPI*)(HWND, int, int, int, BOOL);
using ShowScrollBarFn = BOOL(WINAPI*)(HWND, int, BOOL);
BOOL WINAPI EnableScrollBarVia(EnableScrollBarFn previous, HWND window, UINT bar, UINT arrows);
BOOL WINAPI GetScrollInfoVia(GetScrollInfoFn previous, HWND window, int bar, LPSCROLLINFO info);
int WINAPI GetScrollPosVia(GetScrollPosFn previous, HWND window, int bar);
BOOL WINAPI GetScrollRangeVia(GetScrollRangeFn previous, HWND window, int bar, LPINT min, LPINT max);
int WINAPI SetScrollInfoVia(SetScrollInfoFn previous, HWND window, int bar, LPCSCROLLINFO info, BOOL redraw);
int WINAPI SetScrollPosVia(SetScrollPosFn previous, HWND window, int bar, int pos, BOOL redraw);
BOOL WINAPI SetScrollRangeVia(SetScrollRangeFn previous, HWND window, int bar, int min, int max, BOOL redraw);
BOOL WINAPI ShowScrollBarVia(ShowScrollBarFn previous, HWND window, int bar, BOOL show);

}  // namespace skinbars
