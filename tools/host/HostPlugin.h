// The plugin module as the player loads it: the library, its record, start-up and shutdown.
#pragma once

#include <windows.h>

#include <string>

#include "base/Unique.h"
#include "host/PluginRecord.h"

class HostPlugin {
public:
    // Loads the module and finds its record; prints why when it cannot. Does not start it.
    bool Load(const std::wstring& path);
    // Fills the host window and instance into the record and runs Init.
    void Start(HWND hostWindow);
    // Runs Quit once, when Init ran.
    void Quit();
    // Unloads the module after putting back any window procedure of the given windows that
    // still points into it, which would otherwise run unloaded code.
    void Unload(std::initializer_list<HWND> hostWindows);

    HMODULE module() const { return module_.get(); }
    bool started() const { return started_; }

private:
    bool Contains(const void* address) const;

    UniqueModule module_;
    PluginRecord* record_ = nullptr;
    bool started_ = false;
    bool quit_ = false;
};
