// Painting a push button from the skin bitmap's button pieces: corners copied as they are,
// edges and centre stretched to the button's size.
#include "ui/skin/SkinButton.h"

#include <array>

#include "base/Gdi.h"
#include "host/SkinColors.h"
#include "ui/skin/DottedLine.h"

namespace {

// The pieces fill the skin bitmap's top-left 47 x 30 pixels: a normal button in rows 0-14
// and a pressed one in rows 15-29, each cut into bands of 4, 7 and 4 rows and columns of 4,
// 39 and 4 pixels.
constexpr int kEdge = 4;
constexpr int kMiddleWidth = 39;
constexpr int kMiddleHeight = 7;
constexpr int kRightColumn = kEdge + kMiddleWidth;
constexpr int kPressedFirstRow = 15;
// A pressed caption moves this far right and down, so the button looks pushed in.
constexpr int kPressedShift = 2;
// The focus frame runs this far inside the button's edge.
constexpr int kFocusInset = 2;
constexpr int kMaxCaption = 512;

struct Piece {
    int sourceX, sourceY, sourceWidth, sourceHeight;
    int x, y, width, height;
};

std::array<Piece, 9> PiecesOf(const RECT& r, bool pressed) {
    const int top = pressed ? kPressedFirstRow : 0;
    const int middle = top + kEdge;
    const int bottom = middle + kMiddleHeight;
    const int innerWidth = r.right - r.left - 2 * kEdge;
    const int innerHeight = r.bottom - r.top - 2 * kEdge;
    const int right = r.right - kEdge;
    const int lower = r.bottom - kEdge;
    return {{
        {0, top, kEdge, kEdge, r.left, r.top, kEdge, kEdge},
        {kRightColumn, top, kEdge, kEdge, right, r.top, kEdge, kEdge},
        {0, bottom, kEdge, kEdge, r.left, lower, kEdge, kEdge},
        {kRightColumn, bottom, kEdge, kEdge, right, lower, kEdge, kEdge},
        {kEdge, top, kMiddleWidth, kEdge, r.left + kEdge, r.top, innerWidth, kEdge},
        {kEdge, bottom, kMiddleWidth, kEdge, r.left + kEdge, lower, innerWidth, kEdge},
        {0, middle, kEdge, kMiddleHeight, r.left, r.top + kEdge, kEdge, innerHeight},
        {kRightColumn, middle, kEdge, kMiddleHeight, right, r.top + kEdge, kEdge, innerHeight},
        {kEdge, middle, kMiddleWidth, kMiddleHeight, r.left + kEdge, r.top + kEdge, innerWidth, innerHeight},
    }};
}

void CopyPieces(HDC dc, HBITMAP skin, const RECT& r, bool pressed) {
    UniqueMemoryDc source(CreateCompatibleDC(dc));
    if (!source) return;
    SelectGuard select(source.get(), skin);
    SetStretchBltMode(dc, COLORONCOLOR);
    for (const Piece& p : PiecesOf(r, pressed))
        StretchBlt(dc, p.x, p.y, p.width, p.height, source.get(), p.sourceX, p.sourceY, p.sourceWidth,
                   p.sourceHeight, SRCCOPY);
}

// The face a caption sits on: the mean of the centre piece, which is stretched under it.
COLORREF FaceColor(HDC dc, HBITMAP skin, bool pressed) {
    UniqueMemoryDc source(CreateCompatibleDC(dc));
    if (!source) return CLR_INVALID;
    SelectGuard select(source.get(), skin);
    const int top = (pressed ? kPressedFirstRow : 0) + kEdge;
    unsigned red = 0, green = 0, blue = 0, count = 0;
    for (int y = top; y < top + kMiddleHeight; ++y) {
        for (int x = kEdge; x < kRightColumn; ++x) {
            COLORREF c = GetPixel(source.get(), x, y);
            if (c == CLR_INVALID) continue;
            red += GetRValue(c), green += GetGValue(c), blue += GetBValue(c), ++count;
        }
    }
    if (count == 0) return CLR_INVALID;
    return RGB(red / count, green / count, blue / count);
}

void DrawCaption(HDC dc, HWND button, RECT area, bool pressed, COLORREF color) {
    wchar_t caption[kMaxCaption + 1] = {};
    GetWindowTextW(button, caption, kMaxCaption + 1);
    // The whole area moves: moving only its left and top edges would shift a centred
    // caption by half as much, and the press would hardly show.
    if (pressed) OffsetRect(&area, kPressedShift, kPressedShift);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, color);
    DrawTextW(dc, caption, -1, &area, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}

void DrawFocusFrame(HDC dc, const RECT& r) {
    UniquePen pen(CreatePen(PS_SOLID, 0, RGB(0, 0, 0)));
    if (!pen) return;
    SelectGuard select(dc, pen.get());
    const int left = r.left + kFocusInset, top = r.top + kFocusInset;
    const int width = r.right - r.left - 3, height = r.bottom - r.top - 3;
    DottedLine(dc, left, top, width, false);
    DottedLine(dc, r.right - 3, top, height, true);
    DottedLine(dc, left, top, height, true);
    DottedLine(dc, left, r.bottom - 3, width, false);
}

}  // namespace

void DrawSkinButton(const DRAWITEMSTRUCT& item, const SkinColors& colors, COLORREF textColor) {
    HDC dc = item.hDC;
    if (!dc) return;
    SavedDcState keep(dc);
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    if (HBITMAP skin = colors.Bitmap()) {
        CopyPieces(dc, skin, item.rcItem, pressed);
        COLORREF face = FaceColor(dc, skin, pressed);
        if (face != CLR_INVALID) textColor = colors.ReadableOn(face, textColor);
    }
    DrawCaption(dc, item.hwndItem, item.rcItem, pressed, textColor);
    if (item.itemState & ODS_FOCUS) DrawFocusFrame(dc, item.rcItem);
}
