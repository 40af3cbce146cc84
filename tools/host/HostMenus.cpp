// The host's menus. The main menu holds the anchor item the plugin inserts its entry near,
// with ordinary items and a submenu around it; the second menu holds a separator (id 0) that
// the plugin inserts before.
#include "HostMenus.h"

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

void CheckSkinItem(bool dark) {
    CheckMenuItem(mainMenu, kCmdSkinDefault, MF_BYCOMMAND | (dark ? MF_UNCHECKED : MF_CHECKED));
    CheckMenuItem(mainMenu, kCmdSkinDark, MF_BYCOMMAND | (dark ? MF_CHECKED : MF_UNCHECKED));
}

LRESULT OnGetMenu(WPARAM which) {
    if (which == 0) return reinterpret_cast<LRESULT>(mainMenu);
    if (which == 4) return reinterpret_cast<LRESULT>(secondMenu);
    return 0;
}

LRESULT OnNewCommandId(WPARAM) { return nextCommandId++; }
