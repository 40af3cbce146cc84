// Reaching the main view from any thread: commands posted or sent to the window registered as
// the view. Nothing happens while no view is registered.
#pragma once

#include <windows.h>

#include "base/RefCounted.h"
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

// Posts a command with one reference to its object, which the view adopts; when no view takes
// the post (at shutdown, or in a bench without a view) the reference is dropped here.
template <class T>
bool PostObjectToView(WPARAM code, Ref<T> object) {
    T* raw = object.Detach();
    if (PostToView(code, reinterpret_cast<LPARAM>(raw))) return true;
    if (raw) raw->Release();
    return false;
}
