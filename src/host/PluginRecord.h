// The record the host receives from the plugin's only export: seven 32-bit fields whose
// layout the host relies on, two of which it fills in before calling Init.
#pragma once

#include <windows.h>

struct PluginRecord {
    int version;              // layout version, always kPluginRecordVersion
    const char* description;  // 8-bit text shown in the host's plugin list
    int(__cdecl* init)();
    void(__cdecl* config)();
    void(__cdecl* quit)();
    HWND hostWindow;          // filled by the host before Init
    HINSTANCE instance;       // filled by the host before Init
};

constexpr int kPluginRecordVersion = 0x10;
static_assert(sizeof(PluginRecord) == 28, "the host reads seven 32-bit fields");

PluginRecord* ThePluginRecord();
