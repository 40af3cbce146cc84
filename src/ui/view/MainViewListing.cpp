// The view's listing: the refresh timer, the worker's answer replacing the rows, sorting, tags
// of the rows shown, the status line, and the tree selection that starts it all.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <utility>

#include "base/SafeFormat.h"
#include "base/TextObject.h"
#include "bus/CommandCodes.h"
#include "bus/Messages.h"
#include "db/roots/SqlRoot.h"
#include "scan/ScanWorker.h"
#include "scan/TagRequest.h"
#include "settings/PluginContext.h"
#include "settings/TreeSettings.h"
#include "StringIds.h"
#include "ui/skin/SkinScrollbars.h"
#include "ui/view/FileListView.h"
#include "ui/view/FolderTreeView.h"
#include "ui/view/MainView.h"
#include "ui/view/RowSorting.h"
#include "ui/view/SearchBox.h"
#include "ui/view/SortKeys.h"
#include "ui/view/ViewCommandCodes.h"

namespace {

constexpr long long kMegabyte = 1LL << 20;
constexpr long long kGigabyte = 1LL << 30;
constexpr int kNotLoadedImage = 4;

int ItemImage(HWND tree, HTREEITEM item) {
    TVITEMW info = {};
    info.mask = TVIF_IMAGE;
    info.hItem = item;
    return item && TreeView_GetItem(tree, &info) ? info.iImage : -1;
}

}  // namespace

Ref<FileRecord> MainView::RowAt(int index) {
    Lock lock(viewLock_);
    if (!currentRows_ || index < 0 || static_cast<size_t>(index) >= currentRows_->rows.size()) return {};
    return currentRows_->rows[static_cast<size_t>(index)];
}

std::vector<int> MainView::SelectedRowIndexes() const {
    HWND list = GetDlgItem(dialog_, kListControl);
    std::vector<int> rows;
    for (int i = ListView_GetNextItem(list, -1, LVNI_SELECTED); i >= 0; i = ListView_GetNextItem(list, i, LVNI_SELECTED))
        rows.push_back(i);
    return rows;
}

std::vector<Ref<FileRecord>> MainView::SelectedRecords() {
    std::vector<Ref<FileRecord>> records;
    for (int index : SelectedRowIndexes())
        if (Ref<FileRecord> row = RowAt(index)) records.push_back(std::move(row));
    return records;
}

Ref<RowList> MainView::CurrentRows() {
    Lock lock(viewLock_);
    return currentRows_;
}

Ref<TreeNode> MainView::SelectedNode() { return tree_ ? tree_->SelectedNode() : Ref<TreeNode>(); }

// A refresh without delay runs at once when nothing else waits in the queue: a timer fires no
// sooner than some ten milliseconds, which a user who picked a node sees as a pause before the
// list fills. With messages queued (a burst of requests, a tree update) the timer stays, and
// fires once they are handled, so the burst still makes one listing. (Asking the queue marks its
// messages as seen; the view's own waits ask for input available, not new input, so none stalls.)
LRESULT MainView::OnRefreshList(LPARAM lp) {
    {
        Lock lock(viewLock_);
        listEmptiedForJob_ = false;
    }
    if (lp <= 0 && pendingUpdates_ == 0 && HIWORD(GetQueueStatus(QS_POSTMESSAGE)) == 0) {
        RunRefresh();
        return TRUE;
    }
    SetTimer(dialog_, kRefreshTimer, static_cast<UINT>(std::max<LPARAM>(lp, 0)), nullptr);
    return TRUE;
}

// One refresh for a burst of requests; none while the tree is being rebuilt.
void MainView::RunRefresh() {
    if (pendingUpdates_ > 0) return;
    KillTimer(dialog_, kRefreshTimer);
    queryStart_ = GetTickCount();
    Ref<TreeNode> node = SelectedNode();
    std::wstring text = search_ ? search_->Text() : std::wstring();
    bool query = !text.empty() && text[0] == L'?';
    PostWork(query ? kWorkQuery : kWorkList, reinterpret_cast<WPARAM>(node.Detach()), PassText(text));
}

