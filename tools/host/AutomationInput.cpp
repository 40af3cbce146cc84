// Input commands: key chords to the focused control, and row clicks (selecting and extending
// with Ctrl and Shift), double-clicks and header clicks on the view's list, made with the
// mouse messages a user's click produces; and the left button held down on a window of the
// view and let go again.
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

// One click of a user on a row, with Ctrl or Shift held as the click says: the list moves its
// selection, focus and selection mark itself and notifies its parent as for a user.
void PostRowClick(HWND list, POINT at, const RowClick& click) {
    WPARAM held = kHoldLeftButton | (click.ctrl ? kHoldCtrl : 0) | (click.shift ? kHoldShift : 0);
    WPARAM keys = (click.ctrl ? MK_CONTROL : 0) | (click.shift ? MK_SHIFT : 0);
    LPARAM where = MAKELPARAM(at.x, at.y);
    PostMessageW(TaskWindow(), kMsgHoldKeys, held, 0);
    PostMessageW(list, WM_LBUTTONDOWN, keys | MK_LBUTTON, where);
    PostMessageW(list, WM_LBUTTONUP, keys, where);
    PostMessageW(TaskWindow(), kMsgReleaseKeys, 0, 0);
}

void OnSelectRows(const std::wstring& argument) {
    std::vector<RowClick> clicks;
    if (!ParseRowClicks(argument, clicks)) return Say(L"select-rows: expected rows such as 0,3 or 2-5");
    for (const RowClick& click : clicks) {
        std::wstring outcome;
        RunOnUi([&] {
            HWND list = FindViewControl(kListId);
            POINT at;
            if (!list) outcome = L"unsupported";
            else if (!PointOnListRow(list, click.row, at)) outcome = L"no row: " + std::to_wstring(click.row);
            else if (!PointIsOnControl(list, at)) outcome = L"select-rows: another window covers the row";
            else PostRowClick(list, at, click);
        });
        if (!outcome.empty()) return Say(outcome);
        // Each click lands before the next is aimed, as the list may scroll to show a row.
        SettleUi();
    }
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
        HWND list = FindViewControl(kListId);
        if (!list) {
            outcome = L"unsupported";
            return;
        }
        POINT at;
        if (!PointOnListRow(list, row, at)) {
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
        POINT at;
        if (!PointOnHeaderColumn(header, column, at)) {
            outcome = L"no column: " + argument;
            return;
        }
        PostClick(header, at, false);
    });
    if (!outcome.empty()) Say(outcome);
    SettleUi();
}

// "mouse-down TARGET" presses the left button in the middle of a window of the view (with the
// pointer there, as a user's) and keeps it down; "mouse-up TARGET" lets it go there, which
// completes a click. Between the two, the window shows its pressed look.
void PostLeftButton(const std::wstring& target, bool down) {
    std::wstring outcome;
    RunOnUi([&] {
        HWND window = FindViewTarget(target);
        if (!window) {
            outcome = L"unsupported";
            return;
        }
        RECT client;
        GetClientRect(window, &client);
        POINT at = {client.right / 2, client.bottom / 2};
        if (!PointIsOnControl(window, at)) {
            outcome = L"another window covers " + target;
            return;
        }
        LPARAM where = MAKELPARAM(at.x, at.y);
        if (down) {
            POINT screen = at;
            ClientToScreen(window, &screen);
            SetCursorPos(screen.x, screen.y);
            PostMessageW(TaskWindow(), kMsgHoldKeys, kHoldLeftButton, 0);
            PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, where);
        } else {
            PostMessageW(window, WM_LBUTTONUP, 0, where);
            PostMessageW(TaskWindow(), kMsgReleaseKeys, 0, 0);
        }
    });
    if (!outcome.empty()) return Say(outcome);
    SettleUi();
}

void OnMouseDown(const std::wstring& argument) { PostLeftButton(argument, true); }
void OnMouseUp(const std::wstring& argument) { PostLeftButton(argument, false); }

}  // namespace

extern const CommandEntry kInputCommands[] = {
    {L"key", &OnKey},
    {L"select-rows", &OnSelectRows},
    {L"dblclick-row", &OnDoubleClickRow},
    {L"click-header", &OnClickHeader},
    {L"mouse-down", &OnMouseDown},
    {L"mouse-up", &OnMouseUp},
    {nullptr, nullptr},
};
