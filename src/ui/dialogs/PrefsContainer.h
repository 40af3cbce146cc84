// The plugin's page in the host's preferences: the container dialog the host creates.
#pragma once

#include <windows.h>

constexpr int kPrefsContainerDialogId = 109;

INT_PTR CALLBACK PrefsContainerProc(HWND dialog, UINT message, WPARAM wp, LPARAM lp);
