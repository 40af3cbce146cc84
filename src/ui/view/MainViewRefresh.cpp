// Changes on disk reported by the watchers: collected while they keep coming, then handed to
// the worker one by one once the folder has been quiet for the auto-refresh wait. While tree
// updates are in flight they are held back and handed on once the last update is done.
#include <windows.h>
#include <commctrl.h>

#include "base/Path.h"
#include "base/Text.h"
#include "bus/CommandCodes.h"
#include "bus/Messages.h"
#include "scan/ChangeNotice.h"
#include "scan/ScanWorker.h"
#include "ui/view/MainView.h"
#include "ui/view/SearchBox.h"
#include "ui/view/ViewCommandCodes.h"

// The worker takes the notice's reference only when the item is queued; otherwise it stays
// with the caller's Ref and goes with it.
bool MainView::PostNotice(UINT item, WPARAM wp, Ref<ChangeNotice>& notice) {
    if (!worker_ || !worker_->Post(item, wp, reinterpret_cast<LPARAM>(notice.get()))) return false;
    notice.Detach();
    return true;
}

LRESULT MainView::OnChangeNotice(WPARAM code, LPARAM lp) {
    Ref<ChangeNotice> notice = Ref<ChangeNotice>::Adopt(reinterpret_cast<ChangeNotice*>(lp));
    if (!notice || !options_.autoRefresh) return TRUE;
    if (pendingUpdates_ > 0) {
        // Sending it straight back through the worker would return at once while the update
        // waits (on the user's answer, say) and bounce between the two threads meanwhile.
        heldNotices_.push_back({code, notice});
        return TRUE;
    }
    bool repeatedModification = false;
    if (notice->action == ChangeAction::kModified)
        for (const PendingNotice& pending : pendingNotices_)
            if (EqualsNoCase(pending.notice->path, notice->path)) repeatedModification = true;
    if (!repeatedModification) pendingNotices_.push_back({code, notice});
    SetTimer(dialog_, kAutoRefreshTimer, static_cast<UINT>(options_.autoRefreshWait) * 1000, nullptr);
    return TRUE;
}

// Through the worker's queue, so that the notices come back after the work it still has
// queued (a rescan posted with the last update, say) and are collected as if new.
void MainView::ReplayHeldNotices() {
    if (pendingUpdates_ > 0) return;
    std::deque<PendingNotice> held;
    held.swap(heldNotices_);
    for (PendingNotice& entry : held) PostNotice(kWorkForwardCommand, entry.code, entry.notice);
}

void MainView::DrainChangeNotices() {
    if (fileInfoLoop_) return;
    KillTimer(dialog_, kAutoRefreshTimer);
    while (!pendingNotices_.empty()) {
        PendingNotice entry = std::move(pendingNotices_.front());
        pendingNotices_.pop_front();
        bool listed = typeFilter_.count(ToLower(ExtensionOf(entry.notice->path))) != 0;
        if (listed) EnterBusy();
        Ref<TreeNode> selected = SelectedNode();
        std::wstring folder = selected && selected->kind == NodeKind::kFolder ? selected->path : std::wstring();
        bool underSelection = folder.empty() || SharedPrefixEqualsNoCase(entry.notice->path, folder);
        if (entry.code == kCmdFileChanged) {
            if (listed && underSelection) {
                EmptyList();
                ShowListState(kListStatusLoading);
            }
            PostNotice(kWorkFileNotice, 0, entry.notice);
        } else {
            if (underSelection) {
                EmptyList();
                ShowListState(kListStatusLoading);
            }
            // Counted only once queued: the worker's answer is what brings the count down.
            if (PostNotice(kWorkFolderNotice, underSelection ? 1 : 0, entry.notice)) ++pendingUpdates_;
        }
    }
}
