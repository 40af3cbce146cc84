// What the skin painting tests draw on and draw from: an off-screen 32-bit canvas whose pixels
// can be read back, and a skin bitmap whose every button piece has a colour of its own.
#pragma once

#include <windows.h>

#include "base/Gdi.h"

class SkinCanvas {
public:
    SkinCanvas(int width, int height, COLORREF fill);
    ~SkinCanvas() { SelectObject(dc_.get(), original_); }
    SkinCanvas(const SkinCanvas&) = delete;
    SkinCanvas& operator=(const SkinCanvas&) = delete;
    HDC dc() const { return dc_.get(); }
    COLORREF At(int x, int y) const;
    // The smallest rectangle holding every pixel of this colour; empty when there is none.
    RECT BoundsOf(COLORREF color) const;
    int Count(COLORREF color) const;

private:
    int width_, height_;
    UniqueMemoryDc dc_;
    UniqueBitmap bitmap_;
    DWORD* bits_ = nullptr;
    HGDIOBJ original_ = nullptr;
};

// The button pieces in reading order: top-left, top, top-right, left, centre, right,
// bottom-left, bottom, bottom-right.
enum ButtonPiece : int { kTopLeft, kTop, kTopRight, kLeft, kCentre, kRight, kBottomLeft, kBottom, kBottomRight };
COLORREF PieceColor(ButtonPiece piece, bool pressed);

// Skin colour entries the test bitmap sets in its colour strip.
constexpr COLORREF kTestControlBackground = RGB(250, 240, 230);  // entry 0
constexpr COLORREF kTestControlText = RGB(10, 20, 30);           // entry 1
constexpr COLORREF kTestDialogBackground = RGB(200, 210, 220);   // entry 2
constexpr COLORREF kTestButtonText = RGB(255, 255, 0);           // entry 3
constexpr COLORREF kTestStaticText = RGB(0, 90, 0);              // entry 4
constexpr COLORREF kTestBorderLine = RGB(200, 0, 0);             // entry 5

// A 120 x 60 skin bitmap: the colour strip above (with another entry 0 when asked, to tell two
// skins apart) and the pieces of PieceColor.
UniqueBitmap MakeTestSkin(COLORREF controlBackground = kTestControlBackground);
