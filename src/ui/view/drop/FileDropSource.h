// The drop source of the view's drags: the drop happens when the left button is let go, and
// Escape cancels; the system draws its usual cursors.
#pragma once

#include <windows.h>
#include <ole2.h>

#include "ui/view/drop/ComObject.h"

class FileDropSource final : public ComObject<IDropSource, IID_IDropSource> {
public:
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keyState) override;
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

private:
    ~FileDropSource() override = default;
};
