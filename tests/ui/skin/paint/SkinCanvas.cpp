// The skin painting tests' canvas and test skin.
#include "SkinCanvas.h"

#include <algorithm>

namespace {

constexpr int kSkinWidth = 120, kSkinHeight = 60;
constexpr COLORREF kUnsetEntry = RGB(255, 0, 255);

struct Band {
    int start, length;
};
constexpr Band kColumns[] = {{0, 4}, {4, 39}, {43, 4}};
constexpr Band kRows[] = {{0, 4}, {4, 7}, {11, 4}};

void Fill(HDC dc, int x, int y, int width, int height, COLORREF color) {
    UniqueBrush brush(CreateSolidBrush(color));
    RECT r = {x, y, x + width, y + height};
    FillRect(dc, &r, brush.get());
}

}  // namespace

SkinCanvas::SkinCanvas(int width, int height, COLORREF fill)
    : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr)) {
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    bitmap_ = UniqueBitmap(
        CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0));
    original_ = SelectObject(dc_.get(), bitmap_.get());
    Fill(dc_.get(), 0, 0, width, height, fill);
}

COLORREF SkinCanvas::At(int x, int y) const {
    GdiFlush();
    DWORD v = bits_[y * width_ + x];
    return RGB(v >> 16, (v >> 8) & 0xFF, v & 0xFF);
}

RECT SkinCanvas::BoundsOf(COLORREF color) const {
    RECT bounds = {width_, height_, 0, 0};
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            if (At(x, y) == color) {
                bounds.left = std::min<LONG>(bounds.left, x);
                bounds.top = std::min<LONG>(bounds.top, y);
                bounds.right = std::max<LONG>(bounds.right, x + 1);
                bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
            }
    if (bounds.right == 0) return RECT{};
    return bounds;
}

int SkinCanvas::Count(COLORREF color) const {
    int n = 0;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) n += At(x, y) == color;
    return n;
}

COLORREF PieceColor(ButtonPiece piece, bool pressed) {
    int i = static_cast<int>(piece) + 1;
    return pressed ? RGB(0x10 * i, 0x40, 0xC0) : RGB(0x10 * i, 0x90, 0x40);
}

UniqueBitmap MakeTestSkin(COLORREF controlBackground) {
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), kSkinWidth, -kSkinHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    UniqueBitmap skin(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    SelectGuard select(dc.get(), skin.get());
    Fill(dc.get(), 0, 0, kSkinWidth, kSkinHeight, kUnsetEntry);
    for (int pressed = 0; pressed < 2; ++pressed)
        for (int row = 0; row < 3; ++row)
            for (int column = 0; column < 3; ++column)
                Fill(dc.get(), kColumns[column].start, 15 * pressed + kRows[row].start, kColumns[column].length,
                     kRows[row].length, PieceColor(static_cast<ButtonPiece>(3 * row + column), pressed != 0));
    const COLORREF entries[] = {controlBackground, kTestControlText, kTestDialogBackground,
                                kTestButtonText,        kTestStaticText,  kTestBorderLine};
    for (int i = 0; i < 6; ++i) SetPixel(dc.get(), 48 + 2 * i, 0, entries[i]);
    return skin;
}
