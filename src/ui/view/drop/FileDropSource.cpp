// When a drag from the view ends.
#include "ui/view/drop/FileDropSource.h"

// A released button drops even when Escape came in the same moment: the user let go first.
HRESULT FileDropSource::QueryContinueDrag(BOOL escapePressed, DWORD keyState) {
    if (!(keyState & MK_LBUTTON)) return DRAGDROP_S_DROP;
    if (escapePressed) return DRAGDROP_S_CANCEL;
    return S_OK;
}
