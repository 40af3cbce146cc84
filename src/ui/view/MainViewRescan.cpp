// The refresh key (F5): what the tree has selected is read from disk again while the view
// stands busy: every root from "My Library", one root, or one folder below a root (and only
// that folder: its siblings and the other roots keep what the cache holds).
#include <windows.h>
#include <commctrl.h>

#include "base/Path.h"
#include "base/TextObject.h"
#include "db/Listing.h"
#include "db/roots/PlaylistRoot.h"
#include "db/roots/Root.h"
#include "db/roots/RootsList.h"
#include "playlists/PlaylistFile.h"
#include "scan/FolderRootLoad.h"
#include "scan/MediaExtensions.h"
#include "scan/ScanWorker.h"
#include "settings/PluginContext.h"
#include "StringIds.h"
#include "bus/Messages.h"
#include "bus/CommandCodes.h"
#include "ui/view/FolderTreeView.h"
#include "ui/view/MainView.h"
#include "ui/view/SearchBox.h"
#include "ui/view/ViewCommandCodes.h"

namespace {

// A root whose folder or file is gone is left alone: reading it again would find nothing
// and drop everything the cache holds for it, say while its drive is unplugged.
bool RootPresent(const Root& root) {
    switch (root.Type()) {
        case RootType::kFolder: return IsExistingDirectory(root.Path());
        case RootType::kPlaylist: return PathExists(root.Path());
        default: return true;
    }
}

// The scan fills the node's children again from disk; nodes left below would be doubled.
void ReleaseSubtree(TreeNode& node) {
    for (const Ref<TreeNode>& child : node.Children()) ReleaseSubtree(*child);
    node.ClearChildren();
}

}  // namespace

void MainView::EnterBusyFromKey() {
    EnterBusy();
    SetFocus(GetDlgItem(dialog_, kListControl));
}

void MainView::RescanSelection() {
    if (closing_ || !tree_ || !database_ || !IsWindowEnabled(tree_->Tree())) return;
    PostMessageW(dialog_, kCommandMessage, kCmdStatusText, PassText(GetString(kStrListScanning)));
    EnterBusyFromKey();
    HTREEITEM selected = TreeView_GetSelection(tree_->Tree());
    std::vector<Ref<Root>> roots = RootsToRescan(selected);
    for (const Ref<Root>& root : roots) RescanRoot(*root);
    if (!roots.empty()) {
        // Queued behind the rescans, so the listing shows what they found.
        PostMessageW(dialog_, kCommandMessage, kCmdRefreshList, 0);
        return;
    }
    RescanBelowRoot(selected);
    LeaveBusy();
}

std::vector<Ref<Root>> MainView::RootsToRescan(HTREEITEM selected) const {
    std::vector<Ref<Root>> chosen;
    if (!roots_) return chosen;
    if (selected == tree_->TopItem()) {
        for (const Ref<Root>& root : roots_->Snapshot())
            if (RootPresent(*root)) chosen.push_back(root);
    } else if (Ref<Root> root = SelectedRoot()) {
        if (RootPresent(*root)) chosen.push_back(root);
    }
    return chosen;
}

void MainView::RescanRoot(Root& root) {
    ShowListState(kListStatusScanning);
    HTREEITEM item = TopLevelItemOf(root.Node());
    Ref<MediaExtensions> extensions = SharedMediaExtensions();
    FolderRootLoader loader(*database_, *extensions);
    switch (root.Type()) {
        case RootType::kFolder:
            // A root the worker is loading right now is left to it; the rescan queues behind.
            if (!root.Loaded()) root.TryLoad(loader, options_.displayTreePlaylists ? kLoadTreePlaylists : 0);
            // Marked gone first, so that the rescan keeps only what it finds on disk.
            MarkSubtreeGone(*database_, root.Path());
            if (item) RescanFolderItem(root, item);
            break;
        case RootType::kPlaylist:
            if (Playlist* entries = static_cast<PlaylistRoot&>(root).Entries(); entries && !SettleUnsavedEdits(*entries))
                break;
            root.Close();
            root.TryLoad(loader, 0);
            if (item) tree_->SetItemImage(item, PathExists(root.Path()) ? kImagePlaylist : kImagePlaylistMissing);
            break;
        case RootType::kSql:
            // Its rows come from the query alone: the listing that follows is all there is to do.
            EnableWindow(tree_->Tree(), TRUE);
            EnableWindow(GetDlgItem(dialog_, kClearButton), TRUE);
            if (search_) search_->SetBusy(false);
            break;
    }
}

void MainView::RescanFolderItem(Root& root, HTREEITEM item) {
    EmptyList();
    tree_->ApplyLook(item);
    HWND tree = tree_->Tree();
    while (HTREEITEM child = TreeView_GetChild(tree, item)) TreeView_DeleteItem(tree, child);
    TreeNode* node = tree_->NodeOf(item);
    if (!node) return;
    ReleaseSubtree(*node);
    Ref<Root> rootReference(&root);
    Ref<TreeNode> nodeReference(node);
    // The worker takes both references once the item is queued; otherwise they go here.
    if (worker_ && worker_->Post(kWorkRescanFolder, reinterpret_cast<WPARAM>(rootReference.get()),
                                 reinterpret_cast<LPARAM>(nodeReference.get()))) {
        rootReference.Detach();
        nodeReference.Detach();
    }
}

// A folder is read again under the root that holds it; a playlist file shown in a folder is
// read again from its file. A root that was not chosen is missing, and is left as it is.
void MainView::RescanBelowRoot(HTREEITEM selected) {
    TreeNode* node = tree_->NodeOf(selected);
    if (!node || TopLevelItemOf(node)) return;
    if (node->kind == NodeKind::kPlaylist) {
        if (node->playlist) ReloadPlaylistNode(*node);
        return;
    }
    if (node->kind != NodeKind::kFolder) return;
    HWND tree = tree_->Tree();
    for (HTREEITEM item = TreeView_GetParent(tree, selected); item; item = TreeView_GetParent(tree, item)) {
        TreeNode* above = tree_->NodeOf(item);
        if (!above || !above->root) continue;
        ShowListState(kListStatusScanning);
        RescanFolderItem(*above->root, selected);
        return;
    }
}

// F5 reads the file again, so unsaved edits are offered a save first, as when the root goes:
// Yes saves them (and a save that fails keeps them, the file unread), No lets them go.
bool MainView::SettleUnsavedEdits(Playlist& playlist) {
    if (!playlist.modified) return true;
    // The save goes to the selected playlist; any other keeps its edits and is not read again.
    Ref<TreeNode> selected = SelectedNode();
    if (!selected || selected->playlist.get() != &playlist) return false;
    if (MessageBoxW(nullptr, GetString(kStrMsgSavePlaylist), L"Confirmation", MB_YESNO | MB_ICONQUESTION | MB_TOPMOST) ==
        IDYES) {
        SendMessageW(dialog_, kCommandMessage, kCmdSavePlaylist, kSaveWithoutAsking);
        return !playlist.modified;
    }
    playlist.modified = false;
    return true;
}

void MainView::ReloadPlaylistNode(TreeNode& node) {
    Playlist& playlist = *node.playlist;
    if (!SettleUnsavedEdits(playlist)) return;
    playlist.SetEntries({});
    ReadPlaylistFile(playlist);
    // The next listing reads the file once more.
    playlist.SetNeedsLoading();
    PostMessageW(dialog_, kCommandMessage, kCmdRefreshList, 0);
}
