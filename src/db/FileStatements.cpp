// The statements on single files and on the whole Files table: play counts, the stored record
// of a path, marking a root's subtree gone before a rescan, duplicate cleaning and compaction.
#include <sqlite3.h>

#include "db/CacheDatabase.h"
#include "db/DatabaseLock.h"
#include "db/LikePattern.h"
#include "db/Listing.h"

namespace {

enum FileColumn {
    kFileId = 1,
    kFullPath = 2,
    kTitle = 3,  // then artist, album, genre, comment in TagField order
    kTrack = 8,
    kYear,
    kLength,
    kBitrate,
    kPlayCount,
    kChanged,
    kSize,
    kTagged,
};

std::optional<std::wstring> TextOf(const Statement::RowView& row, int column) {
    auto text = row.Text(column);
    return text ? std::optional<std::wstring>(std::wstring(*text)) : std::nullopt;
}

Ref<FileRecord> ReadFileRow(const Statement::RowView& row) {
    auto record = Ref<FileRecord>::Make(TextOf(row, kFullPath).value_or(L""));
    TagTexts tags;
    for (int i = 0; i < kTagFieldCount; ++i) tags[i] = TextOf(row, kTitle + i);
    record->SetTags(tags);
    record->fileId = row.Int64(kFileId);
    record->track = row.Int(kTrack);
    record->year = row.Int(kYear);
    record->length = row.Int(kLength);
    record->bitrate = row.Int(kBitrate);
    record->playCount = row.Int(kPlayCount);
    record->changed = row.Int64(kChanged);
    record->size = row.Int64(kSize);
    record->tagged = row.Int(kTagged) != 0;
    record->folderId = -1;
    return record;
}

long long StepCount(sqlite3_stmt* count) {
    long long rows = sqlite3_step(count) == SQLITE_ROW ? sqlite3_column_int64(count, 0) : 0;
    // An open read would keep VACUUM from running.
    sqlite3_reset(count);
    return rows;
}

}  // namespace

// A scan stores new files without a play count; counting from NULL would give NULL again and
// every play of a file whose tags were not read yet would be lost.
void CountPlay(CacheDatabase& database, const std::wstring& path) {
    Lock lock(DatabaseLock());
    Statement& sql = database.Sql();
    sql.SetSql(L"UPDATE Files SET playcount=IFNULL(playcount,0)+1 WHERE fileid=(SELECT f.fileid FROM Files f, Folder fo "
               L"WHERE f.folderid=fo.folderid AND (fo.path || f.filename)=:path)");
    sql.BindTextByName(L":path", path.c_str());
    sql.Execute();
}

Ref<FileRecord> FindFileByPath(CacheDatabase& database, const std::wstring& path) {
    Lock lock(DatabaseLock());
    Statement& sql = database.Sql();
    sql.SetSql(L"SELECT f.fileid, fo.path || f.filename, f.title, f.artist, f.album, f.genre, f.comment, f.track, "
               L"f.year, f.length, f.bitrate, f.playcount, f.changed, f.size, f.tagged FROM Files f, Folder fo "
               L"WHERE f.file_exists=1 AND (fo.path || f.filename)=:PATH AND f.folderid=fo.folderid");
    sql.BindTextByName(L":PATH", path.c_str());
    Ref<FileRecord> record;
    if (sql.Execute() == Statement::kOk && sql.NextRow()) record = ReadFileRow(sql.Row());
    sql.Finish();
    return record;
}

// The root's path is matched as a prefix with its wildcards escaped: a root "D:\a_b\" must
// not mark the folders of a sibling "D:\axb\" gone.
void MarkSubtreeGone(CacheDatabase& database, const std::wstring& rootPath) {
    Lock lock(DatabaseLock());
    Statement& sql = database.Sql();
    std::wstring pattern = EscapeLike(rootPath);
    sql.SetSql(L"UPDATE Files SET file_exists=0 WHERE folderid IN (SELECT folderid FROM Folder WHERE path LIKE "
               L":PATTERN || '%' ESCAPE '!' AND path<>:PATH)");
    sql.BindTextByName(L":PATTERN", pattern.c_str());
    sql.BindTextByName(L":PATH", rootPath.c_str());
    sql.Execute();
    sql.SetSql(L"UPDATE Folder SET folder_exists=0 WHERE path LIKE :PATTERN || '%' ESCAPE '!' AND path<>:PATH");
    sql.BindTextByName(L":PATTERN", pattern.c_str());
    sql.BindTextByName(L":PATH", rootPath.c_str());
    sql.Execute();
}

// The whole file is compacted: naming a table after VACUUM is read by SQLite as naming an
// attached database, and "VACUUM Files" then fails without compacting anything.
bool VacuumFiles(CacheDatabase& database) {
    Lock lock(DatabaseLock());
    if (!database.Connection()) return false;
    // A row left unread on the shared statement would keep VACUUM from running.
    database.Sql().Finish();
    return sqlite3_exec(database.Connection(), "VACUUM", nullptr, nullptr, nullptr) == SQLITE_OK;
}

// Each run removes one row of every group sharing a full path, so a path stored three times
// keeps two rows until the next clean.
std::pair<long long, long long> CleanDatabase(CacheDatabase& database) {
    Lock lock(DatabaseLock());
    sqlite3* connection = database.Connection();
    sqlite3_stmt* count = nullptr;
    if (!connection || sqlite3_prepare16_v2(connection, L"SELECT COUNT(*) FROM Files", -1, &count, nullptr) != SQLITE_OK) {
        sqlite3_finalize(count);
        return {0, 0};
    }
    long long before = StepCount(count);
    database.Sql().Finish();
    int deleted = sqlite3_exec(connection,
                               "DELETE FROM Files WHERE fileid IN (SELECT fileid FROM Files f, Folder fo WHERE "
                               "f.folderid=fo.folderid GROUP BY fo.path || f.filename HAVING COUNT(distinct fileid) > 1)",
                               nullptr, nullptr, nullptr);
    if (deleted == SQLITE_OK) VacuumFiles(database);
    long long after = StepCount(count);
    sqlite3_finalize(count);
    return {before, after};
}
