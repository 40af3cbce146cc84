// Reading popup menus for automation: captions (owner-drawn items keep theirs behind the item
// data), states, the measured size of owner-drawn items, printing and finding by caption.
#include "AutomationMenuItems.h"

#include <algorithm>

#include "base/Text.h"
#include "logic/ScriptLine.h"

namespace {

constexpr size_t kOwnerDrawnCaptionLimit = 52;

// Owner-drawn items carry no text for the system; the plugin keeps its caption behind the
// item data, which is read only when it is readable memory holding a short text.
std::wstring OwnerDrawnCaption(ULONG_PTR data) {
    MEMORY_BASIC_INFORMATION info = {};
    if (!data || !VirtualQuery(reinterpret_cast<void*>(data), &info, sizeof(info))) return {};
    if (info.State != MEM_COMMIT || (info.Protect & (PAGE_NOACCESS | PAGE_GUARD))) return {};
    auto* text = reinterpret_cast<const wchar_t*>(data);
    size_t available = (reinterpret_cast<ULONG_PTR>(info.BaseAddress) + info.RegionSize - data) / sizeof(wchar_t);
    std::wstring caption;
    for (size_t i = 0; i < std::min(available, kOwnerDrawnCaptionLimit); ++i) {
        if (text[i] == 0) return caption;
        if (text[i] < 0x20 && text[i] != L'\t') return {};
        caption += text[i];
    }
    return {};
}

std::wstring Normalized(const std::wstring& caption) {
    std::wstring text = caption.substr(0, caption.find(L'\t'));
    std::wstring out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size() && text[i + 1] != L'&') continue;
        out += text[i];
    }
    return ToLower(out);
}

// The size the system gave the item from its owner's WM_MEASUREITEM; empty while the menu is
// not on screen.
std::wstring ShownSize(HMENU menu, int index) {
    RECT r;
    if (!GetMenuItemRect(nullptr, menu, index, &r)) return {};
    return FormatInt(r.right - r.left) + L"x" + FormatInt(r.bottom - r.top);
}

}  // namespace

MenuItemView ReadMenuItem(HMENU menu, int index) {
    wchar_t text[512] = {};
    MENUITEMINFOW mii = {};
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING | MIIM_DATA;
    mii.dwTypeData = text;
    mii.cch = 512;
    GetMenuItemInfoW(menu, index, TRUE, &mii);
    MenuItemView item;
    item.id = mii.wID;
    item.caption = text;
    item.submenu = mii.hSubMenu;
    item.separator = (mii.fType & MFT_SEPARATOR) != 0;
    std::vector<std::wstring> states;
    if (mii.fState & MFS_CHECKED) states.push_back(L"checked");
    if (mii.fState & (MFS_GRAYED | MFS_DISABLED)) {
        states.push_back(L"greyed");
        item.greyed = true;
    }
    if (mii.fState & MFS_DEFAULT) states.push_back(L"default");
    if (mii.hSubMenu) states.push_back(L"submenu");
    if (mii.fType & MFT_OWNERDRAW) {
        states.push_back(L"owner-drawn");
        item.ownerDrawn = true;
        item.caption = OwnerDrawnCaption(mii.dwItemData);
    }
    if (item.separator) item.caption = L"---";
    for (size_t i = 0; i < states.size(); ++i) item.states += (i ? L"," : L"") + states[i];
    return item;
}

void ListMenuLines(HMENU menu, int depth, std::vector<std::wstring>& lines) {
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MenuItemView item = ReadMenuItem(menu, i);
        std::wstring line = FormatInt(depth) + L"\t" + FormatInt(static_cast<int>(item.id)) + L"\t" +
                            EscapeForLine(item.caption) + L"\t" + item.states;
        std::wstring size = item.ownerDrawn ? ShownSize(menu, i) : L"";
        lines.push_back(size.empty() ? line : line + L"\t" + size);
        if (item.submenu) ListMenuLines(item.submenu, depth + 1, lines);
    }
}

bool MenuItemMatches(const MenuItemView& item, const std::wstring& wanted) {
    if (item.separator) return false;
    if (!wanted.empty() && wanted[0] == L'#') return FormatInt(static_cast<int>(item.id)) == wanted.substr(1);
    return Normalized(item.caption) == ToLower(wanted) || EscapeForLine(item.caption) == wanted;
}

bool FindMenuItem(HMENU menu, const std::wstring& wanted, MenuItemPlace& found) {
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MenuItemView item = ReadMenuItem(menu, i);
        if (MenuItemMatches(item, wanted)) {
            found.menu = menu;
            found.index = i;
            found.item = item;
            return true;
        }
        if (item.submenu) {
            found.path.push_back(i);
            if (FindMenuItem(item.submenu, wanted, found)) return true;
            found.path.pop_back();
        }
    }
    return false;
}
