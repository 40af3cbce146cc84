// The separate reader of a database file.
#include "support/OutsideReader.h"

#include <sqlite3.h>

// It waits for a commit under way rather than failing while the tested connection writes.
OutsideReader::OutsideReader(const std::wstring& file) {
    sqlite3_open16(file.c_str(), &db_);
    sqlite3_busy_timeout(db_, 5000);
}

OutsideReader::~OutsideReader() { sqlite3_close(db_); }

long long OutsideReader::Number(const std::string& sql) {
    sqlite3_stmt* st = nullptr;
    long long n = -1;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
        n = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    return n;
}
