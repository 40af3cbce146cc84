// The view's drag sources: the rows or node dragged, the data and source objects, the loop.
#include "ui/view/drop/ViewDrags.h"

#include <ole2.h>

#include "bus/CommandCodes.h"
#include "bus/Messages.h"
#include "db/Listing.h"
#include "db/roots/SqlRoot.h"
#include "ui/view/FolderTreeView.h"
#include "ui/view/drop/FileDropData.h"
#include "ui/view/drop/FileDropSource.h"
#include "ui/view/drop/TreeDropTarget.h"

DWORD DragFilesOut(const std::vector<std::wstring>& paths, DWORD allowedEffects) {
    if (paths.empty()) return DROPEFFECT_NONE;
    Ref<FileDropData> data = FileDropData::ForFiles(paths);
    if (!data) return DROPEFFECT_NONE;
    Ref<FileDropSource> source = Ref<FileDropSource>::Adopt(new FileDropSource);
    DWORD effect = DROPEFFECT_NONE;
    HRESULT result = DoDragDrop(data.get(), source.get(), allowedEffects, &effect);
    return result == DRAGDROP_S_DROP ? effect : DROPEFFECT_NONE;
}

void DragRowsOut(const std::vector<Ref<FileRecord>>& rows, int forcedEffects, HWND tree) {
    std::vector<std::wstring> paths;
    paths.reserve(rows.size());
    for (const Ref<FileRecord>& row : rows) paths.push_back(row->Path());
    DragFilesOut(paths, static_cast<DWORD>(forcedEffects) & (DROPEFFECT_COPY | DROPEFFECT_MOVE));
    if (tree) TreeView_SelectDropTarget(tree, nullptr);
}

std::vector<std::wstring> TreeNodeDragPaths(const TreeNode& node, CacheDatabase* database) {
    if (node.kind != NodeKind::kSmartPlaylist) return {node.path};
    std::vector<std::wstring> paths;
    if (!database || !node.root || node.root->Type() != RootType::kSql) return paths;
    ListTotals totals;
    Ref<RowList> rows = ListQueryView(*database, static_cast<const SqlRoot*>(node.root)->Condition(), totals);
    if (rows)
        for (const Ref<FileRecord>& row : rows->rows) paths.push_back(row->Path());
    return paths;
}

void DragTreeItemOut(FolderTreeView& tree, HTREEITEM item, CacheDatabase* database) {
    if (!item) return;
    tree.SelectItem(item);
    Ref<TreeNode> node(tree.NodeOf(item));
    if (!node) return;
    if (TreeDropTarget* target = tree.DropTarget()) target->SetDragFromTree(true);
    DragFilesOut(TreeNodeDragPaths(*node, database), DROPEFFECT_COPY | DROPEFFECT_MOVE);
    SendMessageW(tree.Tree(), kCommandMessage, kCmdClearDropHighlight, 0);
}
