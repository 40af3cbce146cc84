// The host main window: the target of every request the plugin makes and of the player's
// menu commands.
#pragma once

#include <windows.h>

HWND CreateHostWindow(HINSTANCE instance);
