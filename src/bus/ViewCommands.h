// Reaching the main view from any thread: commands posted or sent to the window registered as
// the view. Nothing happens while no view is registered.
#pragma once

#include <windows.h>

#include "bus/Messages.h"
#include "bus/WindowRegistry.h"

inline bool PostToView(WPARAM code, LPARAM argument = 0) {
    HWND view = GetWindow(kMainViewWindowId);
    return view && PostMessageW(view, kCommandMessage, code, argument);
}

inline LRESULT SendToView(WPARAM code, LPARAM argument = 0) {
    HWND view = GetWindow(kMainViewWindowId);
    return view ? SendMessageW(view, kCommandMessage, code, argument) : 0;
}
