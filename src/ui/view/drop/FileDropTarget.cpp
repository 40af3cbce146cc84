// The drop target's shared half: the accepting flag, the effect and the guarded calls.
#include "ui/view/drop/FileDropTarget.h"

#include "ui/view/drop/DropEffect.h"
#include "ui/view/drop/DropFileList.h"

POINT FileDropTarget::ToClient(POINTL at) const {
    POINT point = {at.x, at.y};
    ScreenToClient(window_, &point);
    return point;
}

HRESULT FileDropTarget::DragEnter(IDataObject* data, DWORD keyState, POINTL, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    return GuardedCall([&] {
        accepting_ = window_ && data && OffersDropFileList(*data) && TakesFiles();
        *effect = accepting_ ? ChooseDropEffect(keyState, *effect) : DROPEFFECT_NONE;
        return S_OK;
    });
}

// The place decides whether a drop is taken there, the source what it may be told.
HRESULT FileDropTarget::DragOver(DWORD keyState, POINTL at, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    return GuardedCall([&] {
        bool here = accepting_ && window_ && OverEffect(ToClient(at)) != DROPEFFECT_NONE;
        *effect = here ? ChooseDropEffect(keyState, *effect) : DROPEFFECT_NONE;
        return S_OK;
    });
}

HRESULT FileDropTarget::DragLeave() {
    return GuardedCall([&] {
        accepting_ = false;
        if (window_) Leave();
        return S_OK;
    });
}

HRESULT FileDropTarget::Drop(IDataObject* data, DWORD keyState, POINTL at, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    bool taken = accepting_ && window_ && data;
    accepting_ = false;
    DWORD chosen = taken ? ChooseDropEffect(keyState, *effect) : DROPEFFECT_NONE;
    *effect = DROPEFFECT_NONE;
    return GuardedCall([&] {
        bool kept = taken && DropPaths(DroppedPaths(*data), ToClient(at));
        if (window_) AfterDrop();
        *effect = kept ? chosen : DROPEFFECT_NONE;
        return S_OK;
    });
}
