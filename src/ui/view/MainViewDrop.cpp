// Drops onto playlists as the view shows them: the files found so far in the status line while
// a drop is collected, the playlist shown again once its files are in, and Escape to stop.
#include <windows.h>

#include "base/Text.h"
#include "bus/CommandCodes.h"
#include "bus/Messages.h"
#include "settings/PluginContext.h"
#include "StringIds.h"
#include "ui/view/MainView.h"
#include "ui/view/drop/DropCollector.h"

std::unique_ptr<DropCollector> MainView::MakeDropCollector() {
    DropCollector::Events events;
    events.progress = [this](size_t found) {
        std::wstring text = FormatWithInt(GetString(kStrStatusCollecting), static_cast<long long>(found));
        SetDlgItemTextW(dialog_, kStatusLine, text.c_str());
    };
    events.collected = [this](Playlist& playlist, size_t added) { OnDropCollected(playlist, added); };
    return std::make_unique<DropCollector>(std::move(events));
}

// A shown playlist is listed again with its new entries, which puts its totals back in the
// status line; any other keeps its list, and the status line its totals.
void MainView::OnDropCollected(Playlist& playlist, size_t added) {
    Ref<TreeNode> node = SelectedNode();
    bool shown = node && node->kind == NodeKind::kPlaylist && node->playlist.get() == &playlist;
    if (shown && added > 0) PostMessageW(dialog_, kCommandMessage, kCmdRefreshList, 0);
    else ShowStatusLine(false);
}

void MainView::StopDropCollection() {
    if (dropCollector_ && dropCollector_->Stop())
        SetDlgItemTextW(dialog_, kStatusLine, GetString(kStrStatusCollectStopped));
}
