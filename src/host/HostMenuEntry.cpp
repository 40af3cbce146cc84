// Placing and labelling the plugin's menu entry.
#include "host/HostMenuEntry.h"

#include <string>

#include "base/Text.h"
#include "host/HostApi.h"
#include "settings/PluginContext.h"
#include "StringIds.h"

namespace {

const wchar_t kProductPrefix[] = L"Crateview";
const wchar_t kEntryText[] = L"Crateview\tAlt+D";

std::wstring ItemText(HMENU menu, int position) {
    wchar_t text[256] = {};
    GetMenuStringW(menu, static_cast<UINT>(position), text, 256, MF_BYPOSITION);
    return text;
}

bool StartsWithProduct(const std::wstring& text) {
    return SharedPrefixEqualsNoCase(text, kProductPrefix) && text.size() >= wcslen(kProductPrefix);
}

// Relabels every item naming the product; answers whether there was one.
bool RelabelProductItems(HMENU menu, bool setCheck, bool checked) {
    bool found = false;
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (!StartsWithProduct(ItemText(menu, i))) continue;
        found = true;
        MENUITEMINFOW item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_STRING | (setCheck ? MIIM_STATE : 0);
        item.dwTypeData = const_cast<wchar_t*>(kEntryText);
        item.fState = checked ? MFS_CHECKED : MFS_UNCHECKED;
        SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &item);
    }
    return found;
}

void InsertEntry(HMENU menu, int position, const MenuEntryContext& context) {
    std::wstring text = std::wstring(GetString(kStrProductName)) + L"\tAlt+D";
    MENUITEMINFOW item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE;
    item.wID = context.commandId;
    item.dwTypeData = text.data();
    item.fState = context.frameVisible ? MFS_CHECKED : MFS_UNCHECKED;
    InsertMenuItemW(menu, static_cast<UINT>(position), TRUE, &item);
}

}  // namespace

void UpdateMainMenuEntry(HMENU menu, const MenuEntryContext& context) {
    DeleteMenu(menu, context.commandId, MF_BYCOMMAND);
    if (context.modernSkin && context.frameVisible && RelabelProductItems(menu, false, false)) return;

    int count = GetMenuItemCount(menu);
    int anchor = -1;
    for (int i = count - 1; i >= 0; --i) {
        if (GetMenuItemID(menu, i) == kHostMenuAnchorCommand) {
            anchor = i;
            break;
        }
    }
    if (anchor < 0) return;
    // Walk on through the plain items after the anchor; the entry goes before the last of them.
    int last = anchor;
    while (last + 1 < count && GetMenuItemID(menu, last + 1) != static_cast<UINT>(-1)) ++last;
    InsertEntry(menu, last, context);
}

void UpdateSecondMenuEntry(HMENU menu, const MenuEntryContext& context) {
    DeleteMenu(menu, context.commandId, MF_BYCOMMAND);
    if (RelabelProductItems(menu, true, context.frameVisible)) return;
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (GetMenuItemID(menu, i) == 0) {
            InsertEntry(menu, i, context);
            return;
        }
    }
}
