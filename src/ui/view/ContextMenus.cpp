// Builds the view's popup menus as entries: items in their order, captions with the shortcut
// each key gives, and the greyed, ticked and default marks.
#include "ui/view/ContextMenus.h"

#include "StringIds.h"
#include "bus/CommandCodes.h"
#include "ui/view/MenuCodes.h"

namespace {

constexpr UINT kArgumentShift = 16;

UINT WithArgument(UINT code, UINT argument) { return code + (argument << kArgumentShift); }

MenuEntry Shortcut(UINT code, const std::wstring& caption, const wchar_t* keys) {
    return MenuEntry::Item(code, caption + L"\t" + keys);
}

MenuEntry Shortcut(UINT code, const CaptionSource& caption, const wchar_t* keys) {
    return Shortcut(code, caption(code), keys);
}

void Append(MenuEntries& to, MenuEntries more) {
    for (MenuEntry& entry : more) to.push_back(std::move(entry));
}

// Play, Enqueue, Enqueue and play, Enqueue after current; "Play" loses its Enter when the
// key does nothing.
MenuEntries PlayActions(const PlayActionsState& state, const CaptionSource& caption) {
    MenuEntries items;
    items.push_back(state.enterKeyDisabled ? MenuEntry::Item(kMenuPlay, caption(kStrMenuPlay))
                                           : Shortcut(kMenuPlay, caption, L"Enter"));
    items.push_back(Shortcut(kMenuEnqueue, caption, L"Shift+Enter"));
    items.push_back(Shortcut(kMenuEnqueueAndPlay, caption, L"Ctrl+Enter"));
    items.push_back(Shortcut(kMenuEnqueueAfterCurrent, caption, L"Alt+Enter"));
    for (MenuEntry& item : items) item.isDefault = static_cast<int>(item.code) == state.doubleClickCommand;
    return items;
}

MenuEntries FindMoreItems(const CaptionSource& caption) {
    return {MenuEntry::Item(WithArgument(kMenuFindMore, 0), caption(kStrColumnArtist)),
            MenuEntry::Item(WithArgument(kMenuFindMore, 1), caption(kStrColumnTitle)),
            MenuEntry::Item(WithArgument(kMenuFindMore, 2), caption(kStrColumnAlbum)),
            MenuEntry::Item(WithArgument(kMenuFindMore, 3), caption(kStrColumnGenre))};
}

// A title with "&" in it would otherwise underline the next letter and lose the "&".
std::wstring LiteralCaption(const std::wstring& text) {
    std::wstring out;
    for (wchar_t c : text) {
        if (c == L'&') out += L'&';
        out += c;
    }
    return out;
}

MenuEntries BookmarkItems(const std::vector<Bookmark>& bookmarks, const CaptionSource& caption) {
    MenuEntries items{Shortcut(kMenuBookmarks, caption(kStrMenuBookmarkItems), L"Alt+I"), MenuEntry::Separator()};
    for (size_t k = 0; k < bookmarks.size(); ++k)
        items.push_back(MenuEntry::Item(BookmarkItemCode(k + 1), LiteralCaption(bookmarks[k].title)));
    return items;
}

MenuEntry RootsSubmenu(bool isRoot, const CaptionSource& caption) {
    return MenuEntry::Submenu(kMenuRoots, caption(kStrMenuRoots), BuildRootMenu(isRoot, caption));
}

MenuEntries PlaylistNodeItems(const TreeMenuState& state, const CaptionSource& caption) {
    MenuEntries items{Shortcut(kMenuRefresh, caption, L"F5"), Shortcut(kMenuReadTags, caption, L"F6"),
                      MenuEntry::Item(kMenuImportHostPlaylist, caption(kStrMenuImportHostPlaylist)),
                      Shortcut(kMenuSavePlaylist, caption, L"Ctrl+S"),
                      MenuEntry::Item(kMenuRepairPlaylist, caption(kStrMenuRepairPlaylist))};
    items[3].greyed = !state.playlistModified;
    if (state.isRoot) {
        items.push_back(MenuEntry::Separator());
        items.push_back(RootsSubmenu(true, caption));
    }
    return items;
}

MenuEntries MyLibraryItems(const CaptionSource& caption) {
    return {Shortcut(kMenuRefresh, caption, L"F5"), Shortcut(kMenuReadTags, caption, L"F6"),
            MenuEntry::Item(kMenuImportRoots, caption(kStrMenuImportRoots)),
            MenuEntry::Item(kMenuExportRoots, caption(kStrMenuExportRoots)), MenuEntry::Separator(),
            RootsSubmenu(false, caption)};
}

MenuEntries SubfolderItems(const TreeMenuState& state, const CaptionSource& caption) {
    MenuEntries items;
    if (state.node != TreeMenuNode::kSmartPlaylist)
        items = {Shortcut(kMenuRefresh, caption, L"F5"), Shortcut(kMenuReadTags, caption, L"F6"),
                 Shortcut(kMenuFindFolderInExplorer, caption, L"Ctrl+F")};
    if (state.showDelete) items.push_back(MenuEntry::Item(kMenuDeleteFolder, caption(kStrMenuDeleteFolder)));
    return items;
}

MenuEntries RootItems(const TreeMenuState& state, const CaptionSource& caption) {
    MenuEntries items{Shortcut(kMenuRefresh, caption, L"F5")};
    if (state.node == TreeMenuNode::kSmartPlaylist) {
        items.push_back(MenuEntry::Item(kMenuEditSqlQuery, caption(kStrMenuEditSqlQuery)));
    } else {
        items.push_back(Shortcut(kMenuReadTags, caption, L"F6"));
        items.push_back(MenuEntry::Item(kMenuFindFolderInExplorer, caption(kStrMenuFindFolderInExplorer)));
        MenuEntry autoload = MenuEntry::Item(kMenuAutoloadRoot, caption(kStrMenuAutoLoadRoot));
        autoload.checked = state.autoload;
        items.push_back(std::move(autoload));
    }
    items.push_back(MenuEntry::Separator());
    items.push_back(RootsSubmenu(true, caption));
    return items;
}

MenuEntry OwnerDrawn(UINT code, UINT icon, const CaptionSource& caption) {
    MenuEntry entry = MenuEntry::Item(code, caption(code));
    entry.ownerDrawn = true;
    entry.icon = icon;
    return entry;
}

}  // namespace

