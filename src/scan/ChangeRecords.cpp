// Walking FILE_NOTIFY_INFORMATION chains and the posting rules of the two watcher modes.
#include "scan/ChangeRecords.h"

#include <cstddef>

#include "base/Text.h"

namespace {
bool IsKnownAction(DWORD action) { return action >= FILE_ACTION_ADDED && action <= FILE_ACTION_RENAMED_NEW_NAME; }

// After these the file is on disk and will be read in full when the notice is applied.
bool LeavesFilePresent(DWORD action) {
    return action == FILE_ACTION_ADDED || action == FILE_ACTION_MODIFIED || action == FILE_ACTION_RENAMED_NEW_NAME;
}

// A write adds nothing to a record of the same file just posted that leaves it present. Any
// other record changes whether the file is there (a removal, a re-addition, either half of a
// rename, even one that changes only the case), and dropping it would lose that change.
bool RepeatsLastPosted(const ChangeRecord& record, const std::vector<ChangeRecord>& posted) {
    return record.action == FILE_ACTION_MODIFIED && !posted.empty() && LeavesFilePresent(posted.back().action) &&
           EqualsNoCase(record.name, posted.back().name);
}

}  // namespace

std::vector<ChangeRecord> ReadChangeRecords(const void* buffer, DWORD bytes) {
    std::vector<ChangeRecord> records;
    const auto* base = static_cast<const BYTE*>(buffer);
    const size_t header = offsetof(FILE_NOTIFY_INFORMATION, FileName);
    size_t offset = 0;
    while (buffer && offset + header <= bytes) {
        const auto* info = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(base + offset);
        if (offset + header + info->FileNameLength > bytes) break;
        records.push_back({info->Action, std::wstring(info->FileName, info->FileNameLength / sizeof(wchar_t))});
        if (info->NextEntryOffset == 0) break;
        offset += info->NextEntryOffset;
    }
    return records;
}

std::vector<ChangeRecord> FileRecordsToPost(const std::vector<ChangeRecord>& records) {
    std::vector<ChangeRecord> posted;
    for (const ChangeRecord& record : records) {
        if (!IsKnownAction(record.action)) continue;
        if (RepeatsLastPosted(record, posted)) continue;
        posted.push_back(record);
    }
    return posted;
}

std::vector<ChangeRecord> FolderRecordsToPost(const std::vector<ChangeRecord>& records) {
    std::vector<ChangeRecord> posted;
    for (const ChangeRecord& record : records)
        if (IsKnownAction(record.action) && record.action != FILE_ACTION_MODIFIED) posted.push_back(record);
    return posted;
}
