// Changes on disk reported by the watchers: collected while they keep coming, then handed to
// the worker one by one once the folder has been quiet for the auto-refresh wait.
#include <windows.h>
#include <commctrl.h>

#include "base/Path.h"
#include "base/Text.h"
#include "scan/ChangeNotice.h"
#include "scan/ScanWorker.h"
#include "ui/framework/Messages.h"
#include "ui/view/CommandCodes.h"
#include "ui/view/MainView.h"
#include "ui/view/SearchBox.h"
#include "ui/view/ViewCommandCodes.h"

LRESULT MainView::OnChangeNotice(WPARAM code, LPARAM lp) {
    Ref<ChangeNotice> notice = Ref<ChangeNotice>::Adopt(reinterpret_cast<ChangeNotice*>(lp));
    if (!notice || !options_.autoRefresh) return TRUE;
    if (pendingUpdates_ > 0) {
        // Replayed by the worker once the job in progress is done, so it is not lost.
        PostWork(kWorkForwardCommand, code, reinterpret_cast<LPARAM>(notice.Detach()));
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
            PostWork(kWorkFileNotice, 0, reinterpret_cast<LPARAM>(entry.notice.Detach()));
        } else {
            if (underSelection) {
                EmptyList();
                ShowListState(kListStatusLoading);
            }
            ++pendingUpdates_;
            PostWork(kWorkFolderNotice, underSelection ? 1 : 0, reinterpret_cast<LPARAM>(entry.notice.Detach()));
        }
    }
}
