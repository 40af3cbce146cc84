// The records of one directory-change buffer, and which of them the two watchers post.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct ChangeRecord {
    DWORD action = 0;    // 1 added, 2 removed, 3 modified, 4 old name, 5 new name
    std::wstring name;   // relative to the watched folder
};

// Reads the chained records of a filled buffer; a record that would run past the bytes
// transferred ends the walk.
std::vector<ChangeRecord> ReadChangeRecords(const void* buffer, DWORD bytes);

// Files: a file added or written is usually followed by more writes of the same name, which
// say nothing new and are dropped. Every other record is posted: each file of a burst, and each
// removal, re-addition and rename of one name, so that the last record of a name tells where
// the file ended up.
std::vector<ChangeRecord> FileRecordsToPost(const std::vector<ChangeRecord>& records);
// Folders: every addition, removal and rename; a folder's modification is not a change of its
// content and is dropped.
std::vector<ChangeRecord> FolderRecordsToPost(const std::vector<ChangeRecord>& records);
