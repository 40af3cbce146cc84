// The host's preferences window and the pages plugins register in it.
#pragma once

#include <windows.h>

HWND PrefsWindow();
void OpenPrefs(const void* page);
void ClosePrefs();

LRESULT OnRegisterPrefsPage(WPARAM record);
LRESULT OnUnregisterPrefsPage(WPARAM record);
// After the plugin quit: names each page of that module still registered, which the player
// would go on showing with a procedure in the unloaded module, and drops it. False if any.
bool ReportPrefsPagesLeft(HMODULE plugin);
LRESULT OnOpenPrefs(WPARAM record);
