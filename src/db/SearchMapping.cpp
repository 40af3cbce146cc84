// Switching the connection's memory mapping on around one indexed search.
#include "db/SearchMapping.h"

#include <sqlite3.h>

#include <string>

namespace {
// The most of a file mapped at once: the cache of a million files takes about 290 MB and its
// index about 75 MB; pages past the bound are read as usual.
constexpr long long kMostMapped = 512LL << 20;

// The connection's mapping bound, answered by the same pragma that sets it.
long long SetMapped(sqlite3* connection, const char* schema, long long bytes) {
    std::string sql = std::string("PRAGMA ") + schema + ".mmap_size";
    if (bytes >= 0) sql += "=" + std::to_string(bytes);
    sqlite3_stmt* statement = nullptr;
    long long now = -1;
    if (sqlite3_prepare_v2(connection, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        now = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    return now;
}

}  // namespace

SearchMapping::SearchMapping(sqlite3* connection, const char* schema, bool wanted) : schema_(schema) {
    if (!connection || !wanted) return;
    before_ = SetMapped(connection, schema_, -1);
    if (before_ < 0 || before_ >= kMostMapped) return;
    SetMapped(connection, schema_, kMostMapped);
    connection_ = connection;
}

SearchMapping::~SearchMapping() {
    if (connection_) SetMapped(connection_, schema_, before_);
}
