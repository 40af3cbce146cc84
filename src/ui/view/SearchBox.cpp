// The search box's text: limited, kept while the view is busy, remembered at close; and the
// "Find more" conditions it is filled with.
#include <windows.h>
#include "ui/view/SearchBox.h"

#include "settings/SettingKeys.h"

namespace {

constexpr size_t kFindMoreValueLimit = 2047;

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
