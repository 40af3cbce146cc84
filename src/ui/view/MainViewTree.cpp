// The view's side of the tree's changes that the worker reports: roots shown, loaded or not,
// folders rescanned, added or removed, and roots coming and going.
#include <windows.h>
#include <commctrl.h>

#include "base/Path.h"
#include "base/Text.h"
#include "base/TextObject.h"
#include "bus/CommandCodes.h"
#include "bus/Messages.h"
#include "db/roots/Root.h"
#include "db/roots/RootsList.h"
#include "ui/view/FolderTreeView.h"
#include "ui/view/MainView.h"
#include "ui/view/SearchBox.h"
#include "ui/view/ViewCommandCodes.h"

namespace {

constexpr int kNotLoadedImage = 4;

Ref<TreeNode> AdoptNode(LPARAM lp) { return Ref<TreeNode>::Adopt(reinterpret_cast<TreeNode*>(lp)); }

}  // namespace

HTREEITEM MainView::TopLevelItemOf(const TreeNode* node) const {
    HWND tree = tree_->Tree();
    for (HTREEITEM item = TreeView_GetChild(tree, tree_->TopItem()); item; item = TreeView_GetNextSibling(tree, item))
        if (tree_->NodeOf(item) == node) return item;
    return nullptr;
}

bool MainView::IsRootNode(const TreeNode* node) const {
    if (!node || !roots_) return false;
    for (const Ref<Root>& root : roots_->Snapshot())
        if (root->Node() == node) return true;
    return false;
}

// The folder's item among the items of the folder root that holds it.
HTREEITEM MainView::FindFolderItem(const std::wstring& path) const {
    HWND tree = tree_->Tree();
    for (HTREEITEM top = TreeView_GetChild(tree, tree_->TopItem()); top; top = TreeView_GetNextSibling(tree, top)) {
        TreeNode* node = tree_->NodeOf(top);
        if (!node || node->kind != NodeKind::kFolder) continue;
        if (!SharedPrefixEqualsNoCase(path, node->path) || path.size() < node->path.size()) continue;
        if (EqualsNoCase(path, node->path)) return top;
        std::vector<HTREEITEM> pending{top};
        while (!pending.empty()) {
            HTREEITEM item = pending.back();
            pending.pop_back();
            for (HTREEITEM child = TreeView_GetChild(tree, item); child; child = TreeView_GetNextSibling(tree, child)) {
                TreeNode* childNode = tree_->NodeOf(child);
                if (childNode && EqualsNoCase(childNode->path, path)) return child;
                pending.push_back(child);
            }
        }
    }
    return nullptr;
}

void MainView::DecrementPendingUpdates() {
    if (--pendingUpdates_ == 0) PostMessageW(dialog_, kCommandMessage, kCmdRefreshList, 0);
    ReplayHeldNotices();
}

LRESULT MainView::OnShowRoot(LPARAM lp) {
    Ref<TreeNode> node = AdoptNode(lp);
    // A small root's scan can end, and its loaded notice (sent, so handled before anything
    // posted) put the whole root in, before this posted notice arrives: nothing is left to do.
    if (node && TopLevelItemOf(node.get())) return TRUE;
    EnterBusy();
    ShowListState(kListStatusScanning);
    EmptyList();
    if (!node) return TRUE;
    tree_->InsertItemOnly(tree_->TopItem(), TVI_LAST, *node);
    TreeView_Expand(tree_->Tree(), tree_->TopItem(), TVE_EXPAND);
    return TRUE;
}

LRESULT MainView::OnRootNotLoaded(LPARAM lp) {
    Ref<TreeNode> node = AdoptNode(lp);
    EnterBusy();
    if (HTREEITEM item = TopLevelItemOf(node.get())) tree_->SetItemImage(item, kNotLoadedImage);
    return TRUE;
}

void MainView::RebuildSubtree(HTREEITEM item, TreeNode& node) {
    HWND tree = tree_->Tree();
    while (HTREEITEM child = TreeView_GetChild(tree, item)) TreeView_DeleteItem(tree, child);
    for (const Ref<TreeNode>& child : node.Children()) tree_->InsertNode(item, TVI_LAST, *child);
    TVITEMW children = {};
    children.mask = TVIF_CHILDREN;
    children.hItem = item;
    children.cChildren = I_CHILDRENCALLBACK;
    TreeView_SetItem(tree, &children);
    tree_->ApplyLook(item);
}

LRESULT MainView::OnRootLoaded(LPARAM lp) {
    Ref<TreeNode> node = AdoptNode(lp);
    if (!node || closing_) return TRUE;
    ++pendingUpdates_;
    HTREEITEM item = FindFolderItem(node->path);
    if (!item) item = TopLevelItemOf(node.get());
    if (!item && IsRootNode(node.get())) {
        // Loaded before the notice that shows it arrived: it goes in whole, children and all.
        item = tree_->InsertNode(tree_->TopItem(), TVI_LAST, *node);
        TreeView_Expand(tree_->Tree(), tree_->TopItem(), TVE_EXPAND);
    }
    if (item) {
        RebuildSubtree(item, *node);
        if (options_.unfoldRoots) TreeView_Expand(tree_->Tree(), item, TVE_EXPAND);
    }
    --pendingUpdates_;
    ReplayHeldNotices();
    return TRUE;
}