UINT BookmarkItemCode(size_t n) { return WithArgument(kMenuBookmarks, static_cast<UINT>(n)); }

MenuEntries BuildListMenu(const ListMenuState& state, const CaptionSource& caption) {
    MenuEntries items = PlayActions(state.play, caption);
    items.push_back(MenuEntry::Separator());
    items.push_back(MenuEntry::Submenu(kMenuFindMore, caption(kStrMenuFindMore), FindMoreItems(caption)));
    items.push_back(
        MenuEntry::Submenu(kMenuBookmarks, caption(kStrMenuBookmarks), BookmarkItems(state.bookmarks, caption)));
    items.push_back(Shortcut(kMenuFileInfo, caption, L"Alt+3"));
    items.push_back(Shortcut(kMenuGoToFolder, caption, L"Ctrl+G"));
    items.push_back(Shortcut(kMenuFindFileInExplorer, caption, L"Ctrl+F"));
    if (state.showDelete) items.push_back(MenuEntry::Item(kMenuDeleteFiles, caption(kStrMenuDeleteFiles)));
    items.push_back(MenuEntry::Separator());
    items.push_back(Shortcut(kMenuSelectAll, caption, L"Ctrl+A"));
    items.push_back(Shortcut(kMenuSelectNone, caption, L"Ctrl+D"));
    items.push_back(MenuEntry::Item(kMenuInvertSelection, caption(kStrMenuInvertSelection)));
    return items;
}

// "#" first, then the tag columns; the file name comes before the path, as users read them.
MenuEntries BuildHeaderMenu(const VisibleColumns& visible, const CaptionSource& caption) {
    struct Column {
        UINT captionId;
        UINT column;
    };
    static const Column kColumns[] = {
        {kStrColumnNumber, 0},       {kStrColumnTitle, 1},       {kStrColumnArtist, 2},
        {kStrColumnAlbum, 3},        {kStrColumnGenre, 4},       {kStrColumnComment, 5},
        {kStrColumnTrack, 6},        {kStrColumnYear, 7},        {kStrColumnLength, 8},
        {kStrColumnBitrate, 9},      {kStrColumnPlaycount, 10},  {kStrColumnLastChanged, 11},
        {kStrColumnFilesize, 12},    {kStrColumnFilename, 14},   {kStrColumnFilepath, 13},
    };
    MenuEntries items;
    for (const Column& column : kColumns) {
        MenuEntry item = MenuEntry::Item(WithArgument(kMenuToggleColumn, column.column), caption(column.captionId));
        item.checked = visible[column.column];
        items.push_back(std::move(item));
    }
    return items;
}

MenuEntries BuildTreeMenu(const TreeMenuState& state, const CaptionSource& caption) {
    MenuEntries items = PlayActions(state.play, caption);
    items.push_back(MenuEntry::Separator());
    if (state.node == TreeMenuNode::kPlaylist)
        Append(items, PlaylistNodeItems(state, caption));
    else if (state.node == TreeMenuNode::kMyLibrary)
        Append(items, MyLibraryItems(caption));
    else if (!state.isRoot)
        Append(items, SubfolderItems(state, caption));
    else
        Append(items, RootItems(state, caption));
    return items;
}

MenuEntries BuildRootMenu(bool removeEnabled, const CaptionSource& caption) {
    MenuEntry insert = OwnerDrawn(kMenuInsertRoot, kIconInsertRoot, caption);
    insert.submenu = {OwnerDrawn(kMenuInsertFolderRoot, kIconInsertFolderRoot, caption),
                      OwnerDrawn(kMenuInsertPlaylistRoot, kIconInsertPlaylistRoot, caption),
                      OwnerDrawn(kMenuInsertSmartPlaylistRoot, kIconInsertSmartPlaylistRoot, caption)};
    MenuEntry remove = OwnerDrawn(kMenuRemoveRoot, kIconRemoveRoot, caption);
    remove.greyed = !removeEnabled;
    return {std::move(insert), std::move(remove)};
}
