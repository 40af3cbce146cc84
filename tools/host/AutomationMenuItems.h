// Reading popup menus for automation: one item's caption and states, the printed lines of a
// menu, and finding an item by its caption or "#id" together with the submenus leading to it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct MenuItemView {
    UINT id = 0;
    std::wstring caption;
    std::wstring states;
    HMENU submenu = nullptr;
    bool separator = false;
    bool greyed = false;
    bool ownerDrawn = false;
};

MenuItemView ReadMenuItem(HMENU menu, int index);

// One line per item, "DEPTH<TAB>ID<TAB>CAPTION<TAB>STATES", submenus below their item with
// what they hold now (a submenu filled when it opens shows what it held before); an
// owner-drawn item on screen adds "<TAB>WIDTHxHEIGHT", the size its owner measured.
void ListMenuLines(HMENU menu, int depth, std::vector<std::wstring>& lines);

bool MenuItemMatches(const MenuItemView& item, const std::wstring& wanted);

struct MenuItemPlace {
    HMENU menu = nullptr;
    int index = -1;
    MenuItemView item;
    std::vector<int> path;  // positions of the submenu items leading to it, from the top
};

// Searches the menu and the submenus it holds now, without opening any.
bool FindMenuItem(HMENU menu, const std::wstring& wanted, MenuItemPlace& found);
