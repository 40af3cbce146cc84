// The few well-known windows, reachable by a fixed id from anywhere in the plugin without
// passing handles around.
#pragma once

#include <windows.h>

enum WindowId : int {
    kTreeWindowId = 1000,
    kListWindowId = 2000,
    kHostWindowId = 3000,
    kPlaylistEditorWindowId = 3001,
    kMainViewWindowId = 4000,
    kFrameWindowId = 4001,
};

// Null for an id outside the table or one not yet registered.
HWND GetWindow(int id);
// Set by the object that owns the window; entries keep the last handle set.
void RegisterWindow(int id, HWND window);
