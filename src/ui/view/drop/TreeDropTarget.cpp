// Drops on the folder tree: the highlight under the pointer, edge scrolling over empty space,
// entries appended to a playlist item, and roots added from empty space.
#include "ui/view/drop/TreeDropTarget.h"

#include <commctrl.h>

#include "base/Path.h"
#include "base/TextObject.h"
#include "bus/CommandCodes.h"
#include "bus/ViewCommands.h"
#include "ui/view/FolderTreeView.h"
#include "ui/view/ViewModel.h"
#include "ui/view/drop/DropCollector.h"
#include "ui/view/drop/DropEffect.h"
#include "ui/view/drop/DroppedEntries.h"

namespace {

bool IsPlaylistNode(const TreeNode* node) { return node && node->kind == NodeKind::kPlaylist && node->playlist; }

bool IsDroppedFolder(std::wstring path) {
    if (path.size() > 3 && path.back() == L'\\') path.pop_back();
    return IsExistingDirectory(path);
}

}  // namespace

TreeDropTarget::TreeDropTarget(FolderTreeView& tree) : FileDropTarget(tree.Tree()), tree_(tree) {}

HTREEITEM TreeDropTarget::ItemAt(POINT client) const {
    TVHITTESTINFO hit = {};
    hit.pt = client;
    return TreeView_HitTest(Window(), &hit);
}

DWORD TreeDropTarget::OverEffect(POINT client) {
    if (HTREEITEM item = ItemAt(client)) {
        TreeView_SelectDropTarget(Window(), item);
        return IsPlaylistNode(tree_.NodeOf(item)) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    }
    TreeView_SelectDropTarget(Window(), nullptr);
    RECT pane;
    GetClientRect(Window(), &pane);
    if (int step = EdgeScrollStep(client.y, pane.top, pane.bottom))
        SendMessageW(Window(), WM_VSCROLL, step < 0 ? SB_LINEUP : SB_LINEDOWN, 0);
    return DROPEFFECT_COPY;
}

void TreeDropTarget::Leave() { TreeView_SelectDropTarget(Window(), nullptr); }

bool TreeDropTarget::DropPaths(const std::vector<std::wstring>& paths, POINT client) {
    HTREEITEM item = ItemAt(client);
    if (!item) {
        DropOnEmptySpace(paths);
        return true;
    }
    TreeNode* node = tree_.NodeOf(item);
    DropCollector* collector = tree_.Model().DropCollection();
    if (!collector || !IsPlaylistNode(node) || RefusedAsReadOnly(*node->playlist)) return false;
    // The files are gathered away from this thread; the playlist is held meanwhile, as its
    // item may be deleted, and the view shows it again once they are in.
    DropCollection drop;
    drop.playlist = node->playlist;
    drop.paths = paths;
    drop.filter = MediaExtensionFilter();
    return collector->Collect(std::move(drop));
}

void TreeDropTarget::DropOnEmptySpace(const std::vector<std::wstring>& paths) const {
    for (const std::wstring& path : paths) {
        WPARAM command = EmptyTreeSpaceCommand(path, IsDroppedFolder(path), dragFromTree_);
        if (!command) continue;
        LPARAM text = PassText(path);
        if (!PostToView(command, text)) AdoptText(text);
    }
}

void TreeDropTarget::AfterDrop() {
    TreeView_SelectDropTarget(Window(), nullptr);
    dragFromTree_ = false;
}
