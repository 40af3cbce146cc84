// Drops on the file list: taken only for a selected playlist, whose entries gain the files
// before the row they land on.
#include "ui/view/drop/ListDropTarget.h"

#include <commctrl.h>

#include "ui/view/ViewModel.h"
#include "ui/view/drop/DropCollector.h"
#include "ui/view/drop/DropEffect.h"
#include "ui/view/drop/DroppedEntries.h"

namespace {

bool IsPlaylistNode(const Ref<TreeNode>& node) {
    return node && node->kind == NodeKind::kPlaylist && node->playlist;
}

}  // namespace

bool ListDropTarget::TakesFiles() { return IsPlaylistNode(model_.SelectedNode()); }

DWORD ListDropTarget::OverEffect(POINT client) {
    RECT pane;
    GetClientRect(Window(), &pane);
    if (int step = EdgeScrollStep(client.y, pane.top, pane.bottom))
        SendMessageW(Window(), WM_VSCROLL, step < 0 ? SB_LINEUP : SB_LINEDOWN, 0);
    return DROPEFFECT_COPY;
}

// The row the files land on names the entry they go before. The row is matched to its entry
// rather than taken as a position, so a playlist shown sorted or narrowed by a search still
// gets them where the user saw them go. The files are gathered away from this thread: the
// drop returns at once, and the view shows the playlist again once they are in.
bool ListDropTarget::DropPaths(const std::vector<std::wstring>& paths, POINT client) {
    Ref<TreeNode> node = model_.SelectedNode();
    DropCollector* collector = model_.DropCollection();
    if (!collector || !IsPlaylistNode(node) || paths.empty() || RefusedAsReadOnly(*node->playlist)) return false;
    LVHITTESTINFO hit = {};
    hit.pt = client;
    int row = ListView_HitTest(Window(), &hit);
    DropCollection drop;
    drop.playlist = node->playlist;
    drop.paths = paths;
    drop.before = row >= 0 ? model_.RowAt(row) : Ref<FileRecord>();
    drop.lookUpFiles = true;
    drop.filter = MediaExtensionFilter();
    return collector->Collect(std::move(drop));
}
