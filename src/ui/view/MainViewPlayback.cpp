// The view's play commands: the selected rows, everything under the selected tree node, or
// a given row list, handed to the host's playlist.
#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "bus/CommandCodes.h"
#include "db/CacheDatabase.h"
#include "db/Listing.h"
#include "db/roots/SqlRoot.h"
#include "host/HostApi.h"
#include "playlists/PlaylistFile.h"
#include "ui/view/FileListView.h"
#include "ui/view/MainView.h"
#include "ui/view/PlaybackActions.h"
#include "ui/view/ViewCommandCodes.h"

namespace {

std::vector<Ref<FileRecord>> RowsOf(const Ref<RowList>& list) {
    return list ? list->rows : std::vector<Ref<FileRecord>>();
}

}  // namespace

PlaybackActions MainView::Playback() const {
    return PlaybackActions(host_, nullptr, PlaybackOptions{options_.blockDuplicates, options_.forceShuffleOff});
}

// A double-click with "Add files ML-way" on plays the whole list, not only the selection.
LRESULT MainView::OnPlayRows(LPARAM lp) {
    bool fromDoubleClick = HIWORD(lp) == 1;
    int action = LOWORD(lp);
    if (fromDoubleClick && options_.addFilesMlWay) {
        Playback().PlayWholeList(RowsOf(CurrentRows()));
        return TRUE;
    }
    Playback().Perform(SelectedRecords(), action);
    return TRUE;
}

// A playlist plays in its stored order; anything else as the list would sort it. A playlist
// nobody listed yet is read first (through the same once-only read as the worker's), or it
// would play as empty.
LRESULT MainView::OnPlayTreeNode(LPARAM lp) {
    Ref<TreeNode> node = SelectedNode();
    ListTotals totals;
    Ref<RowList> rows;
    if (node && node->kind == NodeKind::kPlaylist) {
        rows = Ref<RowList>::Make();
        if (Ref<Playlist> playlist = node->playlist) {
            LoadPlaylistIfNeeded(*playlist);
            rows->rows = playlist->CopyEntries();
        }
    } else if (database_) {
        if (!node) {
            rows = ListFiles(*database_, {}, nullptr, totals, options_.compatibilityMode);
            database_->ReleaseListingMapping();
        } else if (node->kind == NodeKind::kFolder) {
            rows = ListFiles(*database_, {}, &node->path, totals, options_.compatibilityMode);
        } else if (node->root && node->root->Type() == RootType::kSql) {
            rows = ListQueryView(*database_, static_cast<SqlRoot*>(node->root)->Condition(), totals);
        }
        if (rows) SortUnshownRows(*rows, options_.sortKey);
    }
    Playback().Perform(RowsOf(rows), static_cast<int>(lp));
    return TRUE;
}

LRESULT MainView::OnPlayRowList(LPARAM lp) {
    Ref<RowList> rows = Ref<RowList>::Adopt(reinterpret_cast<RowList*>(lp));
    if (rows) Playback().Perform(rows->rows, list_ ? list_->DoubleClickCommand() : kMenuEnqueueAndPlay);
    return TRUE;
}
