// The Roots table statements.
#include "db/roots/RootRows.h"

#include <sqlite3.h>

#include "db/CacheDatabase.h"
#include "db/DatabaseLock.h"

namespace {

void RunWithRootId(Statement& sql, const wchar_t* text, long long rootId) {
    sql.SetSql(text);
    sql.BindInt64(rootId, 1);
    sql.Execute();
}

std::optional<std::wstring> TextColumn(sqlite3_stmt* st, int column) {
    auto text = static_cast<const wchar_t*>(sqlite3_column_text16(st, column));
    if (!text) return std::nullopt;
    return std::wstring(text);
}

}  // namespace

// Runs on a statement of its own: loading a root inserts its folder row through the shared
// statement object, which must not disturb this walk.
std::vector<RootRow> ReadRootRows(CacheDatabase& database) {
    Lock lock(DatabaseLock());
    std::vector<RootRow> rows;
    sqlite3_stmt* st = nullptr;
    if (database.Connection() &&
        sqlite3_prepare16_v2(database.Connection(),
                             L"SELECT rootid, type, autoload, path, name FROM roots ORDER BY rootOrder",
                             -1, &st, nullptr) == SQLITE_OK) {
        while (sqlite3_step(st) == SQLITE_ROW) {
            RootRow row;
            row.rootId = sqlite3_column_int64(st, 0);
            row.type = sqlite3_column_int(st, 1);
            row.autoload = sqlite3_column_int(st, 2);
            row.path = TextColumn(st, 3);
            row.name = TextColumn(st, 4);
            rows.push_back(std::move(row));
        }
    }
    sqlite3_finalize(st);
    return rows;
}

long long InsertRootRow(CacheDatabase& database, int type, bool autoload, const std::wstring& path,
                        const std::optional<std::wstring>& name) {
    Lock lock(DatabaseLock());
    Statement& sql = database.Sql();
    sql.SetSql(L"INSERT INTO Roots (type, autoload, path, name, rootOrder) VALUES "
               L"(:TYPE, :AUTOLOAD, :PATH, :NAME, (SELECT COUNT(*) FROM Roots)+1)");
    sql.BindIntByName(L":TYPE", type);
    sql.BindIntByName(L":AUTOLOAD", autoload ? 1 : 0);
    sql.BindTextByName(L":PATH", path.c_str());
    sql.BindTextByName(L":NAME", name ? name->c_str() : nullptr, true);
    return sql.Execute() == Statement::kOk ? sql.LastInsertId() : -1;
}

// One transaction: a kill between the statements would leave a Roots row whose folders are
// gone, or folders of a root that is gone.
void DeleteRootRows(CacheDatabase& database, long long rootId) {
    Lock lock(DatabaseLock());
    Statement& sql = database.Sql();
    bool ownTransaction = !sql.InTransaction();
    if (ownTransaction) sql.BeginTransaction();
    RunWithRootId(sql,
                  L"DELETE FROM Files WHERE folderid IN (SELECT f.folderid FROM Folder fo, Files f "
                  L"WHERE f.folderid=fo.folderid AND fo.rootid=:ROOTID)",
                  rootId);
    RunWithRootId(sql, L"DELETE FROM Folder WHERE rootid=:ROOTID", rootId);
    RunWithRootId(sql, L"DELETE FROM Roots WHERE rootid=:ROOTID", rootId);
    if (ownTransaction) sql.Commit();
}

void SetRootOrder(CacheDatabase& database, long long rootId, int order) {
    Lock lock(DatabaseLock());
    Statement& sql = database.Sql();
    sql.SetSql(L"UPDATE roots SET rootorder=:ORDER WHERE rootid=:ROOTID");
    sql.BindIntByName(L":ORDER", order);
    sql.BindInt64ByName(L":ROOTID", rootId);
    sql.Execute();
}

void SetRootAutoload(CacheDatabase& database, long long rootId, bool autoload) {
    Lock lock(DatabaseLock());
    Statement& sql = database.Sql();
    sql.SetSql(L"Update Roots SET autoload=:AUTOLOAD WHERE rootid=:ROOTID");
    sql.BindInt(autoload ? 1 : 0, 1);
    sql.BindInt64(rootId, 2);
    sql.Execute();
}

void SetRootName(CacheDatabase& database, long long rootId, const std::optional<std::wstring>& name) {
    if (!name) return;
    Lock lock(DatabaseLock());
    Statement& sql = database.Sql();
    sql.SetSql(L"Update Roots SET name=:NAME WHERE rootid=:ROOTID");
    sql.BindText(name->c_str(), 1);
    sql.BindInt64(rootId, 2);
    sql.Execute();
}

void SetRootPath(CacheDatabase& database, long long rootId, const std::optional<std::wstring>& path) {
    if (!path) return;
    Lock lock(DatabaseLock());
    Statement& sql = database.Sql();
    sql.SetSql(L"Update Roots SET path=:NAME WHERE rootid=:ROOTID");
    sql.BindText(path->c_str(), 1);
    sql.BindInt64(rootId, 2);
    sql.Execute();
}

// A fresh statement on the same connection, as the root's own folder row was just written
// through the shared one.
void AttachTopFolder(CacheDatabase& database, long long rootId, int folderId) {
    Lock lock(DatabaseLock());
    Statement sql(database.SharedConnection());
    sql.SetSql(L"UPDATE Folder SET rootid=:ROOTID WHERE folderid=:FOLDERID");
    sql.BindInt64(rootId, 1);
    sql.BindInt(folderId, 2);
    sql.Execute();
}
