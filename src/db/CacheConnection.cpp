// The shared connection: opening and closing it, and the transaction its holders share.
#include "db/CacheConnection.h"

#include <sqlite3.h>

#include <algorithm>

#include "db/DatabaseLock.h"
#include "db/ReadMapping.h"
#include "db/SearchIndex.h"

namespace {
// Only another process (a user's SQLite tool, a test's reader) can hold the file locked; a
// commit waits this long for it rather than failing at once.
constexpr int kBusyTimeoutMs = 1000;
}  // namespace

CacheConnection::CacheConnection(std::wstring file) : filePath_(std::move(file)) {}

Ref<CacheConnection> CacheConnection::Open(const std::wstring& file) {
    Lock lock(DatabaseLock());
    auto connection = Ref<CacheConnection>::Adopt(new CacheConnection(file));
    sqlite3* handle = nullptr;
    if (sqlite3_open16(file.c_str(), &handle) != SQLITE_OK) {
        sqlite3_close(handle);
        return connection;
    }
    sqlite3_busy_timeout(handle, kBusyTimeoutMs);
    connection->handle_ = handle;
    return connection;
}

Ref<CacheConnection> CacheConnection::Detached(const std::wstring& file) {
    return Ref<CacheConnection>::Adopt(new CacheConnection(file));
}

// Every owner has finalised its statements by now; a transaction no holder ended is committed
// rather than thrown away with the connection.
CacheConnection::~CacheConnection() {
    Lock lock(DatabaseLock());
    if (!handle_) return;
    if (commitPutOff_ || wholeHolders_ + batchHolders_ > 0) Run("COMMIT");
    readMapping_.reset();
    searchIndex_.reset();
    sqlite3_close(handle_);
}

void CacheConnection::MapForListing() {
    Lock lock(DatabaseLock());
    if (!readMapping_ && handle_) readMapping_ = std::make_unique<ReadMapping>(handle_, "main", true);
}

void CacheConnection::ReleaseListingMapping() {
    Lock lock(DatabaseLock());
    readMapping_.reset();
}

SearchIndex* CacheConnection::OpenSearchIndex() {
    Lock lock(DatabaseLock());
    if (searchIndex_ || !handle_) return searchIndex_.get();
    auto index = std::make_unique<SearchIndex>(handle_, filePath_);
    if (index->Open()) searchIndex_ = std::move(index);
    return searchIndex_.get();
}

int CacheConnection::Run(const char* sql) {
    if (!handle_) return SQLITE_MISUSE;
    return sqlite3_exec(handle_, sql, nullptr, nullptr, nullptr);
}

void CacheConnection::SetBatchCommitInterval(DWORD ms) {
    Lock lock(DatabaseLock());
    batchCommitMs_ = ms;
    fixedInterval_ = true;
}

bool CacheConnection::InTransaction() const {
    Lock lock(DatabaseLock());
    return wholeHolders_ + batchHolders_ > 0;
}

// A commit another process put off (see Settle) leaves SQLite inside the transaction: new
// holders join it rather than failing to begin another.
void CacheConnection::Enter(TransactionKind kind) {
    Lock lock(DatabaseLock());
    if (wholeHolders_ + batchHolders_ == 0) {
        if (!commitPutOff_) Run("BEGIN TRANSACTION");
        commitPutOff_ = false;
        committedAt_ = GetTickCount64();
    }
    if (kind == TransactionKind::kBatch) {
        ++batchHolders_;
        batchThread_ = GetCurrentThreadId();
    } else {
        ++wholeHolders_;
    }
}

bool CacheConnection::Leave(TransactionKind kind) {
    Lock lock(DatabaseLock());
    int& holders = kind == TransactionKind::kBatch ? batchHolders_ : wholeHolders_;
    if (holders == 0) return true;
    --holders;
    if (wholeHolders_ + batchHolders_ == 0) return Settle() == SQLITE_OK;
    // The whole transaction that just ended may have written into another thread's batch.
    return AfterWrite() == SQLITE_OK;
}

int CacheConnection::AfterWrite() {
    Lock lock(DatabaseLock());
    if (wholeHolders_ + batchHolders_ == 0) return commitPutOff_ ? Settle() : SQLITE_OK;
    if (wholeHolders_ > 0) return SQLITE_OK;
    bool foreign = GetCurrentThreadId() != batchThread_;
    ULONGLONG gather = fixedInterval_ ? batchCommitMs_
                                      : std::max<ULONGLONG>(batchCommitMs_, kBatchToCommitRatio * lastCommitMs_);
    if (!foreign && GetTickCount64() - committedAt_ < gather) return SQLITE_OK;
    ULONGLONG begun = GetTickCount64();
    int rc = Settle();
    if (!commitPutOff_) Run("BEGIN TRANSACTION");
    commitPutOff_ = false;
    committedAt_ = GetTickCount64();
    lastCommitMs_ = committedAt_ - begun;
    return rc;
}

// Commits what was written. Another process's lock (SQLITE_BUSY) only puts the commit off: the
// transaction stays open and the next write, holder or close commits it. Any other failure (a
// full disk, a read-only or damaged file) is rolled back, so the connection is not left in a
// transaction nobody ends, and answered, so the caller can say the writes were not stored.
int CacheConnection::Settle() {
    int rc = Run("COMMIT");
    commitPutOff_ = false;
    if (rc == SQLITE_OK || !handle_ || sqlite3_get_autocommit(handle_)) return rc;
    if (rc == SQLITE_BUSY) {
        commitPutOff_ = true;
        return SQLITE_OK;
    }
    Run("ROLLBACK");
    NoteFailedWrite(rc);
    return rc;
}

void CacheConnection::NoteFailedWrite(int rc) {
    switch (rc & 0xff) {
        case SQLITE_FULL:
        case SQLITE_READONLY:
        case SQLITE_IOERR:
        case SQLITE_CANTOPEN:
        case SQLITE_PERM:
            break;
        default:
            return;
    }
    Lock lock(DatabaseLock());
    writeFailed_ = true;
}

bool CacheConnection::TakeFailedWriteNotice() {
    Lock lock(DatabaseLock());
    if (!writeFailed_ || writeFailureTold_) return false;
    writeFailureTold_ = true;
    return true;
}

namespace {

// The cache's own functions that keep its search index: called from a condition, they would
// change the index behind the cache's back.
bool IsInternalFunction(const char* name) { return sqlite3_strnicmp(name, "SearchIndex", 11) == 0; }

// Reading tables and calling functions is all a condition needs. Extensions would run code of
// another file, so loading one is refused even where the library would allow it. For a
// function SQLite gives its name in the fourth argument, the third being null.
int AllowReadingOnly(void*, int action, const char*, const char* function, const char*, const char*) {
    switch (action) {
        case SQLITE_READ:
        case SQLITE_SELECT:
            return SQLITE_OK;
        case SQLITE_FUNCTION:
            if (!function) return SQLITE_DENY;
            return sqlite3_stricmp(function, "load_extension") == 0 || IsInternalFunction(function) ? SQLITE_DENY
                                                                                                     : SQLITE_OK;
        default:
            return SQLITE_DENY;
    }
}

}  // namespace

ReadingOnlyScope::ReadingOnlyScope(sqlite3* handle) : handle_(handle) {
    if (handle_) sqlite3_set_authorizer(handle_, &AllowReadingOnly, nullptr);
}

ReadingOnlyScope::~ReadingOnlyScope() {
    if (handle_) sqlite3_set_authorizer(handle_, nullptr, nullptr);
}
