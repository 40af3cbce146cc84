// Command codes that only the view answers: roots, files and maintenance, playing, finding
// more, messages, and the option get/set codes the preferences use.
#pragma once

#include <windows.h>

enum ViewCommandCode : WPARAM {
    kCmdInsertRoot = 1004,          // argument: 0 folder, 1 playlist file, 2 smart playlist
    kCmdRemoveRoot = 1005,          // the selected root, after confirmation
    kCmdCleanDatabase = 1008,       // after a warning; reports the counts
    kCmdAddFolderRootPath = 1009,   // argument: path text
    kCmdRecycleFiles = 1025,        // argument: 0 the selected rows, non-zero the selected folder
    kCmdShowPlayingRow = 1032,
    kCmdPlayRows = 1037,            // argument: high word 1 from a double-click; low word the action
    kCmdFileInfo = 1039,            // the host's file-information dialog for each selected row
    kCmdSelectRowFolder = 1043,     // the tree item of the focused row's folder
    kCmdSetFileTypes = 1040,        // argument: TypeFilter block, owned by the receiver
    kCmdEditTags = 1055,            // repaints the focused row
    kCmdShowInExplorer = 1057,      // argument: row index
    kCmdGetAutoload = 1075,         // answers the selected root's auto-load flag
    kCmdToggleAutoload = 1076,
    kCmdSetFont = 1083,             // argument: LOGFONTW made with new, owned by the receiver
    kCmdGetFont = 1086,             // argument 1: answers the height; 0: a text object with the face
    kCmdMoveRoot = 1087,            // argument: 0 up, 1 down
    kCmdShowInformation = 1091,     // argument: text object
    kCmdAddPlaylistRootPath = 1096, // argument: path text
    kCmdFindMore = 1097,            // argument: high word 0 artist, 1 title, 2 album, 3 genre
    kCmdAddSqlRoot = 1099,          // argument: QueryDialogResult; a root when its query is not empty
    kCmdPlayRowList = 1100,         // argument: row list, played with the list's double-click action
    kCmdBookmarkRows = 1103,        // the selected rows, into the host's bookmark file
    kCmdRemovePlaylistRows = 1106,  // argument: the selected playlist node
    kCmdSavePlaylist = 1107,        // argument: kSaveAskingFirst or kSaveWithoutAsking
    kCmdImportHostPlaylist = 1109,  // appends the host's playlist to the selected playlist node
    kCmdEditSqlRoot = 1121,         // the selected smart playlist, in the query dialog
    kCmdImportRoots = 1127,         // asks for an exported file and adds its new roots
    kCmdExportRoots = 1128,         // asks for a file and writes the roots into it
    kCmdMovePlaylistRows = 1129,    // argument: -1 up, +1 down
    kCmdSetLanguage = 1123,         // argument: text object with the pack's path, or null for English
    kCmdGetLanguage = 1124,         // answers a text object with the pack's path
    kCmdAcceleratorsRegistered = 1136,
};

// The save command's argument: the menu asks first; removing a root has asked already.
enum SavePlaylistArgument : LPARAM { kSaveAskingFirst = 0, kSaveWithoutAsking = 1 };

// Option codes come in pairs; which one sets and which one gets differs from pair to pair.
enum OptionCode : WPARAM {
    kOptGetUnfoldRoots = 1028, kOptSetUnfoldRoots = 1029,
    kOptSetCompatibility = 1047, kOptGetCompatibility = 1048,
    kOptGetSearchFromTop = 1061, kOptSetSearchFromTop = 1062,
    kOptSetEmptyOnChange = 1063, kOptGetEmptyOnChange = 1064,
    kOptSetAutoRefresh = 1065, kOptGetAutoRefresh = 1066,
    kOptSetAutoRefreshWait = 1067, kOptGetAutoRefreshWait = 1068,
    kOptSetSkipLeadingThe = 1069, kOptGetSkipLeadingThe = 1070,
    kOptSetStripeShade = 1073, kOptGetStripeShade = 1074,
    kOptGetRememberSearch = 1077, kOptSetRememberSearch = 1078,
    kOptGetBlockDuplicates = 1079, kOptSetBlockDuplicates = 1080,
    kOptSetStripAccents = 1081, kOptGetStripAccents = 1082,
    kOptSetUseCustomFont = 1084, kOptGetUseCustomFont = 1085,
    kOptGetLimitSearch = 1088, kOptSetLimitSearch = 1089,
    kOptSetForceShuffleOff = 1094, kOptGetForceShuffleOff = 1095,
    kOptGetShowEmptyFiles = 1101, kOptSetHideEmptyFiles = 1102,
    kOptSetSkipLeadingSpaces = 1104, kOptGetSkipLeadingSpaces = 1105,
    kOptSetReplaceUnderscore = 1113, kOptGetReplaceUnderscore = 1114,
    kOptSetAutosavePlaylists = 1115, kOptGetAutosavePlaylists = 1116,
    kOptSetNoScanOnStartUp = 1117, kOptGetNoScanOnStartUp = 1118,
    kOptSetShowDelete = 1119, kOptGetShowDelete = 1120,
    kOptSetTreePlaylists = 1125, kOptGetTreePlaylists = 1126,
    kOptGetRememberLastFolder = 1137, kOptSetRememberLastFolder = 1138,
    kOptGetDisableTagReading = 1139, kOptSetDisableTagReading = 1140,
};

// Timers of the view's dialog.
constexpr UINT_PTR kRefreshTimer = 9999;
constexpr UINT_PTR kAutoRefreshTimer = 8888;
