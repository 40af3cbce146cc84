// Command codes carried in the word parameter of the command message.
#pragma once

#include <windows.h>

enum CommandCode : WPARAM {
    kCmdStartUp = 666,              // host window: build the frame and the view
    kCmdOpenPreferences = 380,      // frame: open the host preferences at the plugin's page
    kCmdRefreshList = 1001,
    kCmdShowFrame = 1034,           // frame
    kCmdFocusControl = 1042,        // argument: a control id of the view
    kCmdShowMessage = 1044,         // argument: text object
    kCmdCloseView = 1059,
    kCmdPlayingFileChanged = 1072,  // argument: text object with the path
    kCmdOpenPreferencesNow = 1122,  // frame: sent and posted
    kCmdFillSendToMenu = 1132,      // argument: address of the submenu handle
    kCmdSendEntryToPlaylist = 1133, // argument: root id << 16 | host playlist index
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
