// Folder and file row statements of the scan, all on the connection's one statement object.
#include "scan/ScanRows.h"

#include "base/Text.h"
#include "db/CacheDatabase.h"
#include "db/DatabaseLock.h"
#include "db/LikePattern.h"
#include "scan/StoredNames.h"

namespace {

// SQL counts a text's length in characters, a surrogate pair as one.
int CharacterCount(const std::wstring& text) {
    int count = 0;
    for (wchar_t c : text) count += !IS_LOW_SURROGATE(c);
    return count;
}

// Reads the rows of the statement prepared with columns fileid, filename, changed.
std::vector<StoredFile> ReadStoredFiles(Statement& sql, int folderId) {
    std::vector<StoredFile> files;
    if (sql.Execute() != Statement::kOk) return files;
    while (sql.NextRow()) {
        Statement::RowView row = sql.Row();
        if (std::optional<std::wstring_view> name = row.Text(2))
            files.push_back(StoredFile{row.Int64(1), row.Int64(3), folderId, std::wstring(*name)});
    }
    return files;
}

// A statement whose one parameter is the file's id.
void RunOnFile(CacheDatabase& database, const wchar_t* text, long long fileId) {
    Lock lock(DatabaseLock());
    Statement& sql = database.Sql();
    sql.SetSql(text);
    sql.BindInt64(fileId, 1);
    sql.Execute();
}

}  // namespace

StoredFolderFiles FilesOfFolder(CacheDatabase& database, int folderId) {
    Lock lock(DatabaseLock());
    Statement& sql = database.Sql();
    sql.SetSql(L"SELECT fileid, filename, changed FROM Files WHERE folderid=:FOLDERID");
    sql.BindInt(folderId, 1);
    StoredFolderFiles files;
    for (StoredFile& file : ReadStoredFiles(sql, folderId)) files.Add(std::move(file));
    return files;
}

std::vector<StoredFile> FindFileRows(CacheDatabase& database, int folderId, const std::wstring& name) {
    Lock lock(DatabaseLock());
    Statement& sql = database.Sql();
    sql.SetSql(L"SELECT fileid, filename, changed FROM Files WHERE folderid=:FOLDERID AND length(filename)=:LENGTH");
    sql.BindInt(folderId, 1);
    sql.BindInt(CharacterCount(name), 2);
    return RowsOfName(ReadStoredFiles(sql, folderId), name);
}

void RenameFileRow(CacheDatabase& database, long long fileId, const std::wstring& name) {
    Lock lock(DatabaseLock());
    Statement& sql = database.Sql();
    sql.SetSql(L"UPDATE Files SET filename=:FILENAME WHERE fileid=:FILEID");
    sql.BindText(name.c_str(), 1);
    sql.BindInt64(fileId, 2);
    sql.Execute();
}

void DeleteFileRowById(CacheDatabase& database, long long fileId) {
    RunOnFile(database, L"DELETE FROM Files WHERE fileid=:FILEID", fileId);
}

void InsertFile(CacheDatabase& database, const std::wstring& name, int folderId, const std::wstring& extension,
                long long size, long long changed) {
    Lock lock(DatabaseLock());
    Statement& sql = database.Sql();
    sql.SetSql(L"INSERT INTO Files (filename, folderid, extension, file_exists, size, changed) VALUES (?, ?, ?, "
               L"?, ?, ?);");
    std::wstring lower = ToLower(extension);
    sql.BindText(name.c_str(), 1);
    sql.BindInt(folderId, 2);
    sql.BindText(lower.c_str(), 3);
    sql.BindInt(1, 4);
    sql.BindInt64(size, 5);
    sql.BindInt64(changed, 6);
    sql.Execute();
}

void MarkFilePresent(CacheDatabase& database, long long fileId) {
    RunOnFile(database, L"UPDATE Files SET file_exists=1 WHERE fileid=:FILEID;", fileId);
}

int StoredPlayCount(CacheDatabase& database, long long fileId) {
    Lock lock(DatabaseLock());
    Statement& sql = database.Sql();
    sql.SetSql(L"SELECT playcount FROM Files WHERE fileid=:FILEID");
    sql.BindInt64(fileId, 1);
    int count = sql.Execute() == Statement::kOk && sql.NextRow() ? sql.ColumnInt(1) : 0;
    sql.Finish();
    return count;
}

