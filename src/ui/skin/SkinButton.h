// Owner-drawn push buttons in the host's skin: nine pieces of the skin bitmap, the caption,
// and a dotted focus frame.
#pragma once

#include <windows.h>

class SkinColors;

// Paints the button an owner-draw request describes from the skin's bitmap, its caption in the
// text colour unless that would not read on the button's face. Without a skin bitmap only the
// caption is drawn.
void DrawSkinButton(const DRAWITEMSTRUCT& item, const SkinColors& colors, COLORREF textColor);
