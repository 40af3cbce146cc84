// A popup menu described as plain data: what each item says, the code it returns and how it
// shows. The view's menus are built as these first, so the rules that decide them can be
// checked without a window, and only then made into a system menu (PopupMenu.h).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct MenuEntry {
    // The code returned when the item is chosen; a code above 65535 carries an argument in
    // its high 16 bits. 0 for a separator.
    UINT code = 0;
    std::wstring caption;
    bool separator = false;
    bool greyed = false;
    bool checked = false;
    bool isDefault = false;
    // Drawn by the view with this icon rather than by the system.
    bool ownerDrawn = false;
    UINT icon = 0;
    std::vector<MenuEntry> submenu;

    static MenuEntry Item(UINT code, std::wstring caption) {
        MenuEntry entry;
        entry.code = code;
        entry.caption = std::move(caption);
        return entry;
    }
    static MenuEntry Separator() {
        MenuEntry entry;
        entry.separator = true;
        return entry;
    }
    static MenuEntry Submenu(UINT code, std::wstring caption, std::vector<MenuEntry> items) {
        MenuEntry entry = Item(code, std::move(caption));
        entry.submenu = std::move(items);
        return entry;
    }
};

using MenuEntries = std::vector<MenuEntry>;