LRESULT MainView::OnListingReady(LPARAM lp) {
    std::unique_ptr<ListResult> result(reinterpret_cast<ListResult*>(lp));
    HWND list = GetDlgItem(dialog_, kListControl);
    ListView_SetItemCountEx(list, 0, 0);
    Ref<RowList> rows = result && result->rows ? result->rows : Ref<RowList>::Make();
    HTREEITEM selected = TreeView_GetSelection(GetDlgItem(dialog_, kTreeControl));
    Ref<TreeNode> node = SelectedNode();
    // Playlists and smart playlists are sorted by their own key (0 keeps their stored order),
    // everything else by the view's. The new rows are nobody else's yet, so they sort in place.
    if (selected) SortUnshownRows(*rows, SortKeyInEffect(node.get(), options_.sortKey));
    ShowRows(rows);
    if (worker_) worker_->Wake();
    ListView_SetItemCountEx(list, static_cast<int>(rows->rows.size()), LVSICF_NOINVALIDATEALL);
    if (node && node->scrollPosition > 0 && !rows->rows.empty()) {
        // The position was saved in rows; scrolling a report list takes pixels.
        RECT row = {};
        ListView_GetItemRect(list, 0, &row, LVIR_BOUNDS);
        ListView_Scroll(list, 0, node->scrollPosition * (row.bottom - row.top));
    }
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    if (rows->rows.empty()) {
        int image = ItemImage(GetDlgItem(dialog_, kTreeControl), selected);
        // A condition the database refused says so, rather than passing for one that matched nothing.
        bool rejected = result && result->totals.rejected;
        ShowListState(rejected ? kListStatusInvalidQuery
                               : image == kNotLoadedImage ? kListStatusRefreshRoot : kListStatusNoFiles);
    }
    totals_ = result ? result->totals : ListTotals();
    countedThroughStamp_ = LastTagStamp();
    ShowStatusLine(true);
    LeaveBusy();
    EnableWindow(list, TRUE);
    PostMessageW(dialog_, kCommandMessage, kCmdReadVisibleTags, 0);
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    return TRUE;
}

void MainView::ShowRows(Ref<RowList> rows) {
    Ref<RowList> old;
    {
        Lock lock(viewLock_);
        old = std::exchange(currentRows_, std::move(rows));
    }
    // The old list's notices still queued precede any of the new one's: the new list's passes
    // are posted after this. Retiring it stops its pass from posting more.
    if (old) staleRowNotices_ += old->Retire() - rowNoticesHandled_;
    rowNoticesHandled_ = 0;
}

void MainView::ReplaceShownRows(Ref<RowList> rows) {
    ShowRows(rows);
    // The skipped notices of the old list counted rows its pass read; the rows themselves
    // know which are read.
    RecountShownTotals();
}

void MainView::RecountShownTotals() {
    Ref<RowList> rows = CurrentRows();
    // Rows read from now on are counted by their notices; rows read before, here.
    countedThroughStamp_ = LastTagStamp();
    ListTotals totals;
    if (rows)
        for (const Ref<FileRecord>& row : rows->rows) totals.Add(*row);
    totals_ = totals;
    ShowStatusLine(false);
}

// Sizes below 2^30 bytes are megabytes and 2^30 is a gigabyte. The size is cut, not rounded, to
// two decimals, so a byte short of a gigabyte never reads "1024.00 MB".
void MainView::ShowStatusLine(bool withQueryTime) {
    size_t count = 0;
    {
        Lock lock(viewLock_);
        count = currentRows_ ? currentRows_->rows.size() : 0;
    }
    std::wstring format = GetString(kStrStatusFiles);
    bool timed = withQueryTime && options_.showQueryTimes;
    if (timed) format = SafeFormat(L"%s (%s %%d ms)", {format, std::wstring(GetString(kStrStatusQueryTook))});
    bool giga = totals_.bytes >= kGigabyte;
    long long hundredths = std::max(totals_.bytes, 0LL) * 100 / (giga ? kGigabyte : kMegabyte);
    double size = static_cast<double>(hundredths) / 100.0;
    unsigned seconds = totals_.seconds;
    std::vector<FormatArg> args = {static_cast<long long>(totals_.known), static_cast<long long>(count),
                                   static_cast<long long>(seconds / 3600), static_cast<long long>(seconds / 60 % 60),
                                   static_cast<long long>(seconds % 60),
                                   std::wstring(static_cast<size_t>(totals_.known) != count ? L"+" : L""),
                                   size, giga ? L'G' : L'M'};
    if (timed) args.push_back(static_cast<long long>(GetTickCount() - queryStart_));
    SetDlgItemTextW(dialog_, kStatusLine, SafeFormat(format, args).c_str());
}

LRESULT MainView::OnRowTagsRead(LPARAM lp) {
    // Posted after every notice of the replaced list, so none of those is still queued.
    if (lp == kRowOfReplacedList) {
        RecountShownTotals();
        InvalidateRect(GetDlgItem(dialog_, kListControl), nullptr, FALSE);
        return TRUE;
    }
    // Notices of a list no longer shown name rows in its order, not in the shown one.
    if (staleRowNotices_ > 0) {
        --staleRowNotices_;
        return TRUE;
    }
    ++rowNoticesHandled_;
    int index = static_cast<int>(lp);
    Ref<FileRecord> row = RowAt(index);
    if (!row) return TRUE;
    HWND list = GetDlgItem(dialog_, kListControl);
    int top = ListView_GetTopIndex(list);
    if (index >= top && index <= top + ListView_GetCountPerPage(list)) ListView_RedrawItems(list, index, index);
    // A read that failed leaves the row as it was: "scanned" counts rows whose tags are known.
    // A row read before the shown rows were last counted is in the count already.
    if (!TaggedSince(*row, countedThroughStamp_)) return TRUE;
    totals_.seconds += LengthSeconds(*row);
    ++totals_.known;
    ShowStatusLine(false);
    return TRUE;
}

