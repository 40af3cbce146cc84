// The dialog's brush slot: one live brush at a time, however often the controls ask.
#include "ui/skin/SkinBrushSlot.h"

HBRUSH SkinBrushSlot::Replace(COLORREF color) {
    // A control uses the brush it was given only while it paints, so the previous one is no
    // longer in use when the next request comes; keeping them all would leak one per paint.
    brush_.Reset();
    brush_.Reset(CreateSolidBrush(color));
    return brush_.get();
}
