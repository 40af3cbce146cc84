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

// Files: a file added is usually followed by modifications of the same name, which say
// nothing new, so a record with the name of the last one posted is dropped. Each other name
// is posted, also when several files are added (or removed) one after another.
std::vector<ChangeRecord> FileRecordsToPost(const std::vector<ChangeRecord>& records);
// Folders: every addition, removal and rename; a folder's modification is not a change of its
// content and is dropped.
std::vector<ChangeRecord> FolderRecordsToPost(const std::vector<ChangeRecord>& records);
