// Tree nodes as tree items: inserting them with their text, icons and state, keeping each
// item's reference to its node, finding items again and sorting siblings.
#include <windows.h>

#include <algorithm>

#include "base/Path.h"
#include "base/Text.h"
#include "ui/view/FolderTreeView.h"
#include "ui/view/TreeSort.h"
#include "ui/view/ViewModel.h"

namespace {

bool IsExistingFile(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(LongPathForm(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A name that is all extension (".m3u") keeps it rather than showing nothing.
std::wstring WithoutExtension(const std::wstring& name) {
    size_t dot = name.rfind(L'.');
    return dot == std::wstring::npos || dot == 0 ? name : name.substr(0, dot);
}

int CALLBACK CompareItems(LPARAM a, LPARAM b, LPARAM options) {
    auto* nodeA = reinterpret_cast<const TreeNode*>(a);
    auto* nodeB = reinterpret_cast<const TreeNode*>(b);
    if (!nodeA || !nodeB) return nodeA ? -1 : (nodeB ? 1 : 0);
    return CompareTreeNodes(*nodeA, *nodeB, *reinterpret_cast<const TreeSortOptions*>(options));
}

}  // namespace

std::wstring TreeItemText(const TreeNode& node, bool replaceUnderscore) {
    switch (node.kind) {
        case NodeKind::kPlaylist: return WithoutExtension(node.name);
        case NodeKind::kFolder: {
            std::wstring text = node.name;
            if (replaceUnderscore) std::replace(text.begin(), text.end(), L'_', L' ');
            return text;
        }
        default: return node.name;
    }
}

TreeItemLook LookOfNode(const TreeNode& node, bool replaceUnderscore) {
    TreeItemLook look{TreeItemText(node, replaceUnderscore), kImageSmartPlaylist, kImageSmartPlaylist, false};
    switch (node.kind) {
        case NodeKind::kFolder:
            if (IsExistingDirectory(node.path)) {
                look.image = kImageFolder;
                look.selectedImage = kImageFolderSelected;
            } else {
                look.image = look.selectedImage = kImageFolderMissing;
            }
            look.dimmed = (node.attributes & FILE_ATTRIBUTE_HIDDEN) != 0;
            break;
        case NodeKind::kPlaylist:
            look.image = look.selectedImage = IsExistingFile(node.path) ? kImagePlaylist : kImagePlaylistMissing;
            break;
        default: break;
    }
    return look;
}

HTREEITEM FolderTreeView::InsertNode(HTREEITEM parent, HTREEITEM after, TreeNode& node) {
    HTREEITEM item = InsertSubtree(parent, after, node, true);
    if (item && parent != TopItem()) SortChildren(parent);
    return item;
}

// A root's node is still being filled by the worker when the root is first shown, so only its
// own item goes in then; its children follow once the scan has handed the node over.
HTREEITEM FolderTreeView::InsertItemOnly(HTREEITEM parent, HTREEITEM after, TreeNode& node) {
    return InsertSubtree(parent, after, node, false);
}

// Each level is sorted once, after all its items are in, rather than after every insertion.
HTREEITEM FolderTreeView::InsertSubtree(HTREEITEM parent, HTREEITEM after, TreeNode& node, bool withChildren) {
    TreeItemLook look = LookOfNode(node, model_.Options().replaceUnderscore);
    TVINSERTSTRUCTW insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE | TVIF_CHILDREN | TVIF_PARAM;
    insert.item.pszText = look.text.data();
    insert.item.iImage = look.image;
    insert.item.iSelectedImage = look.selectedImage;
    insert.item.stateMask = TVIS_CUT;
    insert.item.state = look.dimmed ? TVIS_CUT : 0;
    insert.item.cChildren = withChildren ? I_CHILDRENCALLBACK : 0;
    // The item's reference, dropped when the item is deleted.
    node.AddRef();
    insert.item.lParam = reinterpret_cast<LPARAM>(&node);
    HTREEITEM item = TreeView_InsertItem(tree_, &insert);
    if (!item) {
        node.Release();
        return nullptr;
    }
    if (!withChildren) return item;
    std::vector<Ref<TreeNode>> children = node.Children();
    for (const Ref<TreeNode>& child : children) InsertSubtree(item, TVI_LAST, *child, true);
    if (!children.empty()) SortChildren(item);
    return item;
}

void FolderTreeView::SortChildren(HTREEITEM parent) {
    const MainViewOptions& options = model_.Options();
    TreeSortOptions sort{options.skipLeadingThe, options.skipLeadingSpaces};
    TVSORTCB callback = {parent, &CompareItems, reinterpret_cast<LPARAM>(&sort)};
    TreeView_SortChildrenCB(tree_, &callback, FALSE);
}

void FolderTreeView::ApplyLook(HTREEITEM item) {
    TreeNode* node = NodeOf(item);
    if (!node) return;
    TreeItemLook look = LookOfNode(*node, model_.Options().replaceUnderscore);
    TVITEMW update = {};
    update.hItem = item;
    update.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE;
    update.pszText = look.text.data();
    update.iImage = look.image;
    update.iSelectedImage = look.selectedImage;
    update.stateMask = TVIS_CUT;
    update.state = look.dimmed ? TVIS_CUT : 0;
    TreeView_SetItem(tree_, &update);
}

void FolderTreeView::SetItemImage(HTREEITEM item, int image) {
    TVITEMW update = {};
    update.hItem = item;
    update.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    update.iImage = update.iSelectedImage = image;
    TreeView_SetItem(tree_, &update);
}

TreeNode* FolderTreeView::NodeOf(HTREEITEM item) const {
    if (!item) return nullptr;
    TVITEMW query = {};
    query.hItem = item;
    query.mask = TVIF_PARAM;
    if (!TreeView_GetItem(tree_, &query)) return nullptr;
    return reinterpret_cast<TreeNode*>(query.lParam);
}

HTREEITEM FolderTreeView::FindItemByPath(const std::wstring& path) const {
    // Depth first in tree order, without recursion: trees of deep folders stay cheap.
    HTREEITEM item = TreeView_GetRoot(tree_);
    while (item) {
        if (TreeNode* node = NodeOf(item); node && EqualsNoCase(node->path, path)) return item;
        HTREEITEM next = TreeView_GetChild(tree_, item);
        while (!next && item) {
            next = TreeView_GetNextSibling(tree_, item);
            if (!next) item = TreeView_GetParent(tree_, item);
        }
        item = next;
    }
    return nullptr;
}

// Nodes know their children before the items for them exist; "My Library" has no node.
bool FolderTreeView::HasChildren(HTREEITEM item, const TreeNode* node) const {
    return node ? node->HasChildren() : TreeView_GetChild(tree_, item) != nullptr;
}

void FolderTreeView::OnGetDispInfo(NMTVDISPINFOW& info) {
    TVITEMW& item = info.item;
    auto* node = reinterpret_cast<TreeNode*>(item.lParam);
    if (item.mask & TVIF_CHILDREN) item.cChildren = HasChildren(item.hItem, node) ? 1 : 0;
    if ((item.mask & TVIF_TEXT) && node && item.pszText && item.cchTextMax > 0) {
        std::wstring text = TreeItemText(*node, model_.Options().replaceUnderscore);
        lstrcpynW(item.pszText, text.c_str(), item.cchTextMax);
    }
}

void FolderTreeView::OnDeleteItem(const NMTREEVIEWW& info) {
    if (auto* node = reinterpret_cast<TreeNode*>(info.itemOld.lParam)) node->Release();
}

// Drops the references of every item from `first` on, siblings and descendants, and clears
// the items' parameters so that their deletion later finds nothing to drop.
void FolderTreeView::ReleaseItemNodes(HTREEITEM first) {
    for (HTREEITEM item = first; item; item = TreeView_GetNextSibling(tree_, item)) {
        ReleaseItemNodes(TreeView_GetChild(tree_, item));
        if (TreeNode* node = NodeOf(item)) {
            TVITEMW clear = {};
            clear.hItem = item;
            clear.mask = TVIF_PARAM;
            clear.lParam = 0;
            TreeView_SetItem(tree_, &clear);
            node->Release();
        }
    }
}
