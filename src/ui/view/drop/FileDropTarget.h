// The part the list's and the tree's drop targets share: whether the drag entering is taken,
// the effect answered under the keys held, and the dropped paths handed to the pane's rules.
// A target forgotten by its pane (its window gone) refuses everything from then on.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

#include "ui/view/drop/ComObject.h"

class FileDropTarget : public ComObject<IDropTarget, IID_IDropTarget> {
public:
    explicit FileDropTarget(HWND window) : window_(window) {}

    HWND Window() const { return window_; }
    bool Accepting() const { return accepting_; }
    // The pane's window is going: nothing may reach it through this target any more.
    void Forget() { window_ = nullptr; }

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL at, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL at, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL at, DWORD* effect) override;

protected:
    ~FileDropTarget() override = default;

    // Whether a drag offering a dropped-file list is taken here at all.
    virtual bool TakesFiles() = 0;
    // The effect shown while over a client point of the pane, with its highlight and scrolling.
    virtual DWORD OverEffect(POINT client) = 0;
    virtual void Leave() {}
    // The dropped paths, in order, at a client point; false when the drop was refused there.
    virtual bool DropPaths(const std::vector<std::wstring>& paths, POINT client) = 0;
    // After every drop, taken or not.
    virtual void AfterDrop() {}

private:
    POINT ToClient(POINTL at) const;

    HWND window_;
    bool accepting_ = false;
};
