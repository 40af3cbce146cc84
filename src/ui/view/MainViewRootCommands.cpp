// The view's commands on roots: removing the selected one, moving it among the roots, its
// auto-load flag, a smart playlist made from the query dialog, and the root export file.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <string>

#include "base/TextObject.h"
#include "bus/CommandCodes.h"
#include "bus/Messages.h"
#include "db/roots/PlaylistRoot.h"
#include "db/roots/RootExport.h"
#include "db/roots/RootRows.h"
#include "db/roots/RootsList.h"
#include "db/roots/SqlRoot.h"
#include "host/HostApi.h"
#include "scan/WorkItems.h"
#include "settings/PluginContext.h"
#include "StringIds.h"
#include "ui/dialogs/QueryDialog.h"
#include "ui/dialogs/QueryDialogResult.h"
#include "ui/view/FileDialogs.h"
#include "ui/view/FolderTreeView.h"
#include "ui/view/MainView.h"
#include "ui/view/ViewCommandCodes.h"

// The root whose node the selected item shows, or null when the selection is not a root's
// item. Matched by node, not by place: while a removal or an addition is on its way through
// the worker, the tree's items and the roots list do not line up.
Ref<Root> MainView::SelectedRoot() const {
    TreeNode* node = tree_->NodeOf(TreeView_GetSelection(tree_->Tree()));
    if (!node || !roots_ || !TopLevelItemOf(node)) return {};
    for (const Ref<Root>& root : roots_->Snapshot())
        if (root->Node() == node) return root;
    return {};
}

LRESULT MainView::OnRemoveRoot(LPARAM) {
    Ref<Root> root = SelectedRoot();
    HTREEITEM selected = TreeView_GetSelection(tree_->Tree());
    if (!root) return TRUE;
    if (MessageBoxW(nullptr, GetString(kStrMsgRemoveRoot), L"Confirmation", MB_YESNO | MB_TOPMOST | MB_TASKMODAL) !=
        IDYES)
        return TRUE;
    // Unsaved changes of a playlist root are offered a save before its rows go. The save goes
    // through the save command, still on the selected item, so a read-only file is refused
    // there with its message rather than passing for saved; a root whose save failed stays,
    // with its changes, rather than losing them with it.
    if (root->Type() == RootType::kPlaylist) {
        Playlist* entries = static_cast<PlaylistRoot&>(*root).Entries();
        if (entries && entries->modified &&
            MessageBoxW(nullptr, GetString(kStrMsgSaveBeforeRemove), L"Confirmation", MB_YESNO | MB_ICONQUESTION) ==
                IDYES) {
            SendMessageW(dialog_, kCommandMessage, kCmdSavePlaylist, kSaveWithoutAsking);
            if (entries->modified) return TRUE;
        }
    }
    EnterBusy();
    ShowListState(kListStatusUpdatingDatabase);
    EmptyList();
    TreeView_DeleteItem(tree_->Tree(), selected);
    // The worker is told which root, not where it stood: it removes that one or, when it is
    // gone already, none.
    if (PostWork(kWorkRemoveRoot, reinterpret_cast<WPARAM>(root.get()))) root.Detach();
    return TRUE;
}

// The new order lives in the roots list and is stored at once: waiting for the system's
// shutdown query would lose it whenever the player is simply closed.
LRESULT MainView::OnMoveRoot(LPARAM lp) {
    HWND tree = tree_->Tree();
    Ref<Root> root = SelectedRoot();
    int index = root ? roots_->IndexOf(root.get()) : -1;
    if (index < 0) return TRUE;
    HTREEITEM item = TreeView_GetSelection(tree);
    bool down = lp != 0;
    int other = down ? index + 1 : index - 1;
    TreeNode* node = tree_->NodeOf(item);
    if (!node || other < 0 || !roots_->Swap(static_cast<size_t>(index), static_cast<size_t>(other))) {
        tree_->SelectItem(item);
        return TRUE;
    }
    // Down: after the item that followed; up: after the one two places above, or first.
    HTREEITEM after = TVI_FIRST;
    if (down) {
        after = TreeView_GetNextSibling(tree, item);
    } else if (HTREEITEM above = TreeView_GetPrevSibling(tree, item)) {
        if (HTREEITEM twoAbove = TreeView_GetPrevSibling(tree, above)) after = twoAbove;
    }
    Ref<TreeNode> kept(node);
    TreeView_DeleteItem(tree, item);
    if (HTREEITEM moved = tree_->InsertNode(tree_->TopItem(), after, *kept)) tree_->SelectItem(moved);
    StoreRootOrder();
    return TRUE;
}

void MainView::StoreRootOrder() {
    if (!database_) return;
    std::vector<Ref<Root>> roots = roots_->Snapshot();
    for (size_t i = 0; i < roots.size(); ++i) SetRootOrder(*database_, roots[i]->RootId(), static_cast<int>(i));
}

