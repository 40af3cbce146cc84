// The view's command bus: command codes dispatched through a table to their handlers, and the
// small commands that need no family of their own.
#include <windows.h>
#include <commdlg.h>
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "base/Path.h"
#include "base/Text.h"
#include "base/TextObject.h"
#include "bus/CommandCodes.h"
#include "bus/Messages.h"
#include "bus/WindowRegistry.h"
#include "db/DatabaseLock.h"
#include "db/Listing.h"
#include "db/roots/PlaylistRoot.h"
#include "db/roots/RootsList.h"
#include "host/HostAccelerators.h"
#include "host/HostWindow.h"
#include "scan/ChangeNotice.h"
#include "scan/ScanWorker.h"
#include "settings/PluginContext.h"
#include "StringIds.h"
#include "ui/view/FileDialogs.h"
#include "ui/view/FileListView.h"
#include "ui/view/FolderTreeView.h"
#include "ui/view/MainView.h"
#include "ui/view/SearchBox.h"
#include "ui/view/ViewCommandCodes.h"

namespace {

const wchar_t kNotAvailable[] = L"n/a";
// The host playlist editor's "Send to" items: one command, told apart by the root id.
constexpr UINT kSendToMenuCommand = 3035;
constexpr size_t kSendToNameLimit = 199;

// The playlist of a playlist node with this path anywhere below "My Library". The walk goes
// through the nodes, which hold the playlists, from the roots' nodes down.
Ref<Playlist> FindTreePlaylist(const FolderTreeView& tree, const std::wstring& path) {
    HWND control = tree.Tree();
    std::vector<Ref<TreeNode>> pending;
    for (HTREEITEM item = TreeView_GetChild(control, tree.TopItem()); item; item = TreeView_GetNextSibling(control, item))
        if (TreeNode* node = tree.NodeOf(item)) pending.push_back(Ref<TreeNode>(node));
    while (!pending.empty()) {
        Ref<TreeNode> node = std::move(pending.back());
        pending.pop_back();
        if (node->kind == NodeKind::kPlaylist && node->playlist && EqualsNoCase(node->path, path)) return node->playlist;
        for (Ref<TreeNode>& child : node->Children()) pending.push_back(std::move(child));
    }
    return {};
}

std::wstring BrowseForFolder(HWND owner) {
    std::wstring title = GetString(kStrAddRootTitle);
    BROWSEINFOW info = {};
    info.hwndOwner = owner;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
    if (!chosen) return {};
    wchar_t path[MAX_PATH] = {};
    bool ok = SHGetPathFromIDListW(chosen, path);
    CoTaskMemFree(chosen);
    return ok ? std::wstring(path) : std::wstring();
}

std::wstring OpenPlaylistFile(HWND owner) {
    static const wchar_t kFilter[] =
        L"All supported playlist files (*.m3u, *.m3u8)\0*.m3u;*.m3u8\0All files (*.*)\0*.*\0";
    return AskFileName(owner, FileDialogKind::kOpen, kFilter, L"m3u", OFN_CREATEPROMPT);
}

}  // namespace

