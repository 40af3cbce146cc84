// The menu driver: hooks on the test's thread watch the menu's owner being told about the menu
// and then idling in its loop, which is when the driver reads the menu and posts its keys.
#include "MenuDriver.h"

namespace {

// Only one menu is tracked at a time on a thread, so one driver at a time is enough.
MenuDriver* activeDriver = nullptr;

SeenMenuItem ReadItem(HMENU menu, int position) {
    wchar_t text[256] = {};
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_SUBMENU | MIIM_DATA | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 256;
    GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info);
    SeenMenuItem item;
    item.id = info.wID;
    item.separator = (info.fType & MFT_SEPARATOR) != 0;
    item.ownerDrawn = (info.fType & MFT_OWNERDRAW) != 0;
    item.caption = item.ownerDrawn && info.dwItemData ? reinterpret_cast<const wchar_t*>(info.dwItemData) : text;
    item.greyed = (info.fState & MFS_GRAYED) != 0;
    item.checked = (info.fState & MFS_CHECKED) != 0;
    item.isDefault = (info.fState & MFS_DEFAULT) != 0;
    return item;
}

std::vector<SeenMenuItem> ReadMenu(HMENU menu) {
    std::vector<SeenMenuItem> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        SeenMenuItem item = ReadItem(menu, i);
        if (HMENU submenu = GetSubMenu(menu, i)) item.submenu = ReadMenu(submenu);
        items.push_back(std::move(item));
    }
    return items;
}

// The keys that reach the item from a menu that has just opened: Home to its first item, Down
// past every other item but separators, Right into a submenu, which selects its first item.
bool KeysTo(const std::vector<SeenMenuItem>& items, UINT id, bool first, std::vector<WPARAM>& keys) {
    size_t start = keys.size();
    keys.push_back(first ? VK_HOME : VK_RIGHT);
    bool passedFirst = false;
    for (const SeenMenuItem& item : items) {
        if (item.separator) continue;
        if (passedFirst) keys.push_back(VK_DOWN);
        passedFirst = true;
        if (item.id == id && item.submenu.empty()) return !item.greyed;
        if (!item.submenu.empty() && KeysTo(item.submenu, id, false, keys)) return true;
    }
    keys.resize(start);
    return false;
}

void PostKey(HWND window, WPARAM key) {
    PostMessageW(window, WM_KEYDOWN, key, 1);
    PostMessageW(window, WM_KEYUP, key, 0xC0000001);
}

}  // namespace

const SeenMenuItem* FindSeenItem(const std::vector<SeenMenuItem>& items, UINT id) {
    for (const SeenMenuItem& item : items) {
        if (!item.separator && item.id == id) return &item;
        if (const SeenMenuItem* inner = FindSeenItem(item.submenu, id)) return inner;
    }
    return nullptr;
}

MenuDriver::MenuDriver(UINT choose) : choose_(choose) {
    activeDriver = this;
    before_ = SetWindowsHookExW(WH_CALLWNDPROC, &BeforeSend, nullptr, GetCurrentThreadId());
    after_ = SetWindowsHookExW(WH_CALLWNDPROCRET, &AfterSend, nullptr, GetCurrentThreadId());
}

MenuDriver::~MenuDriver() {
    UnhookWindowsHookEx(before_);
    UnhookWindowsHookEx(after_);
    activeDriver = nullptr;
}

LRESULT CALLBACK MenuDriver::BeforeSend(int code, WPARAM wp, LPARAM lp) {
    auto* sent = reinterpret_cast<CWPSTRUCT*>(lp);
    MenuDriver* driver = activeDriver;
    if (code == HC_ACTION && driver && !driver->closed_) {
        if (sent->message == WM_INITMENUPOPUP && !driver->menu_ && !HIWORD(sent->lParam))
            driver->menu_ = reinterpret_cast<HMENU>(sent->wParam);
        else if (sent->message == WM_ENTERIDLE && sent->wParam == MSGF_MENU && driver->menu_ && !driver->seen_)
            driver->OnIdle(reinterpret_cast<HWND>(sent->lParam));
        else if (sent->message == WM_DRAWITEM &&
                 reinterpret_cast<const DRAWITEMSTRUCT*>(sent->lParam)->CtlType == ODT_MENU)
            ++driver->drawn_;
        else if (sent->message == WM_EXITMENULOOP && driver->seen_)
            driver->closed_ = true;
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

LRESULT CALLBACK MenuDriver::AfterSend(int code, WPARAM wp, LPARAM lp) {
    auto* sent = reinterpret_cast<CWPRETSTRUCT*>(lp);
    MenuDriver* driver = activeDriver;
    if (code == HC_ACTION && driver && sent->message == WM_MEASUREITEM) {
        auto* measure = reinterpret_cast<const MEASUREITEMSTRUCT*>(sent->lParam);
        if (measure->CtlType == ODT_MENU)
            driver->measured_.push_back({static_cast<LONG>(measure->itemWidth), static_cast<LONG>(measure->itemHeight)});
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

void MenuDriver::OnIdle(HWND menuWindow) {
    seen_ = true;
    items_ = ReadMenu(menu_);
    RECT bounds = {};
    if (menuWindow && GetWindowRect(menuWindow, &bounds)) position_ = {bounds.left, bounds.top};
    std::vector<WPARAM> keys;
    chose_ = choose_ != 0 && KeysTo(items_, choose_, true, keys);
    if (!chose_) {
        EndMenu();
        return;
    }
    keys.push_back(VK_RETURN);
    for (WPARAM key : keys) PostKey(menuWindow, key);
}