int MainView::SortPrefixFlags() const {
    return (options_.skipLeadingThe ? kSortSkipLeadingThe : 0) | (options_.skipLeadingSpaces ? kSortSkipLeadingSpaces : 0);
}

void MainView::SortUnshownRows(RowList& rows, int key) const {
    SortRowList(rows, key, SortPrefixFlags());
    rows.sortKey = key;
}

// The worker may be reading the shown rows this moment, so they are never reordered: a sorted
// copy takes their place.
Ref<RowList> MainView::SortShownRows(int key) {
    Ref<RowList> shown = CurrentRows();
    if (!shown) return {};
    Ref<RowList> sorted = shown->Copy();
    SortRowList(*sorted, key != 0 ? key : options_.sortKey, SortPrefixFlags());
    sorted->sortKey = key;
    ReplaceShownRows(sorted);
    InvalidateRect(GetDlgItem(dialog_, kListControl), nullptr, FALSE);
    PostMessageW(dialog_, kCommandMessage, kCmdReadVisibleTags, 0);
    return sorted;
}

// Only the shown rows are sorted here: any other list may be in the worker's hands.
LRESULT MainView::OnSortRows(LPARAM lp) {
    Ref<RowList> rows = Ref<RowList>::Adopt(reinterpret_cast<RowList*>(lp));
    if (rows && rows == CurrentRows()) SortShownRows(rows->sortKey);
    return TRUE;
}

LRESULT MainView::OnCurrentSortKey(LPARAM) {
    Ref<TreeNode> node = SelectedNode();
    return Answer(SortKeyInEffect(node.get(), options_.sortKey));
}

LRESULT MainView::OnReadVisibleTags(LPARAM) {
    if (options_.disableTagReading) return TRUE;
    HWND list = GetDlgItem(dialog_, kListControl);
    int count = ListView_GetItemCount(list);
    int top = ListView_GetTopIndex(list);
    Ref<TreeNode> node = SelectedNode();
    auto* range = new VisibleRange{top, std::min(top + ListView_GetCountPerPage(list) + 1, count),
                                   node && node->kind == NodeKind::kPlaylist ? kRangePlaylistEntries : 0};
    Ref<RowList> rows = CurrentRows();
    if (!rows) {
        delete range;
        return TRUE;
    }
    PostWork(kWorkVisibleTags, reinterpret_cast<WPARAM>(range), reinterpret_cast<LPARAM>(rows.Detach()));
    return TRUE;
}

LRESULT MainView::OnStatusText(LPARAM lp) {
    Ref<TextObject> text = AdoptText(lp);
    if (text) SetDlgItemTextW(dialog_, kStatusLine, text->text.c_str());
    return TRUE;
}

LRESULT MainView::OnTagPassDone(LPARAM) {
    --pendingUpdates_;
    ReplayHeldNotices();
    PostMessageW(dialog_, kCommandMessage, kCmdRefreshList, 0);
    return TRUE;
}

LRESULT MainView::OnStartUpDone(LPARAM) {
    EnableWindow(GetDlgItem(dialog_, kTreeControl), TRUE);
    EnableWindow(GetDlgItem(dialog_, kListControl), TRUE);
    if (search_) search_->SetBusy(false);
    HTREEITEM target = nullptr;
    if (options_.rememberLastFolder) {
        std::wstring folder = LoadTreeFolder(settings_);
        if (!folder.empty()) target = tree_->FindItemByPath(folder.substr(0, kSearchTextLimit));
    }
    if (!target) target = tree_->TopItem();
    tree_->SelectItem(target);
    // Selecting the item that is already selected changes nothing and lists nothing; the first
    // listing must come all the same, or the view would stay busy.
    PostMessageW(dialog_, kCommandMessage, kCmdRefreshList, 0);
    return TRUE;
}

void MainView::OnSelectionChanged(const NMTREEVIEWW& change) {
    HWND list = GetDlgItem(dialog_, kListControl);
    if (TreeNode* old = tree_->NodeOf(change.itemOld.hItem)) old->scrollPosition = skinbars::GetScrollPos(list, SB_VERT);
    ShowListState(kListStatusLoading);
    if (options_.emptyOnChange && !suppressFirstClear_ && search_) search_->SetText(L"");
    suppressFirstClear_ = false;
    ListView_SetItemCountEx(list, 0, 0);
    PostMessageW(dialog_, kCommandMessage, kCmdRefreshList, 0);
}

void MainView::Cancel() {
    bool emptied;
    {
        Lock lock(viewLock_);
        emptied = listEmptiedForJob_;
        listEmptiedForJob_ = false;
    }
    PostWork(kWorkCancelTagPass);
    StopDropCollection();
    if (emptied) PostMessageW(dialog_, kCommandMessage, kCmdRefreshList, 0);
}
