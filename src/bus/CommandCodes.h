// Command codes carried in the word parameter of the command message.
#pragma once

#include <windows.h>

enum CommandCode : WPARAM {
    kCmdStartUp = 666,              // host window: build the frame and the view
    kCmdOpenPreferences = 380,      // frame: open the host preferences at the plugin's page
    kCmdRefreshList = 1001,         // argument: delay in ms
    kCmdListingReady = 1002,        // argument: ListResult*, owned by the receiver
    kCmdRootLoaded = 1006,          // argument: the root's tree node
    kCmdFolderRescanned = 1007,     // argument: the folder's tree node
    kCmdShowRoot = 1031,            // argument: the root's tree node
    kCmdReadVisibleTags = 1035,     // read the tags of the rows the list shows
    kCmdStatusText = 1036,          // argument: text object
    kCmdRowTagsRead = 1041,         // argument: row index, or kRowOfReplacedList
    kCmdFileChanged = 1045,         // argument: ChangeNotice
    kCmdFolderChanged = 1046,       // argument: ChangeNotice
    kCmdFolderRemoved = 1049,       // argument: text object with the folder path
    kCmdFolderAdded = 1050,         // argument: the new folder's tree node
    kCmdPlaylistFound = 1098,       // argument: text object with the playlist file's path
    kCmdCurrentSortKey = 1053,      // answers the sort key in force for the selected node
    kCmdSortRows = 1054,            // argument: the row list, sorted by its own key or the view's
    kCmdRootAvailability = 1056,    // argument: the root
    kCmdOfferTagReading = 1058,     // argument: text object with the root path
    kCmdStartUpDone = 1060,
    kCmdRootNotLoaded = 1071,       // argument: the root's tree node
    kCmdPlaylistForPath = 1112,     // argument: path text; answers a Playlist* (one reference) or 0
    kCmdTagPassDone = 1134,
    kCmdShowFrame = 1034,           // frame
    kCmdFocusControl = 1042,        // argument: the window to focus
    kCmdShowMessage = 1044,         // argument: text object
    kCmdCloseView = 1059,
    kCmdPlayingFileChanged = 1072,  // argument: text object with the path
    kCmdOpenPreferencesNow = 1122,  // frame: sent and posted
    kCmdFillSendToMenu = 1132,      // argument: address of the submenu handle
    kCmdSendEntryToPlaylist = 1133, // argument: SendToEntry*, sent
    kCmdPlayTreeNode = 1038,        // argument: a play command 3010-3014
    // Codes the tree answers itself.
    kCmdSelectTopItem = 1010,
    kCmdGetDoubleClick = 1021,      // list and tree: answers the double-click command
    kCmdSetDoubleClick = 1022,      // list and tree: argument: the command (tree: 0 for none)
    kCmdInsertTopItem = 1090,
    kCmdClearDropHighlight = 1111,
    kCmdRunMenuCommand = 2000,      // list and tree: argument: a menu command 3010-3999
    kCmdSetListStatus = 2001,       // list: argument: a ListStatus; repaints the empty list
};

// The row-read notice for a row of a list the view no longer shows: the view counted that
// list's rows when it replaced it, before this row was read, so it counts the shown rows again.
constexpr LPARAM kRowOfReplacedList = -1;

// Commands of the list's and the tree's menus, numbered as their captions' strings.
enum MenuCommand : int {
    kMenuPlay = 3010,
    kMenuEnqueueAndPlay = 3011,
    kMenuEnqueue = 3012,
    kMenuEnqueueAfterCurrent = 3013,
    kMenuPlayAfterCurrent = 3014,
    kMenuFileInfo = 3015,
    kMenuGoToFolder = 3016,
    kMenuSelectAll = 3017,
    kMenuSelectNone = 3018,
    kMenuInvertSelection = 3019,
    kMenuEditTags = 3020,
    kMenuFindFileInExplorer = 3021,
    kMenuFindFolderInExplorer = 3022,
    kMenuDeleteFiles = 3024,
    kMenuFindMore = 3025,           // list: argument: field 0 artist, 1 title, 2 album, 3 genre
    kMenuDeleteFolder = 3032,
    kMenuToggleColumn = 3999,       // list: argument: the column to show or hide
};

// What the empty file list says; other values keep the current text and only repaint.
enum ListStatus : int {
    kListStatusNoFiles = 0,
    kListStatusLoading = 1,
    kListStatusScanning = 3,
    kListStatusReadingTags = 4,
    kListStatusRefreshRoot = 5,
    kListStatusUpdatingDatabase = 7,
    kListStatusInvalidQuery = 8,    // a condition of the user's that the database refused
};

// Controls of the view's dialog.
enum ViewControl : int {
    kViewDialogId = 101,
    kTreeControl = 1001,
    kListControl = 1002,
    kSearchControl = 1003,
    kClearButton = 1004,
    kSearchLabel = 1014,
    kStatusLine = 1019,
};

// One host playlist entry for a playlist root. Both numbers whole: packed into one word, an
// index past 65,535 or a root id past it would name another entry or another root.
struct SendToEntry {
    long long rootId;
    int index;
};
