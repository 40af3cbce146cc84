// A database file mapped into memory while a search reads it: the rows the index proposed lie
// scattered over the whole cache, nearly one page each, as do the index's own lists, and a
// read call per page costs several times what touching a mapped page does. The mapping is held
// only while one search reads: a 32-bit process listing a large library needs its address
// space for the rows, and when no room is left for the view, the database reads as before.
#pragma once

struct sqlite3;

class SearchMapping {
public:
    // Maps the file of the connection's schema ("main", or an attached name) up to a bound
    // when wanted; nothing otherwise.
    SearchMapping(sqlite3* connection, const char* schema, bool wanted);
    // Back to plain reads, releasing the view.
    ~SearchMapping();
    SearchMapping(const SearchMapping&) = delete;
    SearchMapping& operator=(const SearchMapping&) = delete;

private:
    const char* schema_;
    sqlite3* connection_ = nullptr;  // set while mapped
    long long before_ = 0;            // the bound to go back to
};
