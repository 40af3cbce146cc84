// The worker's work items: thread messages carrying two arguments each. Objects passed carry
// one reference the worker releases; plain blocks are freed by the worker.
#pragma once

#include <windows.h>

enum WorkItem : UINT {
    kWorkAddFolderRoot = 3000,     // wParam: path text (with trailing backslash)
    kWorkList = 3001,              // wParam: tree node or null; lParam: search text
    kWorkSetAutoload = 3002,       // wParam: root index; lParam: 0 or 1
    kWorkAddPlaylistRoot = 3004,   // wParam: playlist path text
    kWorkVisibleTags = 3005,       // wParam: VisibleRange block; lParam: the row list shown
    kWorkRemoveRoot = 3006,        // wParam: the root, with a reference the worker takes over
    kWorkSetTypeFilter = 3007,     // wParam: option bits; lParam: TypeFilter block
    kWorkFullTagPass = 3008,       // wParam: mode; lParam: the row list shown
    kWorkQuery = 3011,             // wParam: tree node or null (unused); lParam: text beginning with "?"
    kWorkDeleteFileRow = 3028,     // wParam: non-zero to refresh; lParam: path text
    kWorkFileNotice = 3030,        // lParam: change notice
    kWorkFolderNotice = 3031,      // wParam: 1 when under the selected node; lParam: change notice
    kWorkSetCompatibility = 3032,  // lParam: 0 or 1
    kWorkSetSearchFromTop = 3033,  // lParam: 0 or 1
    kWorkCheckAvailability = 3034,
    kWorkCancelTagPass = 3035,
    kWorkStop = 3036,
    kWorkRescanFolder = 3037,      // wParam: root; lParam: folder node
    kWorkSetStripAccents = 3038,   // lParam: option bits
    kWorkSetLimitSearch = 3039,    // lParam: option bits
    kWorkVacuum = 3040,
    kWorkSetHideEmpty = 3041,      // lParam: option bits
    kWorkAddSqlRoot = 3042,        // wParam: condition text; lParam: name text
    kWorkSetTreePlaylists = 3043,  // lParam: 0 or 1
    kWorkForwardCommand = 3044,    // wParam: command code; lParam: its argument
};

constexpr UINT kFirstWorkItem = 3000;
constexpr UINT kLastWorkItem = 3044;

// The rows a visible-rows tag pass covers: first to end - 1; mode 1 for playlist entries.
struct VisibleRange {
    int first;
    int end;
    int mode;  // the range modes below, as bits
};

// The rows are a playlist's entries: their tags stay in memory, the cache is not written.
constexpr int kRangePlaylistEntries = 1;
// Rows already read are read again, waiting for no other work: the user changed their tags in
// the host's file-info dialog.
constexpr int kRangeEvenIfRead = 2;

// Full tag pass modes.
constexpr WPARAM kTagPassEveryFile = 1;
constexpr WPARAM kTagPassPlaylist = 2;
