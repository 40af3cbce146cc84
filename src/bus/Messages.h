// The plugin's private window messages.
#pragma once

#include <windows.h>

// Carries a command code in the word parameter and its argument in the long parameter.
constexpr UINT kCommandMessage = WM_USER + 3;   // 1027
constexpr UINT kPrivateMessage1026 = WM_USER + 2;
// Hides the frame window.
constexpr UINT kHideFrameMessage = WM_USER + 101;  // 1125
// Every bound window wants all keys.
constexpr LRESULT kWantAllKeys = DLGC_WANTALLKEYS;
