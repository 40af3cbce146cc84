// The view's keyboard accelerators, registered with the host so that its message loop
// translates them for the view's dialog.
#pragma once

#include <windows.h>

class HostApplicationService;

constexpr int kAcceleratorTableId = 141;
// The accelerators' commands, as they reach the view's dialog.
constexpr UINT kToggleFrameCommand = 40001;
constexpr UINT kOpenPreferencesCommand = 40002;

class HostAccelerators {
public:
    HostAccelerators(HWND host, HINSTANCE resources, HWND dialog);
    ~HostAccelerators();
    HostAccelerators(const HostAccelerators&) = delete;
    HostAccelerators& operator=(const HostAccelerators&) = delete;

    bool Registered() const { return registered_; }

private:
    HostApplicationService* service_ = nullptr;
    HWND dialog_;
    bool registered_ = false;
};
