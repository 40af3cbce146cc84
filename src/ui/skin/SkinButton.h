// Owner-drawn push buttons in the host's skin: nine pieces of the skin bitmap, the caption,
// and a dotted focus frame.
#pragma once

#include <windows.h>

// Paints the button an owner-draw request describes. Without a skin bitmap only the caption
// is drawn.
void DrawSkinButton(const DRAWITEMSTRUCT& item, HBITMAP skin, COLORREF textColor);
