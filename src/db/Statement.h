// The wrapper every SQL statement of the plugin goes through: statement text built from
// pieces, values bound by index or name, stepping, column reads, and transactions, all under
// the process-wide database lock. Failures come back as empty results, never as exceptions.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db/CacheConnection.h"

struct sqlite3;
struct sqlite3_stmt;

// Prepared statements of one connection kept for reuse, keyed by their text, so that a
// statement run again and again (a listing form, a scan's row update) is compiled once. A
// statement is taken out while in use, so two users of one text never share it. The cache
// must be cleared before its connection closes: SQLite refuses to close a connection that
// still has prepared statements.
class StatementCache {
public:
    static constexpr size_t kDefaultCapacity = 32;

    explicit StatementCache(size_t capacity = kDefaultCapacity) : capacity_(capacity) {}
    ~StatementCache() { Clear(); }
    StatementCache(const StatementCache&) = delete;
    StatementCache& operator=(const StatementCache&) = delete;

    // A statement prepared from exactly this text, reset and without bindings, or null.
    sqlite3_stmt* Take(const std::wstring& text);
    // Keeps a statement for the next Take of its text; the least recently returned one is
    // finalised when the cache is full.
    void Return(const std::wstring& text, sqlite3_stmt* prepared);
    void Clear();
    size_t Size() const { return entries_.size(); }

private:
    struct Entry {
        size_t hash;
        std::wstring text;
        sqlite3_stmt* prepared;
    };
    size_t capacity_;
    std::vector<Entry> entries_;  // oldest first
};

class Statement {
public:
    static constexpr int kMaxParameters = 100;
    // Execute's answers besides SQLite's own error codes.
    static constexpr int kOk = 0;
    static constexpr int kMissingValue = 1;

    // With a cache, prepared statements come from it and go back to it instead of being
    // compiled and finalised each time; the cache must outlive the statement.
    explicit Statement(Ref<CacheConnection> connection, StatementCache* cache = nullptr);
    // Opens the file on a connection of its own, closed with the statement.
    explicit Statement(const std::wstring& databaseFile);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // After an executed statement, starts a new text; otherwise appends to the current one,
    // so a statement can be built from several pieces before it runs.
    void SetSql(std::wstring_view text);
    // The current text is compiled so that it can only read (see ReadingOnlyScope), and
    // must be one statement: text after the first statement makes it fail. Its run is bounded
    // too: it is stopped once it has taken kLongestReadingMs from Execute, or makes a value
    // longer than kLongestReadingValue, since a condition the user wrote may join the library
    // with itself for hours while the database lock keeps both threads waiting.
    void RestrictToReading() { readingOnly_ = true; }
    static constexpr unsigned kLongestReadingMs = 10000;
    static constexpr int kLongestReadingValue = 16 * 1024 * 1024;
    // Whether the last run of a restricted text ended in an error (its time ran out, a value
    // grew too long) before its last row: the rows read so far are not the answer.
    bool StoppedShort() const { return stoppedShort_; }
    bool Prepare();

    // An absent value binds NULL when nullIfAbsent is set; otherwise Execute reports it missing.
    void BindText(const wchar_t* value, int index, bool nullIfAbsent = false);
    // An absent optional binds nothing at all (the parameter count does not move).
    void BindText(const std::optional<std::wstring>& value, int index);
    void BindInt(int value, int index, bool nullIfZero = false);
    void BindInt64(long long value, int index);
    void BindDouble(double value, int index);
    // Names carry their colon (":PATH") and must match exactly; an unknown name binds index 0.
    void BindTextByName(const wchar_t* name, const wchar_t* value, bool nullIfAbsent = false);
    void BindIntByName(const wchar_t* name, int value, bool nullIfZero = false);
    void BindInt64ByName(const wchar_t* name, long long value);
    // For the table-valued carray(): the numbers are handed over, not copied.
    void BindInt64ArrayByName(const wchar_t* name, std::vector<long long> values);

    // 0 when a row is ready or the statement completed, 1 when a bound value is missing,
    // otherwise SQLite's result code.
    int Execute();
    // True while a row is available; the first call after an Execute that produced a row does
    // not step.
    bool NextRow();
    // Finalises the prepared statement so that a partly read result releases its read lock.
    void Finish();

    // Columns count from 1. Without a statement or row they answer 0 or no text.
    int ColumnInt(int column) const;
    long long ColumnInt64(int column) const;
    std::optional<std::wstring> ColumnText(int column) const;
    int ColumnInt(const wchar_t* name) const;
    long long ColumnInt64(const wchar_t* name) const;
    std::optional<std::wstring> ColumnText(const wchar_t* name) const;

    // The current row for a caller that walks many rows while it holds the database lock:
    // no lock is taken per column, and texts are read in place, valid until the next step.
    class RowView {
    public:
        long long Int64(int column) const;
        int Int(int column) const { return static_cast<int>(Int64(column)); }
        std::optional<std::wstring_view> Text(int column) const;

    private:
        friend class Statement;
        explicit RowView(sqlite3_stmt* prepared) : prepared_(prepared) {}
        sqlite3_stmt* prepared_;
    };
    RowView Row() const { return RowView(prepared_); }

    long long LastInsertId() const { return lastInsertId_; }
    sqlite3* Connection() const { return connection_ ? connection_->Handle() : nullptr; }
    const Ref<CacheConnection>& SharedConnection() const { return connection_; }
    const std::wstring& Text() const { return text_; }

    // One statement object holds at most one share of its connection's transaction: a second
    // begin does nothing, and its first commit gives the share up. The connection commits when
    // the last share of all its statement objects is given up (see CacheConnection). Commit
    // answers false when the writes could not be stored; a commit without a share does nothing.
    void BeginTransaction();
    // A share for a long run of writes held together only for speed (a scan, a tag pass): the
    // connection commits them along the way, so they and other threads' writes reach the disk
    // within a moment.
    void BeginBatch();
    bool Commit();
    bool InTransaction() const { return !transactionClosed_; }

private:
    enum class Kind : unsigned char { kText = 0, kInt = 1, kDouble = 2, kInt64 = 3, kNull = 4, kInt64Array = 5 };
    struct Slot {
        Kind kind = Kind::kText;
        bool hasValue = false;
        std::wstring text;
        std::vector<long long> numbers;
        long long integer = 0;
        double real = 0;
    };

    void FinalizePrepared();
    bool PrepareReadingOnly();
    void ClearBindings();
    Slot* SlotAt(int index);
    void Store(int index, Kind kind, bool hasValue);
    int IndexOf(const wchar_t* name);
    int ColumnIndex(const wchar_t* name) const;
    void Enter(TransactionKind kind);
    int Step();
    static int PastDeadline(void* statement);

    bool finished_ = true;
    bool executed_ = false;
    bool rowConsumed_ = false;
    int parameterCount_ = 0;
    std::array<Slot, kMaxParameters + 1> slots_{};
    std::wstring text_;
    Ref<CacheConnection> connection_;
    StatementCache* cache_ = nullptr;
    sqlite3_stmt* prepared_ = nullptr;
    std::wstring preparedText_;  // the text prepared_ was compiled from: its key in the cache
    int prepareResult_ = 0;
    long long lastInsertId_ = 0;
    bool transactionClosed_ = true;
    bool readingOnly_ = false;
    // Compiled under the restriction: never from the cache nor into it, since the cache could
    // hand a statement compiled without it to a restricted text or the other way round.
    bool preparedReadingOnly_ = false;
    ULONGLONG readingDeadline_ = 0;
    bool stoppedShort_ = false;
    TransactionKind transactionKind_ = TransactionKind::kWhole;
};
