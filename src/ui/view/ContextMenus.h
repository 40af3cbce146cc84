// The view's popup menus, built fresh for each right-click from a small state of what is
// selected and which options are on: the list's menu with its find-more and bookmarks
// submenus, the header's column menu, the tree's menu for each kind of node, and the root menu.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "ui/view/BookmarkFile.h"
#include "ui/view/MenuEntry.h"

// The caption of a string id, in the language in use.
using CaptionSource = std::function<std::wstring(UINT id)>;

// The four play actions head both the list's and the tree's menus.
struct PlayActionsState {
    bool enterKeyDisabled = false;
    // The pane's double-click action (3010-3013), shown as the default item; any other value
    // makes none the default.
    int doubleClickCommand = 0;
};

struct ListMenuState {
    PlayActionsState play;
    // The physical delete commands are enabled.
    bool showDelete = false;
    // From the host's bookmark file, in file order.
    std::vector<Bookmark> bookmarks;
};

enum class TreeMenuNode { kMyLibrary, kFolder, kPlaylist, kSmartPlaylist };

struct TreeMenuState {
    PlayActionsState play;
    TreeMenuNode node = TreeMenuNode::kMyLibrary;
    // The node is a root: a direct child of "My Library".
    bool isRoot = false;
    bool playlistModified = false;
    bool autoload = false;
    bool showDelete = false;
};

// The list's columns, by column number, that are shown (width 1 or more).
using VisibleColumns = std::array<bool, 15>;

MenuEntries BuildListMenu(const ListMenuState& state, const CaptionSource& caption);
MenuEntries BuildHeaderMenu(const VisibleColumns& visible, const CaptionSource& caption);
MenuEntries BuildTreeMenu(const TreeMenuState& state, const CaptionSource& caption);
// "Insert root" with its three kinds, and "Remove root", all drawn by the view.
MenuEntries BuildRootMenu(bool removeEnabled, const CaptionSource& caption);

// The code of the n-th bookmark item (n from 1); 3027 alone bookmarks the selection.
UINT BookmarkItemCode(size_t n);