const MainView::CommandEntry MainView::kCommands[] = {
    {kCmdRefreshList, &MainView::OnRefreshList},
    {kCmdListingReady, &MainView::OnListingReady},
    {kCmdRootLoaded, &MainView::OnRootLoaded},
    {kCmdFolderRescanned, &MainView::OnFolderRescanned},
    {kCmdAddFolderRootPath, &MainView::OnAddFolderRoot},
    {kCmdShowRoot, &MainView::OnShowRoot},
    {kCmdReadVisibleTags, &MainView::OnReadVisibleTags},
    {kCmdStatusText, &MainView::OnStatusText},
    {kCmdRowTagsRead, &MainView::OnRowTagsRead},
    {kCmdFocusControl, &MainView::OnFocusWindow},
    {kCmdShowMessage, &MainView::OnShowError},
    {kCmdFolderRemoved, &MainView::OnFolderRemoved},
    {kCmdFolderAdded, &MainView::OnFolderAdded},
    {kCmdPlaylistFound, &MainView::OnPlaylistFound},
    {kCmdCurrentSortKey, &MainView::OnCurrentSortKey},
    {kCmdSortRows, &MainView::OnSortRows},
    {kCmdEditTags, &MainView::OnRepaintFocusedRow},
    {kCmdRootAvailability, &MainView::OnRootAvailability},
    {kCmdCloseView, &MainView::OnCloseView},
    {kCmdStartUpDone, &MainView::OnStartUpDone},
    {kCmdRootNotLoaded, &MainView::OnRootNotLoaded},
    {kCmdPlayingFileChanged, &MainView::OnPlayingFileChanged},
    {kCmdShowInformation, &MainView::OnShowInformation},
    {kCmdAddPlaylistRootPath, &MainView::OnAddPlaylistRoot},
    {kCmdFindMore, &MainView::OnFindMore},
    {kCmdSetFileTypes, &MainView::OnSetFileTypes},
    {kCmdPlaylistForPath, &MainView::OnPlaylistForPath},
    {kCmdFillSendToMenu, &MainView::OnFillSendToMenu},
    {kCmdTagPassDone, &MainView::OnTagPassDone},
    {kCmdAcceleratorsRegistered, &MainView::OnAcceleratorsRegistered},
    {kCmdOfferTagReading, &MainView::OnOfferTagReading},
    {kCmdFileInfo, &MainView::OnFileInfo},
    {kCmdRecycleFiles, &MainView::OnRecycleFiles},
    {kCmdSelectRowFolder, &MainView::OnSelectRowFolder},
    {kCmdShowInExplorer, &MainView::OnShowInExplorer},
    {kCmdShowPlayingRow, &MainView::OnShowPlayingRow},
    {kCmdCleanDatabase, &MainView::OnCleanDatabase},
    {kCmdRemoveRoot, &MainView::OnRemoveRoot},
    {kCmdMoveRoot, &MainView::OnMoveRoot},
    {kCmdGetAutoload, &MainView::OnGetAutoload},
    {kCmdToggleAutoload, &MainView::OnToggleAutoload},
    {kCmdAddSqlRoot, &MainView::OnAddSqlRoot},
    {kCmdEditSqlRoot, &MainView::OnEditSqlRoot},
    {kCmdImportRoots, &MainView::OnImportRoots},
    {kCmdExportRoots, &MainView::OnExportRoots},
    {kCmdPlayRows, &MainView::OnPlayRows},
    {kCmdPlayTreeNode, &MainView::OnPlayTreeNode},
    {kCmdPlayRowList, &MainView::OnPlayRowList},
    {kCmdBookmarkRows, &MainView::OnBookmarkRows},
    {kCmdRemovePlaylistRows, &MainView::OnRemovePlaylistRows},
    {kCmdSavePlaylist, &MainView::OnSavePlaylist},
    {kCmdImportHostPlaylist, &MainView::OnImportHostPlaylist},
    {kCmdMovePlaylistRows, &MainView::OnMovePlaylistRows},
    {kCmdSendEntryToPlaylist, &MainView::OnSendEntryToPlaylist},
    {kCmdSetFont, &MainView::OnSetFont},
    {kCmdGetFont, &MainView::OnGetFont},
    {kCmdSetLanguage, &MainView::OnSetLanguage},
    {kCmdGetLanguage, &MainView::OnGetLanguage},
};

LRESULT MainView::OnCommandMessage(HWND, UINT, WPARAM code, LPARAM lp) {
    if (code == kCmdFileChanged || code == kCmdFolderChanged) return OnChangeNotice(code, lp);
    if (code == kCmdInsertRoot) {
        if (lp == 0) {
            std::wstring folder = BrowseForFolder(dialog_);
            if (!folder.empty()) {
                EnableWindow(GetDlgItem(dialog_, kTreeControl), FALSE);
                PostMessageW(dialog_, kCommandMessage, kCmdAddFolderRootPath, PassText(WithTrailingBackslash(folder)));
            }
        } else if (lp == 1) {
            std::wstring file = OpenPlaylistFile(dialog_);
            if (!file.empty()) PostMessageW(dialog_, kCommandMessage, kCmdAddPlaylistRootPath, PassText(file));
        } else if (lp == 2) {
            return OnInsertSqlRoot(lp);
        }
        return TRUE;
    }
    for (const CommandEntry& entry : kCommands)
        if (entry.code == code) return (this->*entry.handler)(lp);
    LRESULT result = 0;
    if (HandleOptionCode(code, lp, result)) return Answer(result);
    return Answer(0);
}

LRESULT MainView::OnFocusWindow(LPARAM lp) {
    if (auto target = reinterpret_cast<HWND>(lp); target && IsWindow(target)) SetFocus(target);
    return TRUE;
}

