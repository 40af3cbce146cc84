// The effect choice and the edge scrolling of drops on the view.
#include "ui/view/drop/DropEffect.h"

#include <ole2.h>

// Move is never answered, whatever the keys: the view only refers to the dropped files, and a
// source told "moved" deletes its originals (the file manager does, for a Shift-drag).
DWORD ChooseDropEffect(DWORD, DWORD allowed) {
    if (allowed & DROPEFFECT_COPY) return DROPEFFECT_COPY;
    if (allowed & DROPEFFECT_LINK) return DROPEFFECT_LINK;
    return DROPEFFECT_NONE;
}

int EdgeScrollStep(int y, int top, int bottom) {
    if (y < top || y >= bottom) return 0;
    if (y < top + kEdgeScrollZone) return -1;
    if (y >= bottom - kEdgeScrollZone) return 1;
    return 0;
}
