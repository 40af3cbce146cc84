// Painting the border lines of the view's dialog and the free area around them.
#include "ui/skin/BorderPainter.h"

#include "base/Gdi.h"
#include "base/PaintScope.h"
#include "host/SkinColors.h"
#include "ui/skin/DialogColorIndex.h"

namespace {

// Takes a strip the line covers out of the area still to be filled, so the fill does not
// paint over the line.
void KeepStrip(HRGN erase, int left, int top, int right, int bottom) {
    if (!erase) return;
    UniqueRegion strip(CreateRectRgn(left, top, right, bottom));
    if (strip) CombineRgn(erase, erase, strip.get(), RGN_DIFF);
}

// Along the outside of the bottom edge and up the outside of the right edge, corner included.
void DrawBottomRight(HDC dc, const RECT& c, HRGN erase) {
    MoveToEx(dc, c.left, c.bottom, nullptr);
    LineTo(dc, c.right, c.bottom);
    LineTo(dc, c.right, c.top - 1);
    KeepStrip(erase, c.left, c.bottom, c.right, c.bottom + 1);
    // The column runs down to the corner pixel the bottom line stops short of; left out, the
    // fill would leave a notch there.
    KeepStrip(erase, c.right, c.top, c.right + 1, c.bottom + 1);
}

void DrawCentreLine(HDC dc, const RECT& c, HRGN erase) {
    if (c.right - c.left < c.bottom - c.top) {
        int x = (c.left + c.right) / 2;
        MoveToEx(dc, x, c.top, nullptr);
        LineTo(dc, x, c.bottom + 1);
        KeepStrip(erase, x, c.top, x + 1, c.bottom + 1);
    } else {
        int y = (c.top + c.bottom) / 2;
        MoveToEx(dc, c.left, y, nullptr);
        LineTo(dc, c.right + 1, y);
        KeepStrip(erase, c.left, y, c.right + 1, y + 1);
    }
}

// The control's rectangle in the dialog's client coordinates; false for a missing control.
bool ControlRect(HWND dialog, HWND control, RECT& rect) {
    if (!control || !GetWindowRect(control, &rect)) return false;
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return true;
}

// The lines lie one pixel outside the control, so a paint of just that pixel row or column
// must count as meeting it.
bool MeetsPaintArea(const RECT& control, const RECT& area) {
    RECT withLines = {control.left, control.top, control.right + 1, control.bottom + 1};
    RECT common;
    return IntersectRect(&common, &withLines, &area) != FALSE;
}

void DrawEntry(HDC dc, HWND dialog, DWORD entry, const RECT& area, HRGN erase) {
    HWND control = GetDlgItem(dialog, LOWORD(entry));
    RECT rect;
    if (!ControlRect(dialog, control, rect) || !MeetsPaintArea(rect, area)) return;
    switch (HIWORD(entry)) {
        case kBorderBottomRight:
            // A hidden pane keeps its last rectangle; an outline there would stand in empty space.
            if (IsWindowVisible(control)) DrawBottomRight(dc, rect, erase);
            break;
        // A centre line is drawn where its control is, shown or not: a hidden control may
        // serve only to place the line.
        case kBorderCentreLine: DrawCentreLine(dc, rect, erase); break;
        default: break;
    }
}

}  // namespace

void PaintBorders(HWND dialog, const SkinColors& colors, const DWORD* entries, int count) {
    PaintScope paint(dialog);
    HDC dc = paint.Dc();
    if (!dc) return;
    UniqueRegion erase;
    if (paint.MustErase()) erase.Reset(CreateRectRgnIndirect(&paint.Area()));
    {
        UniquePen pen(CreatePen(PS_SOLID, 0, colors.Get(kSkinBorderLine)));
        SelectGuard select(dc, pen.get());
        for (int i = 0; i < count; ++i) DrawEntry(dc, dialog, entries[i], paint.Area(), erase.get());
    }
    if (!erase) return;
    UniqueBrush fill(CreateSolidBrush(colors.Get(kSkinDialogBackground)));
    if (fill) FillRgn(dc, erase.get(), fill.get());
}