// The worker never shows a box itself; it hands the text over.
LRESULT MainView::OnShowError(LPARAM lp) {
    Ref<TextObject> text = AdoptText(lp);
    if (text) MessageBoxW(nullptr, text->text.c_str(), L"Error", MB_OK | MB_ICONERROR | MB_TOPMOST);
    PostMessageW(dialog_, kCommandMessage, kCmdRefreshList, 0);
    return TRUE;
}

LRESULT MainView::OnShowInformation(LPARAM lp) {
    Ref<TextObject> text = AdoptText(lp);
    if (text) MessageBoxW(nullptr, text->text.c_str(), L"Information", MB_OK | MB_ICONINFORMATION | MB_TOPMOST);
    return TRUE;
}

LRESULT MainView::OnCloseView(LPARAM) {
    closing_ = true;
    // Before the list is closed: closing unbinds it, which would cut the bars out of its chain.
    DetachScrollbars();
    if (HWND frame = GetWindow(kFrameWindowId)) SendMessageW(frame, WM_CLOSE, 0, 0);
    PostWork(kWorkStop);
    return TRUE;
}

// The cache counts the play; the rows shown count it too, so the Playcount cell shows it at
// once. The playing row's highlight moves from the old row to the new one.
LRESULT MainView::OnPlayingFileChanged(LPARAM lp) {
    Ref<TextObject> path = AdoptText(lp);
    if (!path) return TRUE;
    Ref<RowList> rows = CurrentRows();
    std::wstring previous = std::exchange(playingPath_, path->text);
    std::vector<FileRecord*> counted;
    std::vector<int> repainted;
    for (size_t i = 0; rows && i < rows->rows.size(); ++i) {
        FileRecord& row = *rows->rows[i];
        bool playing = row.HasPath(playingPath_);
        if (!playing && (previous.empty() || !row.HasPath(previous))) continue;
        // A record listed twice is still one file played once.
        if (playing && std::find(counted.begin(), counted.end(), &row) == counted.end()) counted.push_back(&row);
        repainted.push_back(static_cast<int>(i));
    }
    {
        // The worker sets a playlist entry's count from the cache under the same lock: the play
        // lands in the cache and in the rows before or after that, never between the two.
        Lock lock(DatabaseLock());
        if (database_) CountPlay(*database_, playingPath_);
        for (FileRecord* row : counted) ++row->playCount;
    }
    HWND list = GetDlgItem(dialog_, kListControl);
    for (int index : repainted) ListView_RedrawItems(list, index, index);
    return TRUE;
}

// One item per playlist root, each put in first, so the last root stands on top; with none,
// one greyed item says so.
LRESULT MainView::OnFillSendToMenu(LPARAM lp) {
    auto* menu = reinterpret_cast<HMENU*>(lp);
    if (!menu || !*menu) return TRUE;
    int added = 0;
    if (roots_) {
        for (const Ref<Root>& root : roots_->Snapshot()) {
            if (root->Type() != RootType::kPlaylist) continue;
            std::wstring name = FileNamePart(root->Path()).substr(0, kSendToNameLimit);
            MENUITEMINFOW item = {};
            item.cbSize = sizeof item;
            item.fMask = MIIM_ID | MIIM_STRING | MIIM_DATA;
            item.wID = kSendToMenuCommand;
            item.dwItemData = static_cast<ULONG_PTR>(root->RootId());
            item.dwTypeData = name.data();
            if (InsertMenuItemW(*menu, 0, TRUE, &item)) ++added;
        }
    }
    if (added == 0) AppendMenuW(*menu, MF_STRING | MF_GRAYED, 0, kNotAvailable);
    return TRUE;
}

// The playlist already open for a path, with a reference for the caller: a playlist root's,
// else that of a playlist shown under a folder, so that the two never hold apart copies.
Ref<Playlist> MainView::OpenPlaylist(const std::wstring& path) const {
    if (roots_)
        for (const Ref<Root>& root : roots_->Snapshot())
            if (root->Type() == RootType::kPlaylist && EqualsNoCase(root->Path(), path) && root->Node()->playlist)
                return root->Node()->playlist;
    return tree_ ? FindTreePlaylist(*tree_, path) : Ref<Playlist>();
}

LRESULT MainView::OnPlaylistForPath(LPARAM lp) {
    Ref<TextObject> path = AdoptText(lp);
    if (!path || closing_) return Answer(0);
    return Answer(reinterpret_cast<LRESULT>(OpenPlaylist(path->text).Detach()));
}

