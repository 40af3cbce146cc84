// The plugin module as the player loads it: the library, its record, start-up and shutdown.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "PlayerInterface.h"
#include "base/Unique.h"

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
    void Unload();

    HMODULE module() const { return module_.get(); }
    bool started() const { return started_; }

private:
    bool Contains(const void* address) const;

    UniqueModule module_;
    standin::PluginRecord* record_ = nullptr;
    bool started_ = false;
    bool quit_ = false;
};
