// Folder row lookup and insertion.
#include "db/FolderRows.h"

#include "db/CacheDatabase.h"
#include "db/DatabaseLock.h"
#include "db/TreeNode.h"

void UpsertFolder(CacheDatabase& database, TreeNode& node, int parentId, long long rootId) {
    Lock lock(DatabaseLock());
    Statement& sql = database.Sql();
    sql.SetSql(L"SELECT folderid, folder_exists FROM Folder WHERE rootid=:ROOTID AND path=:PATH");
    sql.BindInt64(rootId, 1);
    sql.BindText(node.path.c_str(), 2);
    if (sql.Execute() == Statement::kOk && sql.NextRow()) {
        node.folderId = sql.ColumnInt(1);
        sql.SetSql(L"UPDATE folder SET folder_exists=1 WHERE folderid=:FOLDERID");
        sql.BindInt(node.folderId, 1);
        sql.Execute();
        return;
    }
    sql.SetSql(L"INSERT INTO Folder (path, parentid, rootid, folder_exists, attributes) VALUES (?, ?, ?, 1, ?);");
    sql.BindText(node.path.c_str(), 1);
    sql.BindInt(parentId, 2);
    sql.BindInt64(rootId, 3);
    sql.BindInt(static_cast<int>(node.attributes), 4);
    if (sql.Execute() == Statement::kOk) node.folderId = static_cast<int>(sql.LastInsertId());
}
