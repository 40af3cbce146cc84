// Get and set through the command bus, captions and option checks for the preferences pages.
#include "ui/dialogs/PrefsPageControls.h"

#include "bus/Messages.h"
#include "bus/ViewCommands.h"
#include "bus/WindowRegistry.h"
#include "settings/PluginContext.h"

LRESULT GetViewOption(WPARAM code, LPARAM argument) { return GetFromWindow(kMainViewWindowId, code, argument); }

LRESULT GetFromWindow(int windowId, WPARAM code, LPARAM argument) {
    HWND owner = GetWindow(windowId);
    return owner ? SendMessageW(owner, kCommandMessage, code, argument) : 0;
}

void SetViewOption(WPARAM code, LPARAM value) { SetOnWindow(kMainViewWindowId, code, value); }

void SetOnWindow(int windowId, WPARAM code, LPARAM value) {
    if (HWND owner = GetWindow(windowId)) PostMessageW(owner, kCommandMessage, code, value);
}

void SetCaptions(HWND page, const Caption* captions, size_t count) {
    for (size_t i = 0; i < count; ++i) SetDlgItemTextW(page, captions[i].controlId, GetString(captions[i].stringId));
}

namespace {

bool CheckFromAnswer(LRESULT answer, CheckWhen when) {
    switch (when) {
        case CheckWhen::kOne: return answer == 1;
        case CheckWhen::kZero: return answer == 0;
        case CheckWhen::kNonZero: break;
    }
    return answer != 0;
}

}  // namespace

void InitChecks(HWND page, const OptionCheck* checks, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const OptionCheck& check = checks[i];
        SetDlgItemTextW(page, check.controlId, GetString(check.stringId));
        bool on = CheckFromAnswer(GetViewOption(check.getCode), check.when);
        CheckDlgButton(page, check.controlId, on ? BST_CHECKED : BST_UNCHECKED);
    }
}

const OptionCheck* OnCheckClicked(HWND page, int controlId, const OptionCheck* checks, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        if (checks[i].controlId != controlId) continue;
        SetViewOption(checks[i].setCode, IsChecked(page, controlId) ? 1 : 0);
        return &checks[i];
    }
    return nullptr;
}

bool IsChecked(HWND page, int controlId) { return IsDlgButtonChecked(page, controlId) == BST_CHECKED; }

void EnableControl(HWND page, int controlId, bool enabled) { EnableWindow(GetDlgItem(page, controlId), enabled); }

void AddStringOnce(HWND comboBox, const wchar_t* text) {
    if (SendMessageW(comboBox, CB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(text)) == CB_ERR)
        SendMessageW(comboBox, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

void PlaceInTab(HWND page) { SetWindowPos(page, nullptr, 1, 22, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE); }
