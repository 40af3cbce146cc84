// The keyboard of the search box: Tab and Down lead on to the other panes, Escape reaches the
// list, Alt+S selects the text and other Alt keys go to the host; the box never types a Tab.
#include <windows.h>
#include <commctrl.h>

#include "bus/CommandCodes.h"
#include "ui/view/SearchBox.h"

const KeyBinding<SearchBox> SearchBox::kKeys[] = {
    {VK_TAB, KeyChord::kNoCtrl, &SearchBox::MoveFocusOnTab},
    {VK_ESCAPE, KeyChord::kAny, &SearchBox::PassToList},
    {VK_DOWN, KeyChord::kAny, &SearchBox::EnterList},
    {'P', KeyChord::kWithCtrl, &SearchBox::OpenPreferences},
};

const KeyBinding<SearchBox> SearchBox::kAltKeys[] = {
    {'S', KeyChord::kAny, &SearchBox::SelectAll},
};

LRESULT SearchBox::OnKeyDown(HWND, UINT message, WPARAM key, LPARAM lp) {
    return RunKey(*this, kKeys, message, key, lp);
}

LRESULT SearchBox::OnSysKeyDown(HWND, UINT message, WPARAM key, LPARAM lp) {
    return RunSystemKey(*this, kAltKeys, message, key, lp);
}

LRESULT SearchBox::OnChar(HWND, UINT, WPARAM ch, LPARAM) { return ch == L'\t' ? 0 : 1; }

LRESULT SearchBox::OnLButtonDoubleClick(HWND edit, UINT, WPARAM, LPARAM) {
    SendMessageW(edit, EM_SETSEL, 0, -1);
    return 0;
}

// Tab goes on to the tree (the list when the tree is hidden), Shift+Tab back to the list (the
// tree when the list is hidden).
LRESULT SearchBox::MoveFocusOnTab(const KeyPress& press) {
    HWND edit = Window();
    HWND first = ShownSibling(edit, press.held.shift ? kListControl : kTreeControl);
    HWND target = first ? first : GetDlgItem(GetParent(edit), press.held.shift ? kTreeControl : kListControl);
    if (target) SetFocus(target);
    return 0;
}

LRESULT SearchBox::PassToList(const KeyPress& press) {
    PassKeyDown(GetDlgItem(GetParent(Window()), kListControl), press);
    return 0;
}

LRESULT SearchBox::EnterList(const KeyPress&) {
    FocusListAtFirstRow(GetDlgItem(GetParent(Window()), kListControl));
    return 0;
}

LRESULT SearchBox::SelectAll(const KeyPress&) {
    FocusSearchSelectingAll(Window());
    return 0;
}

LRESULT SearchBox::OpenPreferences(const KeyPress&) {
    OpenPreferencesFromKey();
    return 0;
}
