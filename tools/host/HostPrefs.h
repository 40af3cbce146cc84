// The host's preferences window and the pages plugins register in it.
#pragma once

#include <windows.h>

HWND PrefsWindow();
void OpenPrefs(const void* page);
void ClosePrefs();

LRESULT OnRegisterPrefsPage(WPARAM record);
LRESULT OnOpenPrefs(WPARAM record);
