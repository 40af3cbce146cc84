// The one SQLite connection that the view and the worker share, with the transaction it holds
// for all of them. Sharing it means no write of ours can meet a database locked by another of
// our connections (and be lost to SQLITE_BUSY); the process-wide database lock still keeps
// the two threads from running statements at the same time.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "base/RefCounted.h"

struct sqlite3;
class SearchIndex;
class ReadMapping;

enum class TransactionKind {
    kWhole,  // ends only when its last holder commits
    kBatch,  // writes kept together for speed alone: committed and begun again along the way
};

class CacheConnection : public RefCounted {
public:
    // How long a batch may gather writes before they are committed, at the least.
    static constexpr DWORD kDefaultBatchCommitMs = 500;
    // And at the least this many times as long as the last commit took: on a large cache a
    // commit journals and syncs every page the batch touched, and at a fixed half second the
    // commits of a million-file scan took two thirds of its time.
    static constexpr DWORD kBatchToCommitRatio = 20;

    // Opens (or creates) the file. A file that cannot be opened gives a connection without a
    // handle, on which every statement fails quietly.
    static Ref<CacheConnection> Open(const std::wstring& file);
    // A connection to no file, on which every statement fails quietly: the plugin runs on it
    // when the user chose not to let a cache file be touched.
    static Ref<CacheConnection> Detached(const std::wstring& file);

    sqlite3* Handle() const { return handle_; }
    const std::wstring& FilePath() const { return filePath_; }

    // Holders of the transaction, whichever thread they run on: the first one begins it, the
    // last one to leave commits it, so the view's short transaction inside the worker's long
    // one neither ends the worker's early nor leaves it in autocommit. Leave answers false when
    // writes since the last commit could not be stored and were rolled back.
    void Enter(TransactionKind kind);
    bool Leave(TransactionKind kind);
    bool InTransaction() const;

    // Called after each statement that wrote. A batch with no whole transaction inside it is
    // committed (and begun again) once it has gathered writes for the batch interval, and at
    // once when the write came from another thread than the batch's: that caller takes its
    // write as stored when the call returns. Answers SQLite's code of a failed commit whose
    // writes were rolled back, else 0.
    int AfterWrite();

    // A write SQLite refused for want of room or permission (a full disk, a read-only file or
    // folder): remembered so that the user can be told, once per run rather than per row.
    void NoteFailedWrite(int rc);
    // True the first time it is asked after a write failed.
    bool TakeFailedWriteNotice();

    // The search index beside the file, attached by the first call (see SearchIndex::Open);
    // null on a connection without a file or when no index can be kept. It is closed with
    // the connection, after the last commit.
    SearchIndex* OpenSearchIndex();
    SearchIndex* SearchIndexOf() const { return searchIndex_.get(); }

    // The file mapped into memory for a search the index serves or a listing of the whole
    // cache. The mapping outlives the listing until its rows have been handed on: tearing down
    // the view of a large file takes about a tenth of such a search, and the list need not
    // wait for it. Mapping while mapped keeps the one view.
    void MapForListing();
    void ReleaseListingMapping();

    // Tests shorten or lengthen the interval to see both sides of it without waiting; an
    // interval set so is kept as it is, not stretched by the time commits take.
    void SetBatchCommitInterval(DWORD ms);

protected:
    ~CacheConnection() override;

private:
    explicit CacheConnection(std::wstring file);
    int Run(const char* sql);
    int Settle();

    std::wstring filePath_;
    sqlite3* handle_ = nullptr;
    int wholeHolders_ = 0;
    int batchHolders_ = 0;
    DWORD batchThread_ = 0;
    ULONGLONG committedAt_ = 0;
    ULONGLONG lastCommitMs_ = 0;
    DWORD batchCommitMs_ = kDefaultBatchCommitMs;
    bool fixedInterval_ = false;
    // SQLite is still inside a transaction no holder has: its commit was refused by another
    // process's lock and waits for the next chance.
    bool commitPutOff_ = false;
    bool writeFailed_ = false;
    bool writeFailureTold_ = false;
    std::unique_ptr<SearchIndex> searchIndex_;
    std::unique_ptr<ReadMapping> readMapping_;
};

// While one lives, statements prepared on the connection may only read: a condition written
// by the user (a smart playlist, a "?" search) is compiled under it, so that one which tries to
// write, attach a file, change a pragma or begin a transaction fails to compile instead of
// changing the cache. Taken only under the database lock, around one prepare.
class ReadingOnlyScope {
public:
    explicit ReadingOnlyScope(sqlite3* handle);
    ~ReadingOnlyScope();
    ReadingOnlyScope(const ReadingOnlyScope&) = delete;
    ReadingOnlyScope& operator=(const ReadingOnlyScope&) = delete;

private:
    sqlite3* handle_;
};