LRESULT MainView::OnAddFolderRoot(LPARAM lp) {
    Ref<TextObject> path = AdoptText(lp);
    if (!path || !IsExistingDirectory(path->text)) {
        EnableWindow(GetDlgItem(dialog_, kTreeControl), TRUE);
        return TRUE;
    }
    EmptyList();
    PostWork(kWorkAddFolderRoot, static_cast<WPARAM>(PassText(WithTrailingBackslash(path->text))), 0);
    return TRUE;
}

LRESULT MainView::OnAddPlaylistRoot(LPARAM lp) {
    Ref<TextObject> path = AdoptText(lp);
    if (!path || IsExistingDirectory(path->text)) return TRUE;
    EmptyList();
    PostWork(kWorkAddPlaylistRoot, static_cast<WPARAM>(PassText(path->text)), 0);
    return TRUE;
}

LRESULT MainView::OnFindMore(LPARAM lp) {
    int field = HIWORD(lp);
    HWND list = GetDlgItem(dialog_, kListControl);
    int focused = ListView_GetNextItem(list, -1, LVNI_FOCUSED);
    Ref<FileRecord> row = focused >= 0 ? RowAt(focused) : Ref<FileRecord>();
    if (!row || field > 3) return TRUE;
    static const TagField kFields[] = {TagField::kArtist, TagField::kTitle, TagField::kAlbum, TagField::kGenre};
    search_->SetText(FindMoreText(field, row->TagOrEmpty(kFields[field])));
    return TRUE;
}

LRESULT MainView::OnSetFileTypes(LPARAM lp) {
    std::unique_ptr<TypeFilter> filter(reinterpret_cast<TypeFilter*>(lp));
    if (!filter) return TRUE;
    typeFilter_ = *filter;
    RebuildQueryFilter();
    PostWork(kWorkSetTypeFilter, static_cast<WPARAM>(ListingOptionBits()),
             reinterpret_cast<LPARAM>(new TypeFilter(typeFilter_)));
    return TRUE;
}

LRESULT MainView::OnRepaintFocusedRow(LPARAM) {
    HWND list = GetDlgItem(dialog_, kListControl);
    int focused = ListView_GetNextItem(list, -1, LVNI_FOCUSED);
    if (focused >= 0) ListView_RedrawItems(list, focused, focused);
    return TRUE;
}

// A new root was scanned: its tags can be read now, in one pass, rather than as rows scroll by.
LRESULT MainView::OnOfferTagReading(LPARAM lp) {
    Ref<TextObject> path = AdoptText(lp);
    ++pendingUpdates_;
    if (path && database_ && IsExistingDirectory(path->text) &&
        MessageBoxW(nullptr, GetString(kStrMsgReadNewRootTags), L"Confirmation",
                    MB_YESNO | MB_TOPMOST | MB_TASKMODAL) == IDYES) {
        ListTotals totals;
        std::wstring folder = WithTrailingBackslash(path->text);
        Ref<RowList> rows = ListFiles(*database_, {}, &folder, totals, false);
        PostWork(kWorkFullTagPass, 0, reinterpret_cast<LPARAM>(rows.Detach()));
        return TRUE;
    }
    --pendingUpdates_;
    ReplayHeldNotices();
    PostMessageW(dialog_, kCommandMessage, kCmdRefreshList, 0);
    return TRUE;
}

LRESULT MainView::OnAcceleratorsRegistered(LPARAM lp) { return Answer(lp == 1 && AcceleratorsRegistered() ? 1 : 0); }

LRESULT MainView::OnCommand(HWND, UINT, WPARAM wp, LPARAM) {
    switch (LOWORD(wp)) {
        case kToggleFrameCommand: HostWindow::ToggleFrame(); return TRUE;
        case kOpenPreferencesCommand:
            if (HWND frame = GetWindow(kFrameWindowId)) PostMessageW(frame, kCommandMessage, kCmdOpenPreferencesNow, 0);
            return TRUE;
        case kSearchControl:
            if (HIWORD(wp) == EN_CHANGE) PostMessageW(dialog_, kCommandMessage, kCmdRefreshList, 500);
            return TRUE;
        case kClearButton:
            if (HIWORD(wp) == BN_CLICKED && search_) search_->SetText(L"");
            return TRUE;
        default: return FALSE;
    }
}
