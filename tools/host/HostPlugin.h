// The plugin module as the player loads it: the library, its record, start-up and shutdown.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "PlayerInterface.h"
#include "base/Unique.h"

// Where a module's image lies in memory; empty before it is loaded.
struct ModuleRange {
    const BYTE* base = nullptr;
    size_t size = 0;
    bool Contains(const void* address) const {
        auto at = static_cast<const BYTE*>(address);
        return base && at >= base && at < base + size;
    }
};

class HostPlugin {
public:
    // Loads the module and finds its record; prints why when it cannot. Does not start it.
    bool Load(const std::wstring& path);
    // Fills the host window and instance into the record and runs Init.
    void Start(HWND hostWindow);
    // Runs Quit once, when Init ran.
    void Quit();
    // After Quit: every host window must be back on its own class's procedure. Prints each one
    // that is not and answers false; one still routed into the module is put back, only so
    // that the host lives to finish its report once the module is gone.
    bool CheckProceduresGiven(const std::vector<HWND>& hostWindows) const;
    // Unloads the module. From then on a call that leads into where it was ends the host with
    // a line saying so and exit code 3, rather than a silent crash: the player would crash there.
    void Unload();
    // Where the module lay, once unloaded.
    const ModuleRange& FormerRange() const { return former_; }

    HMODULE module() const { return module_.get(); }
    bool started() const { return started_; }

private:
    bool Contains(const void* address) const;
    ModuleRange Range() const;

    UniqueModule module_;
    ModuleRange former_;
    standin::PluginRecord* record_ = nullptr;
    bool started_ = false;
    bool quit_ = false;
};
