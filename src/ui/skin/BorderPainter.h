// The thin skin-coloured lines the view's dialog draws along the outside of some of its
// controls, painted together with the dialog's free area.
#pragma once

#include <windows.h>

class SkinColors;

enum BorderKind : WORD {
    kBorderBottomRight = 1,  // along the bottom and up the right of the control
    kBorderCentreLine = 2,   // one line through the middle, along the longer side
};

// An entry names a control of the dialog and the kind of line it gets.
constexpr DWORD BorderEntry(BorderKind kind, int controlId) {
    return (static_cast<DWORD>(kind) << 16) | static_cast<WORD>(controlId);
}

// Paints the lines of the entries, in order, during the dialog's WM_PAINT (it begins and ends
// the paint itself); when the paint must erase, the rest of the area gets the dialog colour.
void PaintBorders(HWND dialog, const SkinColors& colors, const DWORD* entries, int count);
