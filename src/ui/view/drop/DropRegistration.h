// Owns a pane's drop target and its registration with OLE: registered (and locked, so OLE's
// tables keep it alive) for as long as the pane's window lives, revoked before the window
// goes, after which the target refuses whatever still reaches it.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <utility>

#include "base/RefCounted.h"

// Both answer whether OLE took the call; a thread without OLE cannot register targets.
bool RegisterFileDropTarget(HWND window, IDropTarget* target);
void RevokeFileDropTarget(HWND window, IDropTarget* target);

template <class Target>
class DropRegistration {
public:
    DropRegistration() = default;
    ~DropRegistration() { Revoke(); }
    DropRegistration(const DropRegistration&) = delete;
    DropRegistration& operator=(const DropRegistration&) = delete;

    // The target is kept even when OLE refuses it, so that the pane can still answer for it.
    void Register(HWND window, Ref<Target> target) {
        Revoke();
        window_ = window;
        target_ = std::move(target);
        registered_ = target_ && RegisterFileDropTarget(window_, target_.get());
    }
    void Revoke() {
        if (!target_) return;
        if (registered_) RevokeFileDropTarget(window_, target_.get());
        target_->Forget();
        target_.Reset();
        registered_ = false;
        window_ = nullptr;
    }
    Target* get() const { return target_.get(); }
    bool Registered() const { return registered_; }

private:
    HWND window_ = nullptr;
    Ref<Target> target_;
    bool registered_ = false;
};
