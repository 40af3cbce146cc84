// The folders read into memory, with the marks that tell whether the cache has moved since.
#include "db/FolderCatalog.h"

#include <sqlite3.h>

#include <algorithm>
#include <limits>

#include "db/ReadMapping.h"

FolderCatalog::Stamp FolderCatalog::StampOf(sqlite3* connection) {
    Stamp stamp;
    stamp.changes = sqlite3_total_changes64(connection);
    sqlite3_stmt* version = nullptr;
    if (sqlite3_prepare_v2(connection, "PRAGMA main.data_version", -1, &version, nullptr) == SQLITE_OK &&
        sqlite3_step(version) == SQLITE_ROW)
        stamp.version = sqlite3_column_int64(version, 0);
    sqlite3_finalize(version);
    return stamp;
}

bool FolderCatalog::Current(sqlite3* connection) const {
    if (!read_ || !connection) return false;
    Stamp now = StampOf(connection);
    return now.version >= 0 && now == stamp_;
}

bool FolderCatalog::Stale(sqlite3* connection) const {
    return connection && !tooMany_ && !(StampOf(connection) == tried_);
}

void FolderCatalog::Forget() {
    entries_ = std::vector<Entry>();
    texts_ = std::wstring();
    read_ = false;
}

bool FolderCatalog::Read(sqlite3* connection) {
    Forget();
    if (!connection) return false;
    Stamp before = tried_ = StampOf(connection);
    // Read through a mapping, as a search reads: a read call per page took half the time.
    ReadMapping mapping(connection, "main", true);
    // Whether a folder's files may be listed is asked of SQLite itself, in the joined
    // statement's own terms, so that no stored value reads differently here.
    sqlite3_stmt* folders = nullptr;
    if (sqlite3_prepare_v2(connection,
                           "SELECT folderid, path, folder_exists=1 AND path IS NOT NULL FROM main.Folder "
                           "ORDER BY folderid",
                           -1, &folders, nullptr) != SQLITE_OK) {
        sqlite3_finalize(folders);
        return false;
    }
    std::vector<Entry> entries;
    std::wstring texts;
    int rc;
    while ((rc = sqlite3_step(folders)) == SQLITE_ROW) {
        const void* path = sqlite3_column_text16(folders, 1);
        size_t length = static_cast<size_t>(sqlite3_column_bytes16(folders, 1)) / sizeof(wchar_t);
        if (entries.size() >= kMostFolders || texts.size() + length > std::numeric_limits<uint32_t>::max()) {
            tooMany_ = true;
            rc = SQLITE_FULL;
            break;
        }
        entries.push_back(Entry{sqlite3_column_int64(folders, 0), static_cast<uint32_t>(texts.size()),
                                static_cast<uint32_t>(length), sqlite3_column_int(folders, 2) == 1});
        if (path) texts.append(static_cast<const wchar_t*>(path), length);
    }
    sqlite3_finalize(folders);
    // A folder written while they were read (by a trigger of our own, say) would leave the copy
    // behind from the start.
    if (rc != SQLITE_DONE || !(StampOf(connection) == before)) return false;
    entries.shrink_to_fit();
    texts.shrink_to_fit();
    entries_ = std::move(entries);
    texts_ = std::move(texts);
    stamp_ = before;
    read_ = true;
    return true;
}

const FolderCatalog::Entry* FolderCatalog::Find(long long folderId) const {
    auto at = std::lower_bound(entries_.begin(), entries_.end(), folderId,
                               [](const Entry& entry, long long id) { return entry.folderId < id; });
    return at != entries_.end() && at->folderId == folderId ? &*at : nullptr;
}
