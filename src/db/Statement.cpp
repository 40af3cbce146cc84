// The statement wrapper: builds, binds, steps and reads one statement at a time under the
// database lock, turning every SQLite failure into an empty result.
#include "db/Statement.h"

#include <sqlite3.h>
#include <windows.h>

#include <cwctype>
#include <functional>
#include <iterator>

#include "db/BoundedPathCheck.h"
#include "db/DatabaseLock.h"

sqlite3_stmt* StatementCache::Take(const std::wstring& text) {
    size_t hash = std::hash<std::wstring>()(text);
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
        if (it->hash != hash || it->text != text) continue;
        sqlite3_stmt* prepared = it->prepared;
        entries_.erase(std::next(it).base());
        return prepared;
    }
    return nullptr;
}

void StatementCache::Return(const std::wstring& text, sqlite3_stmt* prepared) {
    // A reset statement holds no read lock and keeps no pointer into a caller's bound texts.
    sqlite3_reset(prepared);
    sqlite3_clear_bindings(prepared);
    size_t hash = std::hash<std::wstring>()(text);
    for (const Entry& entry : entries_) {
        if (entry.hash == hash && entry.text == text) {
            sqlite3_finalize(prepared);
            return;
        }
    }
    if (capacity_ == 0) {
        sqlite3_finalize(prepared);
        return;
    }
    if (entries_.size() >= capacity_) {
        sqlite3_finalize(entries_.front().prepared);
        entries_.erase(entries_.begin());
    }
    entries_.push_back(Entry{hash, text, prepared});
}

void StatementCache::Clear() {
    for (Entry& entry : entries_) sqlite3_finalize(entry.prepared);
    entries_.clear();
}

Statement::Statement(Ref<CacheConnection> connection, StatementCache* cache)
    : connection_(std::move(connection)), cache_(cache) {
    DatabaseLock();
}

Statement::Statement(const std::wstring& databaseFile) : connection_(CacheConnection::Open(databaseFile)) {}

// A share of the transaction still held is given up, so the connection's transaction can end.
Statement::~Statement() {
    Lock lock(DatabaseLock());
    FinalizePrepared();
    Commit();
}

void Statement::FinalizePrepared() {
    if (!prepared_) return;
    if (cache_ && !preparedReadingOnly_)
        cache_->Return(preparedText_, prepared_);
    else
        sqlite3_finalize(prepared_);
    prepared_ = nullptr;
    preparedReadingOnly_ = false;
}

void Statement::ClearBindings() {
    for (Slot& slot : slots_) {
        slot.hasValue = false;
        slot.kind = Kind::kText;
        slot.text.clear();
        slot.numbers = std::vector<long long>();
    }
    parameterCount_ = 0;
}

void Statement::SetSql(std::wstring_view text) {
    Lock lock(DatabaseLock());
    if (finished_) {
        FinalizePrepared();
        ClearBindings();
        executed_ = false;
        readingOnly_ = false;
        text_.clear();
    }
    text_.append(text);
    finished_ = false;
}

bool Statement::Prepare() {
    Lock lock(DatabaseLock());
    if (prepared_) return true;
    if (readingOnly_) return PrepareReadingOnly();
    if (cache_ && (prepared_ = cache_->Take(text_)) != nullptr) {
        preparedText_ = text_;
        prepareResult_ = SQLITE_OK;
        return true;
    }
    const void* tail = nullptr;
    sqlite3* handle = Connection();
    prepareResult_ = handle ? sqlite3_prepare16_v2(handle, text_.c_str(), -1, &prepared_, &tail) : SQLITE_MISUSE;
    if (prepareResult_ != SQLITE_OK) {
        // A failed prepare may still hand back a statement to finalise; it is never kept.
        if (prepared_) sqlite3_finalize(prepared_);
        prepared_ = nullptr;
    } else if (prepared_) {
        preparedText_ = text_;
    }
    return prepared_ != nullptr;
}

