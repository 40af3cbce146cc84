// Where a chosen menu item goes, by the low 16 bits of its code: a command sent or posted to
// the view, a command of the list or the tree, a key posted to the view, or the playlist repair.
#pragma once

#include <windows.h>

enum class MenuRouteKind {
    kNothing,
    kSendToView,     // the view's command `command` with `argument`, waiting for it
    kPostToView,     // the same, queued
    kPane,           // the list's or the tree's command, whichever pane the menu came from
    kList,           // the list's command with the whole code
    kTree,           // the tree's command with the whole code
    kPostKey,        // key-down of `command` (a virtual key) with `argument` to the view
    kRepairPlaylist, // the selected playlist root
};

struct MenuRoute {
    MenuRouteKind kind = MenuRouteKind::kNothing;
    WPARAM command = 0;
    LPARAM argument = 0;
};

MenuRoute RouteMenuChoice(UINT code);
