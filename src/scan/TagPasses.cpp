// The worker's tag passes: the rows the user sees, read quickly and giving way to any other
// work, and every row of a list, with progress and a way to cancel.
#include <algorithm>
#include <memory>

#include "base/Text.h"
#include "base/TextObject.h"
#include "bus/CommandCodes.h"
#include "bus/ViewCommands.h"
#include "db/CacheDatabase.h"
#include "db/RowList.h"
#include "db/TagRows.h"
#include "scan/ScanWorker.h"
#include "scan/TagRequest.h"
#include "settings/PluginContext.h"
#include "StringIds.h"

namespace {
constexpr unsigned kVisibleRowTimeoutMs = 2000;
constexpr unsigned kEditedRowTimeoutMs = 3000;
constexpr unsigned kFullPassTimeoutMs = 10000;
const wchar_t kNotReadFormat[] = L"%d file(s) was not read properly.";
}  // namespace

// The view may show a new order of the rows (or other rows) at any moment; it then retires
// this list, and the pass ends: its row indexes would name the wrong rows.
void ScanWorker::OnVisibleTags(WPARAM wp, LPARAM lp) {
    std::unique_ptr<VisibleRange> range(reinterpret_cast<VisibleRange*>(wp));
    Ref<RowList> list = Ref<RowList>::Adopt(reinterpret_cast<RowList*>(lp));
    if (!range || !list) return;
    int end = std::min(range->end, static_cast<int>(list->rows.size()));
    bool edited = (range->mode & kRangeEvenIfRead) != 0;
    bool inTransaction = false;
    for (int i = std::max(range->first, 0); i < end; ++i) {
        // Scrolling on, or any other request, matters more than the rows already left behind.
        if ((!edited && OtherWorkWaiting()) || list->Retired()) break;
        FileRecord& record = *list->rows[static_cast<size_t>(i)];
        if ((record.tagged && !edited) || record.remote) continue;
        bool read = RequestTags(record, edited ? kEditedRowTimeoutMs : kVisibleRowTimeoutMs);
        if (read && !(range->mode & kRangePlaylistEntries)) {
            // A batch, not a transaction held to the end: the host may take seconds per row, and
            // a play the view counts meanwhile must reach the disk at once.
            if (!inTransaction) database_->Sql().BeginBatch();
            inTransaction = true;
            WriteTags(*database_, record);
        }
        if (!list->PostRowNotice([i] { return PostToView(kCmdRowTagsRead, i); })) {
            if (read) PostToView(kCmdRowTagsRead, kRowOfReplacedList);
            break;
        }
    }
    if (inTransaction) database_->Sql().Commit();
}

void ScanWorker::OnFullTagPass(WPARAM wp, LPARAM lp) {
    Ref<RowList> list = Ref<RowList>::Adopt(reinterpret_cast<RowList*>(lp));
    if (!list) return;
    // A pass over a large list lasts minutes: its writes are batched, not held in one
    // transaction to the end, so what was read survives a crash and the view's writes meanwhile
    // reach the disk at once.
    database_->Sql().BeginBatch();
    int failures = 0;
    size_t count = list->rows.size();
    for (size_t i = 0; i < count; ++i) {
        if (CancelWaiting()) break;
        FileRecord& record = *list->rows[i];
        if ((wp & kTagPassEveryFile) || (!record.tagged && !record.remote)) {
            if (RequestTags(record, kFullPassTimeoutMs)) WriteTags(*database_, record);
            else ++failures;
        }
        if (i % 2 == 0) {
            int percent = static_cast<int>(static_cast<double>(i) / static_cast<double>(count) * 100.0);
            PostToView(kCmdStatusText, PassText(FormatWithInt(GetString(kStrStatusProcessFiles), percent)));
            Sleep(1);
        }
    }
    database_->Sql().Commit();
    PostToView(kCmdTagPassDone, 0);
    if (failures > 0) PostToView(kCmdShowMessage, PassText(FormatWithInt(kNotReadFormat, failures)));
}
