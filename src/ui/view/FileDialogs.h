// The system's open and save dialogs, as the view's commands ask for one file.
#pragma once

#include <windows.h>

#include <string>

enum class FileDialogKind { kOpen, kSave };

// The chosen path, or empty when cancelled. filter: pairs of caption and pattern, each ended by
// a zero, the list by a second one. extraFlags: further OFN_ flags for the dialog.
std::wstring AskFileName(HWND owner, FileDialogKind kind, const wchar_t* filter, const wchar_t* defaultExtension,
                         DWORD extraFlags = 0);
