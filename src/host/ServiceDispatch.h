// Typed calls into the host's dispatch-style service objects, and the owner of one service
// interface obtained through its factory, so that no caller builds an argument array by hand.
#pragma once

#include <windows.h>

#include "host/HostApi.h"

// The factory the host's service manager keeps for the service id, or null.
HostDispatchable* GetServiceFactory(HostDispatchable* manager, const GUID& id);
// The application service's accelerator calls; each answers whether the host handled it.
bool AddHostAccelerators(HostDispatchable* application, HWND window, HACCEL* tables, int count,
                         AcceleratorTranslation mode);
bool RemoveHostAccelerators(HostDispatchable* application, HWND window);

// One interface of a service, obtained from its factory and given back to that factory when
// the owner goes; the host counts what it handed out.
class HostServiceInterface {
public:
    HostServiceInterface() = default;
    // Asks the host's service manager (its answer to the service manager request, or 0 or 1 for
    // none) for the service; empty when any step finds nothing.
    HostServiceInterface(LRESULT managerAnswer, const GUID& id);
    ~HostServiceInterface();
    HostServiceInterface(const HostServiceInterface&) = delete;
    HostServiceInterface& operator=(const HostServiceInterface&) = delete;

    HostDispatchable* get() const { return service_; }
    explicit operator bool() const { return service_ != nullptr; }

private:
    HostDispatchable* factory_ = nullptr;
    HostDispatchable* service_ = nullptr;
};
