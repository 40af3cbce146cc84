// Another program reading a database file with SQLite itself: it sees only what was committed,
// so a test can tell what is stored on disk from what a connection still holds.
#pragma once

#include <string>

struct sqlite3;

class OutsideReader {
public:
    explicit OutsideReader(const std::wstring& file);
    ~OutsideReader();
    OutsideReader(const OutsideReader&) = delete;
    OutsideReader& operator=(const OutsideReader&) = delete;

    // The first column of the first row the query answers, or -1.
    long long Number(const std::string& sql);
    sqlite3* get() const { return db_; }

private:
    sqlite3* db_ = nullptr;
};
