// Codes of the view's menu items that the list and the tree do not run themselves: roots,
// playlists, refresh and tag reading, bookmarks and the smart playlist's query. Like the list's
// and the tree's commands they equal their captions' string ids.
#pragma once

#include <windows.h>

enum ViewMenuCode : UINT {
    kMenuInsertRoot = 3000,
    kMenuRemoveRoot = 3001,
    kMenuInsertPlaylistRoot = 3002,
    kMenuRoots = 3003,
    kMenuInsertFolderRoot = 3004,
    kMenuAutoloadRoot = 3023,
    kMenuBookmarkItems = 3026,       // caption only: the item itself returns kMenuBookmarks
    kMenuBookmarks = 3027,           // argument: 0 bookmark the selection, n play the n-th bookmark
    kMenuImportHostPlaylist = 3028,
    kMenuSavePlaylist = 3029,
    kMenuRefresh = 3030,
    kMenuInsertSmartPlaylistRoot = 3031,
    kMenuExportRoots = 3033,
    kMenuReadTags = 3034,
    kMenuRepairPlaylist = 3036,
    kMenuImportRoots = 3037,
    kMenuEditSqlQuery = 4002,
};

// The icons the root menu's items are drawn with.
enum RootMenuIcon : UINT {
    kIconInsertRoot = 114,
    kIconRemoveRoot = 116,
    kIconInsertFolderRoot = 123,
    kIconInsertPlaylistRoot = 129,
    kIconInsertSmartPlaylistRoot = 135,
};
