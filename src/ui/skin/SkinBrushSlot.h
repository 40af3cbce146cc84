// The one brush the view's dialog hands out for its controls' backgrounds: each new colour
// request replaces it, and the last one goes when its owner does.
#pragma once

#include <windows.h>

#include "base/Gdi.h"

class SkinBrushSlot {
public:
    // Deletes the brush handed out before, then makes and keeps one of this colour.
    HBRUSH Replace(COLORREF color);
    HBRUSH Current() const { return brush_.get(); }

private:
    UniqueBrush brush_;
};
