// State shared by the parts of the stand-in host: its options, its windows and the plugin it
// loaded. Everything here belongs to the user-interface thread unless a comment says otherwise.
#pragma once

#include <windows.h>

#include <string>

#include "logic/HostOptions.h"

// The skin the player wears: a bitmap file when one is named, else one of its own two.
struct HostSkinState {
    bool dark = false;
    std::wstring file;
};

struct HostState {
    HostOptions options;
    HINSTANCE instance = nullptr;
    DWORD uiThreadId = 0;         // read by the automation threads
    HWND mainWindow = nullptr;
    HWND playlistEditor = nullptr;
    HMODULE plugin = nullptr;
    bool closing = false;         // the main window has been asked to close
    HostSkinState skin;
};

HostState& Host();

// Private messages of the host's own windows.
enum HostPrivateMessage : UINT {
    kMsgRunTask = WM_APP + 1,     // to the task window: run a queued function
    kMsgFinishQuit,               // to the task window: leave the message loop
    kMsgHoldKeys,                 // to the task window: hold the keys in the word (kHold bits)
    kMsgReleaseKeys,              // to the task window: put the keyboard state back
    kMsgSignal,                   // to the task window: set the event handle in the long parameter
};

// Keys the task window holds down in the thread's keyboard state for posted input.
constexpr WPARAM kHoldCtrl = 1, kHoldShift = 2, kHoldAlt = 4, kHoldLeftButton = 8;

// Turns a path given on the command line or in a script into a Windows path; under Wine an
// absolute Unix path is mapped to its drive letter so that make and shell tests can pass them.
std::wstring NormalizeHostPath(const std::wstring& path);
