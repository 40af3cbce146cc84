// The host's menus. The main menu holds the anchor item the plugin inserts its entry near,
// with ordinary items and a submenu around it; the second menu holds a separator (id 0) that
// the plugin inserts before.
#include "HostMenus.h"

#include <string>

#include "HostOutput.h"
#include "base/Unique.h"

namespace {

// Ids handed out to plugins start above every id the host uses itself.
constexpr UINT kFirstPluginCommand = 45000;

struct MenuFree {
    void operator()(HMENU menu) const { DestroyMenu(menu); }
};

// The bar owns both popups; the main window lets go of the bar before it is destroyed.
Unique<HMENU, MenuFree> menuBar;
HMENU mainMenu;
HMENU secondMenu;
UINT nextCommandId = kFirstPluginCommand;

HMENU BuildMainMenu() {
    HMENU skins = CreatePopupMenu();
    AppendMenuW(skins, MF_STRING | MF_CHECKED, kCmdSkinDefault, L"&Default skin");
    AppendMenuW(skins, MF_STRING, kCmdSkinDark, L"Dar&k skin");

    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, kCmdOpenFile, L"&Play file...\tL");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kCmdPlay, L"&Play\tX");
    AppendMenuW(menu, MF_STRING, kCmdPause, L"P&ause\tC");
    AppendMenuW(menu, MF_STRING, kCmdStop, L"&Stop\tV");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kCmdPreferences, L"P&references...\tCtrl+P");
    AppendMenuW(menu, MF_STRING | MF_CHECKED, kCmdMainWindow, L"&Main window\tAlt+W");
    AppendMenuW(menu, MF_STRING, kCmdShowEditor, L"Playlist &editor\tAlt+E");
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(skins), L"S&kins");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kCmdExit, L"E&xit");
    return menu;
}

HMENU BuildSecondMenu() {
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING | MF_CHECKED, kCmdMainWindow, L"&Main window\tAlt+W");
    AppendMenuW(menu, MF_STRING, kCmdShowEditor, L"Playlist &editor\tAlt+E");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kCmdAlwaysOnTop, L"Always on &top\tCtrl+A");
    return menu;
}

}  // namespace

void CreateHostMenus() {
    mainMenu = BuildMainMenu();
    secondMenu = BuildSecondMenu();
    menuBar.Reset(CreateMenu());
    AppendMenuW(menuBar.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(mainMenu), L"&Player");
    AppendMenuW(menuBar.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(secondMenu), L"&Windows");
}

void DestroyHostMenus() {
    menuBar.Reset();
    mainMenu = secondMenu = nullptr;
}

HMENU MainMenu() { return mainMenu; }
HMENU SecondMenu() { return secondMenu; }
HMENU MenuBar() { return menuBar.get(); }

void CheckSkinItem(UINT command) {
    for (UINT item : {kCmdSkinDefault, kCmdSkinDark})
        CheckMenuItem(mainMenu, item, MF_BYCOMMAND | (item == command ? MF_CHECKED : MF_UNCHECKED));
}

LRESULT OnGetMenu(WPARAM which) {
    if (which == 0) return reinterpret_cast<LRESULT>(mainMenu);
    if (which == 4) return reinterpret_cast<LRESULT>(secondMenu);
    return 0;
}

LRESULT OnNewCommandId(WPARAM) { return nextCommandId++; }

namespace {

std::wstring ItemText(HMENU menu, int position) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, static_cast<UINT>(position), text, 128, MF_BYPOSITION);
    return text;
}

// Takes out, naming each, the items a plugin's command id or a destroyed submenu leads to.
bool RemovePluginItems(HMENU menu, const wchar_t* menuName) {
    bool clean = true;
    for (int i = GetMenuItemCount(menu) - 1; i >= 0; --i) {
        MENUITEMINFOW info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_SUBMENU;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        bool lost = info.hSubMenu && !IsMenu(info.hSubMenu);
        bool plugins = info.wID >= kFirstPluginCommand && info.wID < nextCommandId;
        if (!lost && !plugins) {
            if (info.hSubMenu) clean = RemovePluginItems(info.hSubMenu, menuName) && clean;
            continue;
        }
        ReportPluginFault(std::wstring(L"host: menu item \"") + ItemText(menu, i) + L"\" left in the " + menuName +
                          (lost ? L" with a destroyed submenu" : L"") + L" after quit");
        RemoveMenu(menu, static_cast<UINT>(i), MF_BYPOSITION);
        clean = false;
    }
    return clean;
}

}  // namespace

bool ReportMenuItemsLeft(HMENU editorMenu) {
    bool clean = RemovePluginItems(mainMenu, L"main menu");
    clean = RemovePluginItems(secondMenu, L"second menu") && clean;
    return (!editorMenu || RemovePluginItems(editorMenu, L"playlist editor's menu")) && clean;
}