namespace {

bool OnlySpaceOrComments(const wchar_t* text) {
    while (text && *text) {
        if (iswspace(*text)) {
            ++text;
        } else if (text[0] == L'-' && text[1] == L'-') {
            while (*text && *text != L'\n') ++text;
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

// Besides the authorizer, SQLite's own verdict on the compiled statement must be "reads
// only", and no second statement may follow: it would never run, and a condition that
// smuggles one in is not the condition the user sees listed.
bool Statement::PrepareReadingOnly() {
    sqlite3* handle = Connection();
    const void* tail = nullptr;
    {
        ReadingOnlyScope readingOnly(handle);
        prepareResult_ = handle ? sqlite3_prepare16_v2(handle, text_.c_str(), -1, &prepared_, &tail) : SQLITE_MISUSE;
    }
    if (prepareResult_ == SQLITE_OK && prepared_ &&
        (!sqlite3_stmt_readonly(prepared_) || !OnlySpaceOrComments(static_cast<const wchar_t*>(tail))))
        prepareResult_ = SQLITE_AUTH;
    if (prepareResult_ != SQLITE_OK || !prepared_) {
        if (prepared_) sqlite3_finalize(prepared_);
        prepared_ = nullptr;
        if (prepareResult_ == SQLITE_OK) prepareResult_ = SQLITE_ERROR;
        return false;
    }
    preparedText_ = text_;
    preparedReadingOnly_ = true;
    return true;
}

Statement::Slot* Statement::SlotAt(int index) {
    return index >= 1 && index <= kMaxParameters ? &slots_[static_cast<size_t>(index)] : nullptr;
}

// A value for an index outside the slots is not stored, but still counts: Execute then finds
// that parameter missing instead of running the statement with a hole in it.
void Statement::Store(int index, Kind kind, bool hasValue) {
    if (Slot* slot = SlotAt(index)) {
        slot->kind = kind;
        slot->hasValue = hasValue;
    }
    ++parameterCount_;
}

void Statement::BindText(const wchar_t* value, int index, bool nullIfAbsent) {
    Lock lock(DatabaseLock());
    Prepare();
    if (!value && nullIfAbsent) return Store(index, Kind::kNull, true);
    if (Slot* slot = SlotAt(index)) slot->text = value ? value : L"";
    Store(index, Kind::kText, value != nullptr);
}

void Statement::BindText(const std::optional<std::wstring>& value, int index) {
    if (value) BindText(value->c_str(), index);
}

void Statement::BindInt(int value, int index, bool nullIfZero) {
    Lock lock(DatabaseLock());
    Prepare();
    if (value == 0 && nullIfZero) return Store(index, Kind::kNull, true);
    if (Slot* slot = SlotAt(index)) slot->integer = value;
    Store(index, Kind::kInt, true);
}

void Statement::BindInt64(long long value, int index) {
    Lock lock(DatabaseLock());
    Prepare();
    if (Slot* slot = SlotAt(index)) slot->integer = value;
    Store(index, Kind::kInt64, true);
}

void Statement::BindDouble(double value, int index) {
    Lock lock(DatabaseLock());
    Prepare();
    if (Slot* slot = SlotAt(index)) slot->real = value;
    Store(index, Kind::kDouble, true);
}

int Statement::IndexOf(const wchar_t* name) {
    if (!Prepare() || !name) return 0;
    std::string narrow;
    for (const wchar_t* c = name; *c; ++c) narrow += static_cast<char>(*c < 0x80 ? *c : '?');
    return sqlite3_bind_parameter_index(prepared_, narrow.c_str());
}

void Statement::BindTextByName(const wchar_t* name, const wchar_t* value, bool nullIfAbsent) {
    Lock lock(DatabaseLock());
    BindText(value, IndexOf(name), nullIfAbsent);
}

void Statement::BindIntByName(const wchar_t* name, int value, bool nullIfZero) {
    Lock lock(DatabaseLock());
    BindInt(value, IndexOf(name), nullIfZero);
}

void Statement::BindInt64ByName(const wchar_t* name, long long value) {
    Lock lock(DatabaseLock());
    BindInt64(value, IndexOf(name));
}

void Statement::BindInt64ArrayByName(const wchar_t* name, std::vector<long long> values) {
    Lock lock(DatabaseLock());
    int index = IndexOf(name);
    if (Slot* slot = SlotAt(index)) slot->numbers = std::move(values);
    Store(index, Kind::kInt64Array, true);
}

int Statement::Execute() {
    Lock lock(DatabaseLock());
    // A statement that fails, like one that completes, is finished: the next SetSql starts
    // afresh rather than appending to the text that did not run.
    finished_ = true;
    if (!Prepare()) return prepareResult_ != SQLITE_OK ? prepareResult_ : SQLITE_ERROR;
    rowConsumed_ = false;
    sqlite3_reset(prepared_);
    for (int index = 1; index <= parameterCount_; ++index) {
        Slot* slot = SlotAt(index);
        if (!slot || !slot->hasValue) return kMissingValue;
        switch (slot->kind) {
            case Kind::kText:
                sqlite3_bind_text16(prepared_, index, slot->text.c_str(), -1, SQLITE_STATIC);
                break;
            case Kind::kInt:
            case Kind::kInt64: sqlite3_bind_int64(prepared_, index, slot->integer); break;
            case Kind::kDouble: sqlite3_bind_double(prepared_, index, slot->real); break;
            case Kind::kNull: sqlite3_bind_null(prepared_, index); break;
            case Kind::kInt64Array:
                sqlite3_carray_bind(prepared_, index, slot->numbers.data(), static_cast<int>(slot->numbers.size()),
                                    SQLITE_CARRAY_INT64, SQLITE_STATIC);
                break;
        }
    }
    executed_ = true;
    stoppedShort_ = false;
    readingDeadline_ = GetTickCount64() + kLongestReadingMs;
    int rc = Step();
    if (rc == SQLITE_ROW) return kOk;
    if (rc == SQLITE_DONE) {
        lastInsertId_ = sqlite3_last_insert_rowid(Connection());
        bool wrote = !sqlite3_stmt_readonly(prepared_);
        // Finalised (or reset into the cache) first: a commit would fail with a write pending.
        FinalizePrepared();
        rowConsumed_ = true;
        text_.clear();
        return wrote ? connection_->AfterWrite() : kOk;
    }
    if (connection_) connection_->NoteFailedWrite(rc);
    return rc;
}

bool Statement::NextRow() {
    Lock lock(DatabaseLock());
    if (!prepared_ || sqlite3_data_count(prepared_) <= 0) return false;
    bool available = !rowConsumed_ || Step() == SQLITE_ROW;
    rowConsumed_ = true;
    return available;
}

namespace {
// Often enough that a stop comes within a moment, seldom enough that reading the clock costs
// nothing beside the work.
constexpr int kStepsBetweenClockReads = 10000;
}  // namespace

// A restricted text runs under a watch on its clock and on the size of the values it makes;
// the connection's own statements run without either, so the watch is set around each step.
int Statement::Step() {
    if (!preparedReadingOnly_) return sqlite3_step(prepared_);
    sqlite3* handle = Connection();
    int longest = sqlite3_limit(handle, SQLITE_LIMIT_LENGTH, kLongestReadingValue);
    sqlite3_progress_handler(handle, kStepsBetweenClockReads, &Statement::PastDeadline, this);
    // Functions that wait on the system (FileExists) keep to the same bound.
    SetConditionDeadlineOfThisThread(readingDeadline_);
    int rc = sqlite3_step(prepared_);
    SetConditionDeadlineOfThisThread(0);
    sqlite3_progress_handler(handle, 0, nullptr, nullptr);
    sqlite3_limit(handle, SQLITE_LIMIT_LENGTH, longest);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) stoppedShort_ = true;
    return rc;
}

int Statement::PastDeadline(void* statement) {
    return GetTickCount64() >= static_cast<Statement*>(statement)->readingDeadline_ ? 1 : 0;
}

void Statement::Finish() {
    Lock lock(DatabaseLock());
    FinalizePrepared();
    finished_ = true;
}

int Statement::ColumnInt(int column) const { return static_cast<int>(ColumnInt64(column)); }

long long Statement::ColumnInt64(int column) const {
    Lock lock(DatabaseLock());
    return prepared_ ? sqlite3_column_int64(prepared_, column - 1) : 0;
}

std::optional<std::wstring> Statement::ColumnText(int column) const {
    Lock lock(DatabaseLock());
    if (!prepared_) return std::nullopt;
    auto text = static_cast<const wchar_t*>(sqlite3_column_text16(prepared_, column - 1));
    if (!text) return std::nullopt;
    return std::wstring(text);
}

// The index past the last column when no column has the name, which reads as 0 or no text.
int Statement::ColumnIndex(const wchar_t* name) const {
    if (!prepared_) return 0;
    int count = sqlite3_column_count(prepared_);
    for (int i = 0; i < count; ++i) {
        auto columnName = static_cast<const wchar_t*>(sqlite3_column_name16(prepared_, i));
        if (columnName && name && CompareStringOrdinal(columnName, -1, name, -1, TRUE) == CSTR_EQUAL)
            return i + 1;
    }
    return count + 1;
}

int Statement::ColumnInt(const wchar_t* name) const {
    Lock lock(DatabaseLock());
    return ColumnInt(ColumnIndex(name));
}

long long Statement::ColumnInt64(const wchar_t* name) const {
    Lock lock(DatabaseLock());
    return ColumnInt64(ColumnIndex(name));
}

std::optional<std::wstring> Statement::ColumnText(const wchar_t* name) const {
    Lock lock(DatabaseLock());
    return ColumnText(ColumnIndex(name));
}

long long Statement::RowView::Int64(int column) const {
    return prepared_ ? sqlite3_column_int64(prepared_, column - 1) : 0;
}

// Asking for the text before its length lets SQLite convert first, so the length is the
// converted one (in a UTF-16 database nothing is converted at all).
std::optional<std::wstring_view> Statement::RowView::Text(int column) const {
    if (!prepared_) return std::nullopt;
    auto text = static_cast<const wchar_t*>(sqlite3_column_text16(prepared_, column - 1));
    if (!text) return std::nullopt;
    auto bytes = static_cast<size_t>(sqlite3_column_bytes16(prepared_, column - 1));
    return std::wstring_view(text, bytes / sizeof(wchar_t));
}

void Statement::Enter(TransactionKind kind) {
    Lock lock(DatabaseLock());
    if (!transactionClosed_ || !connection_) return;
    // A statement left half-read from before would otherwise pin its read in the transaction.
    FinalizePrepared();
    connection_->Enter(kind);
    transactionKind_ = kind;
    transactionClosed_ = false;
}

void Statement::BeginTransaction() { Enter(TransactionKind::kWhole); }

void Statement::BeginBatch() { Enter(TransactionKind::kBatch); }

bool Statement::Commit() {
    Lock lock(DatabaseLock());
    if (transactionClosed_) return true;
    FinalizePrepared();
    transactionClosed_ = true;
    return connection_->Leave(transactionKind_);
}
