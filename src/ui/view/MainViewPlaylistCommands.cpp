// The view's playlist editing commands: entries removed or moved, the host's playlist or one
// of its entries appended, the playlist saved, and rows bookmarked in the host's bookmark file.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/Path.h"
#include "base/SafeFormat.h"
#include "base/Text.h"
#include "bus/CommandCodes.h"
#include "bus/Messages.h"
#include "db/Listing.h"
#include "db/roots/PlaylistRoot.h"
#include "db/roots/RootsList.h"
#include "host/HostApi.h"
#include "playlists/PlaylistWrite.h"
#include "scan/TitleTag.h"
#include "settings/PluginContext.h"
#include "StringIds.h"
#include "ui/view/FolderTreeView.h"
#include "ui/view/MainView.h"
#include "ui/view/PlaybackActions.h"
#include "ui/view/ViewCommandCodes.h"
#include "ui/view/ViewPlaylistWriting.h"

namespace {

constexpr int kPlaylistImage = 5;
constexpr int kMissingPlaylistImage = 7;

// The rows left when the chosen ones go: each chosen record, by identity, once, from the front.
std::vector<Ref<FileRecord>> Without(std::vector<Ref<FileRecord>> rows, const std::vector<Ref<FileRecord>>& chosen) {
    std::unordered_map<const FileRecord*, int> toRemove;
    for (const Ref<FileRecord>& record : chosen) ++toRemove[record.get()];
    auto removed = std::remove_if(rows.begin(), rows.end(), [&](const Ref<FileRecord>& row) {
        auto found = toRemove.find(row.get());
        return found != toRemove.end() && found->second-- > 0;
    });
    rows.erase(removed, rows.end());
    return rows;
}

// Whether both hold the same records, each as often, in any order.
bool SameRecords(std::vector<Ref<FileRecord>> a, std::vector<Ref<FileRecord>> b) {
    auto byAddress = [](const Ref<FileRecord>& x, const Ref<FileRecord>& y) { return x.get() < y.get(); };
    std::sort(a.begin(), a.end(), byAddress);
    std::sort(b.begin(), b.end(), byAddress);
    return a == b;
}

struct CloseFile {
    void operator()(FILE* file) const { fclose(file); }
};

}  // namespace

// The list shows the playlist's own records, so both lose the rows. The shown list is never
// changed (the worker may be reading it): the rows left replace it.
LRESULT MainView::OnRemovePlaylistRows(LPARAM lp) {
    Ref<TreeNode> node = Ref<TreeNode>::Adopt(reinterpret_cast<TreeNode*>(lp));
    HWND list = GetDlgItem(dialog_, kListControl);
    size_t count = 0;
    Ref<RowList> rows = CurrentRows();
    if (node && node->playlist && node->playlist->EntryCount() > 0) {
        std::vector<Ref<FileRecord>> chosen = SelectedRecords();
        if (!chosen.empty()) {
            node->playlist->EditEntries([&](Playlist::Entries& entries) { entries = Without(std::move(entries), chosen); });
            node->playlist->modified = true;
            if (rows) {
                Ref<RowList> left = rows->Copy();
                left->rows = Without(std::move(left->rows), chosen);
                ReplaceShownRows(left);
            }
        }
        count = rows ? CurrentRows()->rows.size() : 0;
    }
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    ListView_SetItemCountEx(list, static_cast<int>(count), LVSICF_NOSCROLL);
    if (count == 0) ShowListState(kListStatusNoFiles);
    ListView_RedrawItems(list, ListView_GetTopIndex(list), static_cast<int>(count));
    return TRUE;
}

// Only while the list shows the whole playlist (a search hides some of its entries). The rows
// the user sees move: when the playlist is shown sorted, the shown order becomes its own order
// first, so no other entry changes place.
LRESULT MainView::OnMovePlaylistRows(LPARAM lp) {
    int step = static_cast<int>(lp) < 0 ? -1 : 1;
    Ref<TreeNode> node = SelectedNode();
    Ref<RowList> rows = CurrentRows();
    if (!node || !node->playlist || !rows) return TRUE;
    std::vector<int> selected = SelectedRowIndexes();
    int count = static_cast<int>(rows->rows.size());
    if (selected.empty() || selected.front() + step < 0 || selected.back() + step >= count) return TRUE;
    Ref<RowList> moved = rows->Copy();
    if (step > 0) std::reverse(selected.begin(), selected.end());
    for (int index : selected)
        std::swap(moved->rows[static_cast<size_t>(index)], moved->rows[static_cast<size_t>(index + step)]);
    moved->sortKey = 0;
    Playlist::Entries before = node->playlist->CopyEntries();
    if (!SameRecords(before, rows->rows)) return TRUE;
    bool unchanged = node->playlist->EditEntries([&](Playlist::Entries& entries) {
        if (entries != before) return false;
        entries = moved->rows;
        return true;
    });
    if (!unchanged) return TRUE;
    node->playlist->sortKey = 0;
    node->playlist->modified = true;
    ReplaceShownRows(moved);
    HWND list = GetDlgItem(dialog_, kListControl);
    InvalidateRect(list, nullptr, FALSE);
    InvalidateRect(ListView_GetHeader(list), nullptr, TRUE);
    int mark = ListView_GetSelectionMark(list);
    ListView_SetSelectionMark(list, mark + step);
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    for (int index : selected) ListView_SetItemState(list, index + step, LVIS_SELECTED, LVIS_SELECTED);
    PostMessageW(dialog_, kCommandMessage, kCmdReadVisibleTags, 0);
    return TRUE;
}

