// The read-tags key (F6): after the user agrees, the worker reads the tags of every row of the
// list in one pass, while the list stands empty and the tree waits.
#include <windows.h>
#include <commctrl.h>

#include "bus/CommandCodes.h"
#include "scan/WorkItems.h"
#include "settings/PluginContext.h"
#include "StringIds.h"
#include "ui/view/MainView.h"
#include "ui/view/ViewCommandCodes.h"

// The rows go to the worker as they are; the view never changes a list it has handed over, so
// a sort meanwhile shows a copy and the pass reads on undisturbed.
void MainView::ReadListTags(bool everyFile) {
    UINT question = everyFile ? kStrMsgReadAllTags : kStrMsgReadUnreadTags;
    if (MessageBoxW(dialog_, GetString(question), L"Confirmation", MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    EnterBusyFromKey();
    ShowListState(kListStatusLoading);
    Ref<RowList> rows;
    {
        Lock lock(viewLock_);
        rows = currentRows_;
        listEmptiedForJob_ = true;
    }
    if (!rows) rows = Ref<RowList>::Make();
    EmptyList();
    Ref<TreeNode> node = SelectedNode();
    WPARAM mode = (everyFile ? kTagPassEveryFile : 0) |
                  (node && node->kind == NodeKind::kPlaylist ? kTagPassPlaylist : 0);
    ++pendingUpdates_;
    PostWork(kWorkFullTagPass, mode, reinterpret_cast<LPARAM>(rows.Detach()));
}
