// The shared connection: opening and closing it, and the transaction its holders share.
#include "db/CacheConnection.h"

#include <sqlite3.h>

#include "db/DatabaseLock.h"

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

// Every owner has finalised its statements by now; a transaction no holder ended is committed
// rather than thrown away with the connection.
CacheConnection::~CacheConnection() {
    Lock lock(DatabaseLock());
    if (!handle_) return;
    if (!sqlite3_get_autocommit(handle_)) Run("COMMIT");
    sqlite3_close(handle_);
}

int CacheConnection::Run(const char* sql) {
    if (!handle_) return SQLITE_MISUSE;
    return sqlite3_exec(handle_, sql, nullptr, nullptr, nullptr);
}

void CacheConnection::SetBatchCommitInterval(DWORD ms) {
    Lock lock(DatabaseLock());
    batchCommitMs_ = ms;
}

bool CacheConnection::InTransaction() const {
    Lock lock(DatabaseLock());
    return wholeHolders_ + batchHolders_ > 0;
}

void CacheConnection::Enter(TransactionKind kind) {
    Lock lock(DatabaseLock());
    if (wholeHolders_ + batchHolders_ == 0) {
        Run("BEGIN TRANSACTION");
        committedAt_ = GetTickCount64();
        batchLost_ = false;
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
    if (wholeHolders_ + batchHolders_ == 0) return CommitAll();
    // The whole transaction that just ended may have written into another thread's batch.
    return AfterWrite() == SQLITE_OK;
}

// A commit that fails for good (a full disk, a read-only or damaged file) is rolled back, so
// that the connection is not left inside a transaction nobody will end; the caller hears of it.
bool CacheConnection::CommitAll() {
    bool stored = Run("COMMIT") == SQLITE_OK;
    if (!stored && handle_ && !sqlite3_get_autocommit(handle_)) Run("ROLLBACK");
    bool lost = batchLost_;
    batchLost_ = false;
    return stored && !lost;
}

int CacheConnection::AfterWrite() {
    Lock lock(DatabaseLock());
    if (wholeHolders_ > 0 || batchHolders_ == 0) return SQLITE_OK;
    bool foreign = GetCurrentThreadId() != batchThread_;
    if (!foreign && GetTickCount64() - committedAt_ < batchCommitMs_) return SQLITE_OK;
    return CutBatch();
}

// A failed commit that SQLite keeps open is simply tried again at the next write. One that
// SQLite rolled back has lost the batch's writes: the batch goes on in a new transaction and
// its end reports the loss.
int CacheConnection::CutBatch() {
    int rc = Run("COMMIT");
    if (rc != SQLITE_OK && handle_ && !sqlite3_get_autocommit(handle_)) return SQLITE_OK;
    if (rc != SQLITE_OK) batchLost_ = true;
    Run("BEGIN TRANSACTION");
    committedAt_ = GetTickCount64();
    return rc;
}
