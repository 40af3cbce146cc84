// The plugin's documents folder, moved for one run of the host (--documents).
#pragma once

#include <windows.h>

#include <string>

// Makes the plugin's shell requests for the documents folder answer folder. Answers false
// when the plugin imports none of the functions it could ask with.
bool RedirectDocuments(HMODULE plugin, const std::wstring& folder);
