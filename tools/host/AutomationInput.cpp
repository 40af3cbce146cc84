// Input commands: key chords to the focused control, and row selection, double-click and
// header clicks on the view's list, made with the mouse messages a user's click produces.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "AutomationCommon.h"
#include "AutomationTyping.h"
#include "HostApp.h"
#include "HostTasks.h"
#include "logic/KeyNames.h"
#include "logic/ScriptLine.h"

namespace {

void OnKey(const std::wstring& argument) {
    std::vector<KeyChord> chords;
    if (!ParseKeySequence(argument, chords)) return Say(L"key: unknown key in " + argument);
    for (const KeyChord& chord : chords) PressChordOnFocus(chord);
}

HWND ListWithRow(int row) {
    HWND list = FindViewControl(kListId);
    if (!list) return nullptr;
    int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    return row >= 0 && row < count ? list : nullptr;
}

void SetRowState(HWND list, int row, UINT state, UINT mask) {
    LVITEMW item = {};
    item.state = state;
    item.stateMask = mask;
    SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

void OnSelectRows(const std::wstring& argument) {
    std::vector<int> rows;
    if (!ParseIndexList(argument, rows)) return Say(L"select-rows: expected row numbers");
    std::wstring outcome;
    RunOnUi([&] {
        HWND list = FindViewControl(kListId);
        if (!list) {
            outcome = L"unsupported";
            return;
        }
        for (int row : rows) {
            if (!ListWithRow(row)) {
                outcome = L"no row: " + std::to_wstring(row);
                return;
            }
        }
        SetFocus(list);
        SetRowState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        for (int row : rows) SetRowState(list, row, LVIS_SELECTED, LVIS_SELECTED);
        SetRowState(list, rows.front(), LVIS_FOCUSED, LVIS_FOCUSED);
        SendMessageW(list, LVM_ENSUREVISIBLE, rows.front(), FALSE);
    });
    if (!outcome.empty()) Say(outcome);
    SettleUi();
}

// A point inside the row where the list itself says the row is, whichever columns are shown.
bool PointOnRow(HWND list, int row, POINT& at) {
    SendMessageW(list, LVM_ENSUREVISIBLE, row, FALSE);
    RECT bounds = {};
    bounds.left = LVIR_BOUNDS;
    if (!SendMessageW(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&bounds))) return false;
    RECT client;
    GetClientRect(list, &client);
    int y = (bounds.top + bounds.bottom) / 2;
    for (int x = std::max<LONG>(bounds.left, 0) + 2; x < std::min(bounds.right, client.right); x += 8) {
        LVHITTESTINFO hit = {};
        hit.pt = {x, y};
        if (SendMessageW(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) == row && (hit.flags & LVHT_ONITEM)) {
            at = {x, y};
            return true;
        }
    }
    return false;
}

void PostClick(HWND window, POINT at, bool doubleClick) {
    LPARAM where = MAKELPARAM(at.x, at.y);
    PostMessageW(TaskWindow(), kMsgHoldKeys, kHoldLeftButton, 0);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, where);
    PostMessageW(window, WM_LBUTTONUP, 0, where);
    if (doubleClick) {
        PostMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, where);
        PostMessageW(window, WM_LBUTTONUP, 0, where);
    }
    PostMessageW(TaskWindow(), kMsgReleaseKeys, 0, 0);
}

void OnDoubleClickRow(const std::wstring& argument) {
    int row = 0;
    if (!ParseInt(argument, row)) return Say(L"dblclick-row: expected a row number");
    std::wstring outcome;
    RunOnUi([&] {
        if (!FindViewControl(kListId)) {
            outcome = L"unsupported";
            return;
        }
        HWND list = ListWithRow(row);
        POINT at;
        if (!list || !PointOnRow(list, row, at)) {
            outcome = L"no row: " + argument;
            return;
        }
        PostClick(list, at, true);
    });
    if (!outcome.empty()) Say(outcome);
    SettleUi();
}

void OnClickHeader(const std::wstring& argument) {
    int column = 0;
    if (!ParseInt(argument, column)) return Say(L"click-header: expected a column number");
    std::wstring outcome;
    RunOnUi([&] {
        HWND list = FindViewControl(kListId);
        HWND header = list ? reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0)) : nullptr;
        if (!header) {
            outcome = L"unsupported";
            return;
        }
        RECT r;
        if (!SendMessageW(header, HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(&r)) || r.right - r.left < 4) {
            outcome = L"no column: " + argument;
            return;
        }
        PostClick(header, {(r.left + r.right) / 2, (r.top + r.bottom) / 2}, false);
    });
    if (!outcome.empty()) Say(outcome);
    SettleUi();
}

}  // namespace

extern const CommandEntry kInputCommands[] = {
    {L"key", &OnKey},
    {L"select-rows", &OnSelectRows},
    {L"dblclick-row", &OnDoubleClickRow},
    {L"click-header", &OnClickHeader},
    {nullptr, nullptr},
};
