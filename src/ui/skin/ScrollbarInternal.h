// What the parts of the skinned scrollbars share among themselves: the subclass procedure,
// its mouse and paint handlers, and the changes of style and frame the bars make.
#pragma once

#include <windows.h>

#include "ui/skin/ScrollbarState.h"

namespace skinbars {

LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wp, LPARAM lp);
LRESULT CallPrevious(HWND window, ScrollbarState& state, UINT message, WPARAM wp, LPARAM lp);

inline SCROLLINFO ScrollInfoFor(UINT mask) {
    SCROLLINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = mask;
    return info;
}

// Takes the bars off without touching the frame: for a window that is going away.
void ForgetWindow(HWND window);

// Makes the window compute its frame again, so the bars take or give back their room.
void RecalcFrame(HWND window);
// Shows or hides one bar: its flag, the window's scroll style and the frame.
void ShowBar(HWND window, ScrollbarState& state, int which, bool show);
// Sets or clears style bits without the window's procedure hearing of it, as the platform's
// own bars change them.
void ChangeStyleQuietly(HWND window, ScrollbarState& state, DWORD bits, bool set);

// Paints the shown bars (and the size box) now, through the owner's drawing requests.
void PaintBars(HWND window, ScrollbarState& state);
void PaintBarsIfVisible(HWND window, ScrollbarState& state);

// Mouse handling (ScrollbarMouse.cpp). Each answers whether it took the message.
bool OnNcButtonDown(HWND window, ScrollbarState& state, WPARAM hit, POINT screen);
bool OnTrackingMouse(HWND window, ScrollbarState& state, UINT message, LPARAM lp, LRESULT& result);
bool OnTimer(HWND window, ScrollbarState& state, WPARAM id);
void OnNcMouseMove(HWND window, ScrollbarState& state, POINT screen);
void OnNcMouseLeave(HWND window, ScrollbarState& state);
void EndTracking(HWND window, ScrollbarState& state, bool notify);
// The bar and part under a point on the screen; false when on neither bar.
bool HitPart(HWND window, const ScrollbarState& state, POINT screen, int& which, int& part);

}  // namespace skinbars
