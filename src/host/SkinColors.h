// The colours the view takes from the host's skin: read from a strip of pixels in the skin's
// colour bitmap, with fixed replacements for pixels the skin leaves unset, and the choice of a
// text colour that stays readable where the skin's own would not be.
#pragma once

#include <windows.h>

#include <array>

#include "base/Gdi.h"

class SkinColors {
public:
    static constexpr int kCount = 22;
    // Entry 0 is the background of the list and the tree, entry 1 the list's text colour.
    static constexpr int kBackground = 0;
    static constexpr int kText = 1;

    // Asks the host for its colour bitmap; without one the previous colours stay.
    bool Read(HWND host);
    // Reads the colours from a bitmap, which this object keeps.
    bool ReadFrom(UniqueBitmap bitmap);
    // 0 (black) for an index outside the table, and for every entry before the first read.
    COLORREF Get(int index) const;
    HBITMAP Bitmap() const { return bitmap_.get(); }

    // The contrast a text needs on its background: 3:1, or the ratio of the skin's own list
    // text on its list background where the skin is fainter than that.
    double ReadableContrast() const;
    // The preferred colour when it reads on the background; otherwise the first of the skin's
    // text colours, then its two background colours, that does; otherwise black or white.
    COLORREF ReadableOn(COLORREF background, COLORREF preferred) const;

private:
    std::array<COLORREF, kCount> colors_{};
    UniqueBitmap bitmap_;
};

// The mean of two colours as the skin mixes them: each channel halved, then added.
COLORREF HalfSum(COLORREF first, COLORREF second);
// The contrast ratio of two colours by their relative luminance, as accessibility guidelines
// measure it: 1 for the same lightness, 21 for black on white.
double ContrastRatio(COLORREF first, COLORREF second);
