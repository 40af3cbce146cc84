// The view's keyboard accelerators, registered with the host so that its message loop
// translates them for the view's dialog.
#pragma once

#include <windows.h>

#include "base/Unique.h"
#include "host/ServiceDispatch.h"

constexpr int kAcceleratorTableId = 141;
// The accelerators' commands, as they reach the view's dialog.
constexpr UINT kToggleFrameCommand = 40001;
constexpr UINT kOpenPreferencesCommand = 40002;

// Holds the host's application service for as long as the view lives; on destruction the
// table is removed and the service given back through its factory, so that the host keeps
// nothing of a plugin that quit.
class HostAccelerators {
public:
    HostAccelerators(HWND host, HINSTANCE resources, HWND dialog);
    ~HostAccelerators();
    HostAccelerators(const HostAccelerators&) = delete;
    HostAccelerators& operator=(const HostAccelerators&) = delete;

    bool Registered() const { return registered_; }

private:
    struct AcceleratorFree {
        void operator()(HACCEL table) const { DestroyAcceleratorTable(table); }
    };

    HostServiceInterface application_;
    Unique<HACCEL, AcceleratorFree> table_;
    HWND dialog_;
    bool registered_ = false;
};
