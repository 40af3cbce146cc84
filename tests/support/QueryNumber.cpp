// Reading one number from the cache for a test's check.
#include "support/QueryNumber.h"

#include "db/CacheDatabase.h"
#include "db/DatabaseLock.h"

long long QueryNumber(CacheDatabase& database, const std::wstring& sql) {
    Lock lock(DatabaseLock());
    Statement& statement = database.Sql();
    statement.SetSql(sql);
    long long value = statement.Execute() == Statement::kOk && statement.NextRow() ? statement.ColumnInt64(1) : -1;
    statement.Finish();
    return value;
}
