// The effect choice and the edge scrolling of drops on the view.
#include "ui/view/drop/DropEffect.h"

#include <ole2.h>

DWORD ChooseDropEffect(DWORD keyState, DWORD allowed) {
    if ((keyState & MK_CONTROL) && (allowed & DROPEFFECT_COPY)) return DROPEFFECT_COPY;
    if ((keyState & MK_SHIFT) && (allowed & DROPEFFECT_MOVE)) return DROPEFFECT_MOVE;
    if (allowed & DROPEFFECT_COPY) return DROPEFFECT_COPY;
    if (allowed & DROPEFFECT_MOVE) return DROPEFFECT_MOVE;
    return DROPEFFECT_NONE;
}

int EdgeScrollStep(int y, int top, int bottom) {
    if (y < top || y >= bottom) return 0;
    if (y < top + kEdgeScrollZone) return -1;
    if (y >= bottom - kEdgeScrollZone) return 1;
    return 0;
}