// Files the cache knows bring their tags; others come as bare paths.
LRESULT MainView::OnImportHostPlaylist(LPARAM) {
    Ref<TreeNode> node = SelectedNode();
    if (!node || node->kind != NodeKind::kPlaylist || !node->playlist) return TRUE;
    // The host is asked and the cache read before the entries are locked.
    Playlist::Entries added;
    for (const std::wstring& path : HostPlaylistPaths(host_)) {
        if (path.empty()) continue;
        Ref<FileRecord> record = database_ ? FindFileByPath(*database_, path) : Ref<FileRecord>();
        added.push_back(record ? record : Ref<FileRecord>::Make(std::wstring_view(path)));
    }
    if (!added.empty()) {
        node->playlist->Append(added);
        node->playlist->modified = true;
        PostMessageW(dialog_, kCommandMessage, kCmdRefreshList, 0);
    }
    return TRUE;
}

LRESULT MainView::OnSendEntryToPlaylist(LPARAM lp) {
    const auto* sent = reinterpret_cast<const SendToEntry*>(lp);
    if (!sent) return TRUE;
    long long rootId = sent->rootId;
    int index = sent->index;
    for (const Ref<Root>& root : roots_->Snapshot()) {
        if (root->Type() != RootType::kPlaylist || root->RootId() != rootId) continue;
        auto path = reinterpret_cast<const wchar_t*>(SendMessageW(host_, kHostMessage, index, kHostPlaylistEntryPath));
        Playlist* entries = static_cast<PlaylistRoot&>(*root).Entries();
        if (!path || !entries) return TRUE;
        entries->Append({Ref<FileRecord>::Make(std::wstring_view(path))});
        entries->modified = true;
        if (SelectedNode().get() == root->Node()) PostMessageW(dialog_, kCommandMessage, kCmdRefreshList, 0);
        return TRUE;
    }
    return TRUE;
}

// The selected playlist, a root or one found in a folder, is written to its file; the item
// then shows whether the file is there. A read-only file is refused before anything is asked,
// and a write that fails says so: the playlist keeps its unsaved changes.
LRESULT MainView::OnSavePlaylist(LPARAM lp) {
    Ref<TreeNode> node = SelectedNode();
    if (!node || node->kind != NodeKind::kPlaylist || !node->playlist) return TRUE;
    // The question below lets the user select another item meanwhile; the icon is this one's.
    HTREEITEM item = TreeView_GetSelection(tree_->Tree());
    const std::wstring& path = node->path;
    if (IsReadOnlyFile(path)) {
        PostMessageW(dialog_, kCommandMessage, kCmdShowMessage, PassText(GetString(kStrMsgPlaylistReadOnly)));
        return TRUE;
    }
    bool declined = false;
    PlaylistWriteOptions how = ViewPlaylistWriting(host_, SortPrefixFlags(), lp == kSaveAskingFirst);
    if (how.confirm)
        how.confirm = [ask = how.confirm, &declined] {
            declined = !ask();
            return !declined;
        };
    if (WritePlaylistFile(*node->playlist, path, how)) {
        if (tree_->NodeOf(item) == node.get())
            tree_->SetItemImage(item, PathExists(path) ? kPlaylistImage : kMissingPlaylistImage);
    } else if (!declined && node->playlist->modified) {
        PostMessageW(dialog_, kCommandMessage, kCmdShowMessage, PassText(GetString(kStrMsgPlaylistNotSaved)));
    }
    return TRUE;
}

namespace {

// A bookmark is two lines, path then title: a line break inside the title would make its rest
// the next bookmark's path.
std::wstring OneLineTitle(std::wstring title) {
    std::replace_if(title.begin(), title.end(), [](wchar_t c) { return c == L'\r' || c == L'\n'; }, L' ');
    return title;
}

}  // namespace

// Rows without a stored title are bookmarked with the one the host formats. The row itself is
// not rewritten: the worker may be reading the same record for a listing or a tag pass, and a
// row's texts change only while the worker waits for them. A path the host's 8-bit file cannot
// hold exactly would bookmark another file or none: it is left out and said.
LRESULT MainView::OnBookmarkRows(LPARAM) {
    PluginContext* context = PluginContext::Get();
    std::wstring bookmarks = context ? context->GetPath(PathKind::kBookmarkFile) : std::wstring();
    std::unique_ptr<FILE, CloseFile> file(bookmarks.empty() ? nullptr : _wfopen(bookmarks.c_str(), L"ab"));
    long long unwritable = 0;
    for (const Ref<FileRecord>& row : SelectedRecords()) {
        std::wstring title = row->TagOrEmpty(TagField::kTitle);
        if (title.empty()) title = FormatTitle(host_, *row);
        std::wstring path = row->Path();
        if (!CodePageHolds(path)) {
            ++unwritable;
            continue;
        }
        if (file) {
            std::string lines = WideToCodePage(path) + "\r\n" + WideToCodePage(OneLineTitle(title)) + "\r\n";
            fwrite(lines.data(), 1, lines.size(), file.get());
        }
    }
    if (unwritable > 0)
        PostMessageW(dialog_, kCommandMessage, kCmdShowMessage,
                     PassText(SafeFormat(GetString(kStrMsgBookmarkNotWritten), {unwritable})));
    return TRUE;
}
