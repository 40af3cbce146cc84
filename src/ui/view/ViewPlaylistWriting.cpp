// The view's playlist write options.
#include "ui/view/ViewPlaylistWriting.h"

#include "db/RowList.h"
#include "scan/TitleTag.h"
#include "settings/PluginContext.h"
#include "StringIds.h"
#include "ui/view/RowSorting.h"

PlaylistWriteOptions ViewPlaylistWriting(HWND host, int sortPrefixFlags, bool askFirst) {
    PlaylistWriteOptions options;
    if (askFirst)
        options.confirm = [] {
            return MessageBoxW(nullptr, GetString(kStrMsgSavePlaylist), L"", MB_YESNO | MB_TOPMOST) == IDYES;
        };
    options.formatTitle = [host](const FileRecord& entry) { return FormatTitle(host, entry); };
    options.sortEntries = [sortPrefixFlags](Playlist::Entries& entries, int sortKey) {
        Ref<RowList> rows = Ref<RowList>::Make();
        rows->rows.swap(entries);
        SortRowList(*rows, sortKey, sortPrefixFlags);
        entries.swap(rows->rows);
    };
    return options;
}
