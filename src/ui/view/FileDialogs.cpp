// The open and save dialogs of the view's commands.
#include "ui/view/FileDialogs.h"

#include <commdlg.h>

std::wstring AskFileName(HWND owner, FileDialogKind kind, const wchar_t* filter, const wchar_t* defaultExtension,
                         DWORD extraFlags) {
    wchar_t path[MAX_PATH] = {};
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter;
    dialog.lpstrFile = path;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrDefExt = defaultExtension;
    dialog.Flags = OFN_HIDEREADONLY | OFN_EXPLORER | extraFlags;
    bool chosen = kind == FileDialogKind::kSave ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    return chosen ? std::wstring(path) : std::wstring();
}
