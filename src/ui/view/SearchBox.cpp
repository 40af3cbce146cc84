// The search box's keys and text.
#include <windows.h>
#include "ui/view/SearchBox.h"

#include <commctrl.h>

#include "bus/CommandCodes.h"
#include "bus/Messages.h"
#include "bus/WindowRegistry.h"
#include "host/HostApi.h"

namespace {

constexpr size_t kFindMoreValueLimit = 2047;

HWND Sibling(HWND edit, int id) { return GetDlgItem(GetParent(edit), id); }

bool Down(int key) { return (GetKeyState(key) & 0x8000) != 0; }

void FocusListTopRow(HWND list) {
    if (!list) return;
    if (ListView_GetSelectedCount(list) == 0 && ListView_GetItemCount(list) > 0) {
        ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    SetFocus(list);
}

}  // namespace

SearchBox::SearchBox(HWND edit, SettingsFile settings) : WindowObject(edit), settings_(std::move(settings)) {
    SendMessageW(edit, EM_LIMITTEXT, kSearchTextLimit, 0);
}

std::wstring SearchBox::Text() const {
    wchar_t text[kSearchTextLimit + 1] = {};
    if (Window()) GetWindowTextW(Window(), text, static_cast<int>(kSearchTextLimit + 1));
    return text;
}

void SearchBox::SetText(const std::wstring& text) {
    if (Window()) SetWindowTextW(Window(), text.substr(0, kSearchTextLimit).c_str());
}

// The box keeps its text while disabled, so the style bit is set rather than EnableWindow.
void SearchBox::SetBusy(bool busy) {
    if (!Window()) return;
    LONG_PTR style = GetWindowLongPtrW(Window(), GWL_STYLE);
    SetWindowLongPtrW(Window(), GWL_STYLE, busy ? (style | WS_DISABLED) : (style & ~WS_DISABLED));
    InvalidateRect(Window(), nullptr, TRUE);
}

LRESULT SearchBox::OnKeyDown(HWND edit, UINT message, WPARAM key, LPARAM lp) {
    HWND tree = Sibling(edit, kTreeControl);
    HWND list = Sibling(edit, kListControl);
    switch (key) {
        case VK_TAB: {
            bool treeShown = tree && IsWindowVisible(tree);
            bool listShown = list && IsWindowVisible(list);
            HWND target = Down(VK_SHIFT) ? (!listShown ? tree : list) : (treeShown ? tree : list);
            if (target) SetFocus(target);
            return 0;
        }
        case VK_ESCAPE:
            if (list) PostMessageW(list, message, key, lp);
            return 0;
        case VK_DOWN: FocusListTopRow(list); return 0;
        case 'P':
            if (!Down(VK_CONTROL)) return 1;
            if (HWND frame = GetWindow(kFrameWindowId)) PostMessageW(frame, kCommandMessage, kCmdOpenPreferencesNow, 0);
            return 0;
        default: return 1;
    }
}

LRESULT SearchBox::OnSysKeyDown(HWND edit, UINT message, WPARAM key, LPARAM lp) {
    if (key == 'S') {
        SetFocus(edit);
        SendMessageW(edit, EM_SETSEL, 0, -1);
        return 0;
    }
    if (HWND host = GetWindow(kHostWindowId)) PostMessageW(host, message, key, lp);
    return 0;
}

LRESULT SearchBox::OnChar(HWND, UINT, WPARAM ch, LPARAM) { return ch == L'\t' ? 0 : 1; }

LRESULT SearchBox::OnLButtonDoubleClick(HWND edit, UINT, WPARAM, LPARAM) {
    SendMessageW(edit, EM_SETSEL, 0, 255);
    return 0;
}

LRESULT SearchBox::OnClose(HWND, UINT, WPARAM, LPARAM) {
    settings_.WriteText(settings::kLastSearch, Text());
    return 0;
}

std::wstring FindMoreText(int field, const std::wstring& value) {
    static const wchar_t* const kPrefixes[] = {L"?artist LIKE '%", L"?title LIKE '%", L"?album LIKE '%",
                                               L"?genre LIKE '%"};
    if (field < 0 || field > 3) return {};
    std::wstring escaped;
    for (wchar_t c : value) {
        bool quote = c == L'"' || c == L'\'';
        // A doubled quote is never cut in half: a lone quote would end the condition early.
        if (escaped.size() + (quote ? 2 : 1) > kFindMoreValueLimit) break;
        if (quote) escaped += c;
        escaped += c;
    }
    return kPrefixes[field] + escaped + L"%'";
}
