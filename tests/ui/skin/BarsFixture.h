// Windows for the skinned-bar tests: a top-level owner that answers the bars' drawing
// requests with the skin painter (or not at all), owner-data report lists of many rows, a
// skin bitmap with a colour of its own in every piece the painter reads, and message pumping.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "host/SkinColors.h"
#include "ui/skin/ScrollbarDrawRequest.h"
#include "ui/skin/SkinScrollbarPainter.h"

namespace bars_test {

// The owner's answers: the painter's when set, else nothing (the bars draw themselves).
struct OwnerState {
    const SkinScrollbarPainter* painter = nullptr;
    int drawRequests = 0;
    std::vector<skinbars::DrawRequest> lastRequests;
};

HWND CreateOwner(OwnerState& state, int x, int y, int width, int height);
HWND CreateRowList(HWND owner, int id, int x, int y, int width, int height, int rows);
HWND CreateTree(HWND owner, int id, int x, int y, int width, int height, int items);
void Pump(DWORD ms = 0);
int TopRow(HWND list);

// Colour of each piece of the test skin.
COLORREF PieceColour(int bar, bool pressed, int piece);  // piece: 0 up, 1 down, 2-6 thumb slices
// Colour strip entries 13-17 of the test skin.
COLORREF EntryColour(int index);
HBITMAP MakeTestSkin();

COLORREF PixelOf(HWND window, int x, int y);  // window coordinates

}  // namespace bars_test