void DeleteFileByName(CacheDatabase& database, const std::wstring& folderPath, const std::wstring& name) {
    Lock lock(DatabaseLock());
    Statement& sql = database.Sql();
    sql.SetSql(L"DELETE FROM Files WHERE filename=:FILENAME AND folderid=(SELECT folderid FROM Folder WHERE "
               L"path=:PATH)");
    sql.BindText(name.c_str(), 1);
    sql.BindText(folderPath.c_str(), 2);
    sql.Execute();
}

void MarkAllFilesGone(CacheDatabase& database) {
    Lock lock(DatabaseLock());
    Statement& sql = database.Sql();
    sql.SetSql(L"UPDATE Files SET file_exists=0;");
    sql.Execute();
}

std::optional<StoredFolder> FindFolderByPath(CacheDatabase& database, const std::wstring& path) {
    Lock lock(DatabaseLock());
    Statement& sql = database.Sql();
    sql.SetSql(L"SELECT folderid, parentid, attributes FROM Folder WHERE path=?");
    sql.BindText(path.c_str(), 1);
    if (sql.Execute() != Statement::kOk || !sql.NextRow()) return std::nullopt;
    StoredFolder folder;
    folder.path = path;
    folder.folderId = sql.ColumnInt(1);
    folder.parentId = sql.ColumnInt(2);
    folder.attributes = static_cast<unsigned>(sql.ColumnInt(3));
    sql.Finish();
    return folder;
}

std::vector<StoredFolder> FolderTreeRows(CacheDatabase& database, long long rootId, const std::wstring& rootPath) {
    Lock lock(DatabaseLock());
    Statement& sql = database.Sql();
    sql.SetSql(L"SELECT path, folderid, parentid, attributes FROM Folder WHERE rootid=:ROOTID AND folder_exists=1 "
               L"AND path<>:PATH");
    sql.BindInt64(rootId, 1);
    sql.BindText(rootPath.c_str(), 2);
    std::vector<StoredFolder> rows;
    if (sql.Execute() != Statement::kOk) return rows;
    while (sql.NextRow()) {
        StoredFolder row;
        row.path = sql.ColumnText(1).value_or(std::wstring());
        row.folderId = sql.ColumnInt(2);
        row.parentId = sql.ColumnInt(3);
        row.attributes = static_cast<unsigned>(sql.ColumnInt(4));
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<std::wstring> FilesUnderFolder(CacheDatabase& database, const std::wstring& folderPath) {
    Lock lock(DatabaseLock());
    Statement& sql = database.Sql();
    // Escaped: a rescan deletes the rows of listed files it no longer finds on disk, and must
    // not list those of a sibling folder whose name the wildcards would match.
    sql.SetSql(L"SELECT fo.path || f.filename FROM Files f, Folder fo WHERE fo.path LIKE :path || '%' ESCAPE '!' "
               L"AND f.folderid=fo.folderid");
    sql.BindText(EscapeLike(folderPath).c_str(), 1);
    std::vector<std::wstring> paths;
    if (sql.Execute() != Statement::kOk) return paths;
    while (sql.NextRow())
        if (auto path = sql.ColumnText(1)) paths.push_back(std::move(*path));
    return paths;
}

void DeleteFolderSubtree(CacheDatabase& database, const std::wstring& folderPath) {
    Lock lock(DatabaseLock());
    Statement& sql = database.Sql();
    bool escaped = HasLikeWildcard(folderPath);
    std::wstring pattern = escaped ? EscapeLike(folderPath) : folderPath;
    if (escaped) {
        sql.SetSql(L"DELETE FROM Files WHERE folderid IN (SELECT f2.folderid FROM Folder f2 WHERE f2.path LIKE "
                   L"(:PATH || '%%') ESCAPE '!');");
    } else {
        sql.SetSql(L"DELETE FROM Files WHERE folderid IN (SELECT f2.folderid FROM Folder f2 WHERE f2.path LIKE "
                   L"(:PATH || '%%'));");
    }
    sql.BindText(pattern.c_str(), 1);
    sql.Execute();
    sql.SetSql(escaped ? L"DELETE FROM Folder WHERE path LIKE (:PATH || '%%') ESCAPE '!';"
                       : L"DELETE FROM Folder WHERE path LIKE (:PATH || '%%');");
    sql.BindText(pattern.c_str(), 1);
    sql.Execute();
}
