// The host's two menus that the plugin adds its entry to, and the command ids it hands out.
#pragma once

#include <windows.h>

// Command ids of the host's own menu items.
enum HostMenuCommand : UINT {
    kCmdExit = 40001,
    kCmdPreferences = 40012,
    kCmdAlwaysOnTop = 40019,
    kCmdOpenFile = 40029,
    kCmdShowEditor = 40040,
    kCmdPlay = 40045,
    kCmdPause = 40046,
    kCmdStop = 40047,
    kCmdMainWindow = 40258,
    kCmdSkinDefault = 40300,
    kCmdSkinDark = 40301,
};

void CreateHostMenus();
void DestroyHostMenus();
// The main menu (the popup of "Player" in the menu bar and of a right click) and the second.
HMENU MainMenu();
HMENU SecondMenu();
HMENU MenuBar();
// Ticks the built-in skin in use (its command), or neither (0) while a skin file is worn.
void CheckSkinItem(UINT command);

LRESULT OnGetMenu(WPARAM which);
LRESULT OnNewCommandId(WPARAM);
// After the plugin quit: names and takes out every item of the host's menus (and the editor's
// menu given) that carries a command id handed to the plugin or a submenu it destroyed; the
// player would keep offering them. False if there was any.
bool ReportMenuItemsLeft(HMENU editorMenu);
