// The plugin's page in the host's preferences: a tab control showing one of four sub-pages.
#pragma once

#include <windows.h>

constexpr int kPrefsContainerDialogId = 109;
constexpr int kPrefsTabControlId = 1018;
// The container's property holding the sub-page shown now.
constexpr wchar_t kShownPageProperty[] = L"CV_PREF";

INT_PTR CALLBACK PrefsContainerProc(HWND dialog, UINT message, WPARAM wp, LPARAM lp);