LRESULT MainView::OnFolderRescanned(LPARAM lp) {
    Ref<TreeNode> node = AdoptNode(lp);
    if (!node) return TRUE;
    HWND tree = tree_->Tree();
    HTREEITEM top = TopLevelItemOf(node.get());
    HTREEITEM item = top ? top : FindFolderItem(node->path);
    bool librarySelected = TreeView_GetSelection(tree) == tree_->TopItem();
    if (!item) return TRUE;
    if (IsExistingDirectory(node->path)) {
        RebuildSubtree(item, *node);
        if (!librarySelected) tree_->SelectItem(item);
    } else if (!top) {
        HTREEITEM parent = TreeView_GetParent(tree, item);
        if (TreeNode* parentNode = tree_->NodeOf(parent)) parentNode->RemoveChild(node.get());
        TreeView_DeleteItem(tree, item);
        tree_->SelectItem(parent);
    }
    if (!librarySelected) PostMessageW(dialog_, kCommandMessage, kCmdRefreshList, 0);
    return TRUE;
}

LRESULT MainView::OnFolderRemoved(LPARAM lp) {
    Ref<TextObject> path = AdoptText(lp);
    if (path) {
        std::wstring folder = WithTrailingBackslash(path->text);
        std::wstring parentPath = WithTrailingBackslash(ParentPath(folder.substr(0, folder.size() - 1)));
        // No parent item: the folder's root is gone from the tree (removed while the notice was
        // on its way), and nothing of it is shown any more.
        HTREEITEM parent = FindFolderItem(parentPath);
        if (TreeNode* parentNode = parent ? tree_->NodeOf(parent) : nullptr) parentNode->RemoveChild(nullptr, folder);
        if (HTREEITEM item = parent ? FindFolderItem(folder) : nullptr; item && !TopLevelItemOf(tree_->NodeOf(item))) {
            if (TreeView_GetSelection(tree_->Tree()) == item) tree_->SelectItem(parent);
            TreeView_DeleteItem(tree_->Tree(), item);
        }
    }
    DecrementPendingUpdates();
    return TRUE;
}

LRESULT MainView::OnFolderAdded(LPARAM lp) {
    Ref<TreeNode> node = AdoptNode(lp);
    if (node) {
        std::wstring parentPath = WithTrailingBackslash(ParentPath(node->path.substr(0, node->path.size() - 1)));
        // A folder goes only under a folder of a root still in the tree: one whose root was
        // removed meanwhile has no place there, least of all under "My Library".
        HTREEITEM parent = FindFolderItem(parentPath);
        TreeNode* parentNode = parent ? tree_->NodeOf(parent) : nullptr;
        if (parentNode) {
            Ref<TreeNode> shown = node;
            if (Ref<TreeNode> existing = parentNode->FindChild(node->path)) {
                existing->SetChildren(node->Children());
                shown = existing;
            } else {
                parentNode->AddChild(node);
            }
            if (HTREEITEM old = FindFolderItem(node->path)) TreeView_DeleteItem(tree_->Tree(), old);
            tree_->InsertNode(parent, TVI_LAST, *shown);
        }
    }
    DecrementPendingUpdates();
    return TRUE;
}

// A playlist file that appeared in a shown folder gets the node a scan would have given it,
// sharing the entries of a playlist root of the same file; one already shown keeps its node.
LRESULT MainView::OnPlaylistFound(LPARAM lp) {
    Ref<TextObject> path = AdoptText(lp);
    if (!path || closing_ || !options_.displayTreePlaylists) return TRUE;
    HTREEITEM folderItem = FindFolderItem(WithTrailingBackslash(ParentPath(path->text)));
    TreeNode* folder = folderItem ? tree_->NodeOf(folderItem) : nullptr;
    if (!folder || folder->FindChild(path->text)) return TRUE;
    Ref<Playlist> entries = OpenPlaylist(path->text);
    if (!entries) {
        entries = Ref<Playlist>::Make();
        entries->path = path->text;
        entries->SetNeedsLoading();
    }
    auto node = Ref<TreeNode>::Make(NodeKind::kPlaylist, path->text);
    node->playlist = entries;
    folder->AddChild(node);
    tree_->InsertNode(folderItem, TVI_LAST, *node);
    return TRUE;
}

LRESULT MainView::OnRootAvailability(LPARAM lp) {
    Ref<Root> root = Ref<Root>::Adopt(reinterpret_cast<Root*>(lp));
    EnterBusy(false);
    if (root) {
        if (HTREEITEM item = TopLevelItemOf(root->Node())) {
            bool present = root->Type() == RootType::kFolder ? IsExistingDirectory(root->Path()) : PathExists(root->Path());
            HWND tree = tree_->Tree();
            if (!present)
                while (HTREEITEM child = TreeView_GetChild(tree, item)) TreeView_DeleteItem(tree, child);
            tree_->ApplyLook(item);
        }
    }
    EnableWindow(GetDlgItem(dialog_, kTreeControl), TRUE);
    if (search_) search_->SetBusy(false);
    return TRUE;
}
