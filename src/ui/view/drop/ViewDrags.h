// Drags out of the view: the list's selected rows and a tree item's folder, playlist file or
// smart playlist files, carried as a dropped-file list through the system's drag loop, which
// runs inside the begin-drag notification on the user-interface thread.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "db/FileRecord.h"
#include "db/TreeNode.h"

class CacheDatabase;
class FolderTreeView;

// Runs the drag over these paths with the effects the source allows. Answers the effect the
// drop ended with: none when refused, cancelled, or when there was nothing to drag.
DWORD DragFilesOut(const std::vector<std::wstring>& paths, DWORD allowedEffects);

// The list's begin-drag: the rows in list order, with the effects "Force drag/drop action"
// allows (bit 1 copy, bit 2 move). The tree loses any drop highlight the drag left.
void DragRowsOut(const std::vector<Ref<FileRecord>>& rows, int forcedEffects, HWND tree);

// What a tree node carries: every file a smart playlist lists now, else the node's own path (a
// folder with its trailing backslash, or the playlist file).
std::vector<std::wstring> TreeNodeDragPaths(const TreeNode& node, CacheDatabase* database);

// The tree's begin-drag: the item becomes the selected one, then its node is dragged with
// copy and move allowed. "My Library" and items without a node drag nothing.
void DragTreeItemOut(FolderTreeView& tree, HTREEITEM item, CacheDatabase* database);
