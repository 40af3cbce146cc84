// The statement that looks a broken playlist entry's file name up in the cache.
#include "db/RepairCandidates.h"

#include "db/CacheDatabase.h"
#include "db/DatabaseLock.h"
#include "db/LikePattern.h"

std::vector<RepairCandidate> FindRepairCandidates(CacheDatabase& database, const std::wstring& fileName) {
    std::vector<RepairCandidate> found;
    Lock lock(DatabaseLock());
    Statement& sql = database.Sql();
    sql.SetSql(L"SELECT fo.path, f.filename, f.playcount FROM Files f, Folder fo WHERE filename LIKE '%' || :path "
               L"ESCAPE '!' AND f.folderid=fo.folderid");
    std::wstring pattern = EscapeLike(fileName);
    sql.BindTextByName(L":path", pattern.c_str());
    bool ran = sql.Execute() == Statement::kOk;
    while (ran && sql.NextRow()) {
        Statement::RowView row = sql.Row();
        auto folder = row.Text(1);
        auto name = row.Text(2);
        if (!folder || !name) continue;
        found.push_back({std::wstring(*folder), std::wstring(*name), row.Int(3)});
    }
    sql.Finish();
    return found;
}
