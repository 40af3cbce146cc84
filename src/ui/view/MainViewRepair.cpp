// The view's "Repair playlist" command: the selected playlist's broken entries repaired from
// the cache, the list shown again and the outcome reported.
#include <windows.h>

#include "bus/CommandCodes.h"
#include "bus/Messages.h"
#include "db/CacheDatabase.h"
#include "db/TreeNode.h"
#include "playlists/PlaylistRepair.h"
#include "ui/view/MainView.h"
#include "ui/view/RepairQuestionBox.h"
#include "ui/view/RepairThread.h"

// A playlist root or a playlist found in a folder. The view goes on handling its messages
// while the repair looks entries up, so a second choice of the command waits for the first
// run to end. A run cut short by the view closing reports nothing.
void MainView::RepairSelectedPlaylist() {
    Ref<TreeNode> node = SelectedNode();
    if (repairRunning_ || !database_ || !node || node->kind != NodeKind::kPlaylist || !node->playlist) return;
    repairRunning_ = true;
    PlaylistRepair repair(node->playlist);
    bool finished = RunRepairOnThread(repair, database_->SharedConnection(), &AskRepairQuestion,
                                      [this] { return !closing_ && IsWindow(dialog_); });
    repairRunning_ = false;
    if (!finished) return;
    PostMessageW(dialog_, kCommandMessage, kCmdRefreshList, 0);
    MessageBoxW(nullptr, RepairReport(repair.Counter(), repair.Unreachable()).c_str(), L"", MB_OK | MB_ICONINFORMATION | MB_TOPMOST);
}
