// The file-type list of the General page. The host decides what it can play; the user picks
// which of those the library lists, and the choice reaches the settings only on Apply.
#include "ui/dialogs/PrefsFileTypes.h"

#include <algorithm>
#include <memory>

#include "base/Text.h"
#include "base/Unique.h"
#include "bus/Messages.h"
#include "bus/ViewCommands.h"
#include "bus/WindowRegistry.h"
#include "db/ListingOptions.h"
#include "host/HostApi.h"
#include "settings/PluginContext.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsFile.h"
#include "ui/view/ViewCommandCodes.h"

namespace {

constexpr int kMostSelected = 255;

// The host answers a movable block of zero-ended wide strings closed by an empty one.
std::vector<std::wstring> HostExtensions() {
    std::vector<std::wstring> extensions;
    HWND host = GetWindow(kHostWindowId);
    if (!host) return extensions;
    UniqueGlobal block(reinterpret_cast<HGLOBAL>(SendMessageW(host, kHostMessage, 0, kHostPlayableExtensions)));
    if (!block.get()) return extensions;
    const auto* text = static_cast<const wchar_t*>(GlobalLock(block.get()));
    if (!text) return extensions;
    size_t limit = GlobalSize(block.get()) / sizeof(wchar_t);
    for (size_t i = 0; i < limit && text[i];) {
        size_t end = i;
        while (end < limit && text[end]) ++end;
        extensions.emplace_back(text + i, end - i);
        i = end + 1;
    }
    GlobalUnlock(block.get());
    return extensions;
}

std::wstring SettingsPath() {
    return PluginContext::Get() ? PluginContext::Get()->GetPath(PathKind::kSettingsFile) : std::wstring();
}

HWND TypeList(HWND page) { return GetDlgItem(page, prefs_ids::kTypeList); }

std::wstring ItemText(HWND list, int index) {
    int length = static_cast<int>(SendMessageW(list, LB_GETTEXTLEN, index, 0));
    if (length <= 0) return {};
    std::wstring text(length + 1, L'\0');
    SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(length);
    return text;
}

}  // namespace

std::vector<std::wstring> FileTypeChoices(const std::vector<std::wstring>& hostExtensions) {
    std::vector<std::wstring> choices;
    auto add = [&choices](const std::wstring& extension) {
        std::wstring lower = ToLower(extension);
        if (lower.empty()) return;
        for (const std::wstring& known : choices)
            if (known == lower) return;
        choices.push_back(lower);
    };
    for (const std::wstring& extension : hostExtensions) add(extension);
    add(L"m3u");
    add(L"m3u8");
    return choices;
}

std::vector<int> SavedTypeSelection(const std::vector<std::wstring>& choices, const std::wstring& saved) {
    std::vector<int> selected;
    size_t start = 0;
    while (start <= saved.size()) {
        size_t end = saved.find(L';', start);
        if (end == std::wstring::npos) end = saved.size();
        std::wstring piece = saved.substr(start, end - start);
        start = end + 1;
        if (piece.empty()) continue;
        for (size_t i = 0; i < choices.size(); ++i) {
            if (choices[i].size() >= piece.size() && EqualsNoCase(choices[i].substr(0, piece.size()), piece)) {
                selected.push_back(static_cast<int>(i));
                break;
            }
        }
    }
    return selected;
}

void FillFileTypes(HWND page) {
    HWND list = TypeList(page);
    std::vector<std::wstring> choices = FileTypeChoices(HostExtensions());
    for (const std::wstring& choice : choices) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choice.c_str()));
    std::wstring saved = SettingsFile(SettingsPath()).ReadText(settings::kFileTypes);
    for (int index : SavedTypeSelection(choices, saved)) SendMessageW(list, LB_SETSEL, TRUE, index);
    SendMessageW(list, LB_SETTOPINDEX, 0, 0);
}

void ApplyFileTypes(HWND page) {
    HWND list = TypeList(page);
    std::vector<int> selected(kMostSelected);
    int count = static_cast<int>(SendMessageW(list, LB_GETSELITEMS, kMostSelected, reinterpret_cast<LPARAM>(selected.data())));
    selected.resize(std::max(count, 0));
    auto filter = std::make_unique<TypeFilter>();
    std::wstring text;
    for (int index : selected) {
        std::wstring extension = ToLower(ItemText(list, index));
        filter->insert(extension);
        text += extension + L";";
    }
    SettingsFile(SettingsPath()).WriteText(settings::kFileTypes, text);
    EnableWindow(GetDlgItem(page, prefs_ids::kApplyTypes), FALSE);
    HWND view = GetWindow(kMainViewWindowId);
    if (view && PostMessageW(view, kCommandMessage, kCmdSetFileTypes, reinterpret_cast<LPARAM>(filter.get())))
        filter.release();  // the view owns it now
}