LRESULT MainView::OnGetAutoload(LPARAM) {
    Ref<Root> root = SelectedRoot();
    return Answer(root && root->Autoload() ? 1 : 0);
}

LRESULT MainView::OnToggleAutoload(LPARAM) {
    Ref<Root> root = SelectedRoot();
    if (!root) return TRUE;
    root->SetAutoload(!root->Autoload());
    if (database_) SetRootAutoload(*database_, root->RootId(), root->Autoload());
    return TRUE;
}

// The worker stores the root and reports it like any other new root.
LRESULT MainView::OnAddSqlRoot(LPARAM lp) {
    auto result = Ref<QueryDialogResult>::Adopt(reinterpret_cast<QueryDialogResult*>(lp));
    if (!result || result->query.empty()) return TRUE;
    EmptyList();
    PostWork(kWorkAddSqlRoot, static_cast<WPARAM>(PassText(result->query)), PassText(result->name));
    return TRUE;
}

// A new smart playlist starts from an empty dialog; the root is made by the add command.
LRESULT MainView::OnInsertSqlRoot(LPARAM) {
    QueryDialog dialog(L"", L"");
    if (!dialog.Run(dialog_)) return TRUE;
    auto result = Ref<QueryDialogResult>::Make(dialog.Name(), dialog.Query());
    if (PostMessageW(dialog_, kCommandMessage, kCmdAddSqlRoot, reinterpret_cast<LPARAM>(result.get()))) result.Detach();
    return TRUE;
}

namespace {

// The top-level item showing this root, looked up afresh: the tree may have changed while
// the dialog was open.
HTREEITEM FindRootItem(const FolderTreeView& tree, const Root& root) {
    HWND control = tree.Tree();
    for (HTREEITEM item = TreeView_GetChild(control, tree.TopItem()); item; item = TreeView_GetNextSibling(control, item))
        if (TreeNode* node = tree.NodeOf(item); node && node->root == &root) return item;
    return nullptr;
}

}  // namespace

// The root is held for the whole dialog, so a removal meanwhile cannot free it under us.
LRESULT MainView::OnEditSqlRoot(LPARAM) {
    Ref<Root> root = SelectedRoot();
    if (!root || root->Type() != RootType::kSql) return TRUE;
    auto& sqlRoot = static_cast<SqlRoot&>(*root);
    QueryDialog dialog(sqlRoot.Node() ? sqlRoot.Node()->name : std::wstring(), sqlRoot.Condition());
    if (!dialog.Run(dialog_) || dialog.Query().empty()) return TRUE;
    sqlRoot.SetCondition(dialog.Query());
    sqlRoot.SetName(dialog.Name());
    if (database_) {
        SetRootPath(*database_, root->RootId(), dialog.Query());
        SetRootName(*database_, root->RootId(), dialog.Name());
    }
    if (HTREEITEM item = FindRootItem(*tree_, *root)) tree_->ApplyLook(item);
    PostMessageW(dialog_, kCommandMessage, kCmdRefreshList, 0);
    return TRUE;
}

namespace {

const wchar_t kRootFileFilter[] = L"CV2 Exported Root File (*.cv2)\0*.cv2\0All files (*.*)\0*.*\0";
const wchar_t kExportFailedText[] = L"The roots could not be written to this file.";

std::wstring AskRootFile(HWND owner, FileDialogKind kind) {
    DWORD flags = kind == FileDialogKind::kSave ? OFN_OVERWRITEPROMPT | OFN_CREATEPROMPT : 0;
    return AskFileName(owner, kind, kRootFileFilter, L"cv2", flags);
}

}  // namespace

// A file that could not be written is said so, rather than passing for a saved export.
LRESULT MainView::OnExportRoots(LPARAM) {
    std::wstring file = AskRootFile(dialog_, FileDialogKind::kSave);
    if (file.empty()) return TRUE;
    if (!ExportRoots(file, roots_->Snapshot()))
        PostMessageW(dialog_, kCommandMessage, kCmdShowMessage, PassText(kExportFailedText));
    return TRUE;
}

// New roots are loaded by the next start, so the player is restarted when any was added.
LRESULT MainView::OnImportRoots(LPARAM) {
    std::wstring file = AskRootFile(dialog_, FileDialogKind::kOpen);
    if (file.empty() || !database_) return TRUE;
    RootImportResult result = ImportRoots(file, *database_);
    if (!result.compatible) PostMessageW(dialog_, kCommandMessage, kCmdShowMessage, PassText(kRootFileIncompatibleText));
    if (result.failed > 0) PostMessageW(dialog_, kCommandMessage, kCmdShowMessage, PassText(ImportFailureReport(result)));
    std::wstring report = ImportReport(result);
    if (!report.empty()) PostMessageW(dialog_, kCommandMessage, kCmdShowInformation, PassText(report));
    if (result.added > 0) PostMessageW(host_, kHostMessage, 0, kHostRestart);
    return TRUE;
}
