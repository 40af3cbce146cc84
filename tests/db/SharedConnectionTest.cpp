// Two owners of one cache connection, as the view and the worker have: their transactions nest
// instead of ending each other, a batch reaches the disk along the way, and the file is let go
// only when the last owner closes. What is stored is judged by a separate reader of the file.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <thread>

#include "db/CacheDatabase.h"
#include "db/DatabaseLock.h"
#include "support/OutsideReader.h"
#include "support/TempFolder.h"

namespace {

constexpr DWORD kNeverDue = 3600 * 1000;

class SharedConnectionTest : public testing::Test {
protected:
    void SetUp() override {
        worker = std::make_unique<CacheDatabase>(folder.File(L"Cache"));
        view = std::make_unique<CacheDatabase>(worker->SharedConnection());
        ASSERT_EQ(Insert(*worker), Statement::kOk);  // creates T with its first row
        reader = std::make_unique<OutsideReader>(worker->FilePath());
        ASSERT_EQ(StoredRows(), 1);
    }
    int Insert(CacheDatabase& database) {
        Lock lock(DatabaseLock());
        Statement& sql = database.Sql();
        sql.SetSql(L"CREATE TABLE IF NOT EXISTS T (n INTEGER)");
        sql.Execute();
        sql.SetSql(L"INSERT INTO T (n) VALUES (1)");
        return sql.Execute();
    }
    bool SQLiteInTransaction() const { return sqlite3_get_autocommit(view->Connection()) == 0; }
    // What another program reading the file sees: only what was committed.
    long long StoredRows() { return reader->Number("SELECT COUNT(*) FROM T"); }

    TempFolder folder;
    std::unique_ptr<CacheDatabase> worker, view;
    std::unique_ptr<OutsideReader> reader;
};

// The view's short transaction inside the worker's long one gives up only its own share: the
// worker's writes after it are still held together, and all commit with the worker's commit.
TEST_F(SharedConnectionTest, ViewTransactionInsideTheWorkersDoesNotEndIt) {
    worker->Sql().BeginTransaction();
    Insert(*worker);
    view->Sql().BeginTransaction();
    Insert(*view);
    EXPECT_TRUE(view->Sql().Commit());
    EXPECT_TRUE(SQLiteInTransaction()) << "the view's commit ended the worker's transaction";
    view->Sql().Commit();  // a second commit without a share of its own changes nothing
    EXPECT_TRUE(SQLiteInTransaction());
    Insert(*worker);
    EXPECT_EQ(StoredRows(), 1);

    EXPECT_TRUE(worker->Sql().Commit());
    EXPECT_FALSE(SQLiteInTransaction());
    EXPECT_EQ(StoredRows(), 4);
}

TEST_F(SharedConnectionTest, OneOwnersSecondBeginDoesNotNest) {
    worker->Sql().BeginTransaction();
    worker->Sql().BeginTransaction();
    Insert(*worker);
    worker->Sql().Commit();
    EXPECT_FALSE(SQLiteInTransaction());
    EXPECT_EQ(StoredRows(), 2);
}

// A batch is committed once the interval has passed; here it always has.
TEST_F(SharedConnectionTest, BatchIsCommittedAlongTheWay) {
    worker->SharedConnection()->SetBatchCommitInterval(0);
    worker->Sql().BeginBatch();
    Insert(*worker);
    EXPECT_EQ(StoredRows(), 2);
    Insert(*worker);
    EXPECT_EQ(StoredRows(), 3);
    EXPECT_TRUE(SQLiteInTransaction()) << "the batch goes on after each commit";
    worker->Sql().Commit();
    EXPECT_FALSE(SQLiteInTransaction());
}

// The view writes into the worker's batch from its own thread and takes its write as done: it
// is committed at once, with what the batch held, however young the batch is.
TEST_F(SharedConnectionTest, AnotherThreadsWriteIntoABatchIsStoredAtOnce) {
    worker->SharedConnection()->SetBatchCommitInterval(kNeverDue);
    worker->Sql().BeginBatch();
    Insert(*worker);
    EXPECT_EQ(StoredRows(), 1) << "a young batch is not committed by its own writes";

    int viewResult = -1;
    std::thread viewThread([&] { viewResult = Insert(*view); });
    viewThread.join();
    EXPECT_EQ(viewResult, Statement::kOk);
    EXPECT_EQ(StoredRows(), 3);

    Insert(*worker);
    EXPECT_EQ(StoredRows(), 3);
    worker->Sql().Commit();
    EXPECT_EQ(StoredRows(), 4);
}

// Another program's read lock makes a commit wait; once it has given up, the writes stay in
// the open transaction and are committed at the next chance, never rolled back.
TEST_F(SharedConnectionTest, CommitRefusedByAnotherProgramIsDoneLater) {
    worker->Sql().BeginTransaction();
    Insert(*worker);
    ASSERT_EQ(sqlite3_exec(reader->get(), "BEGIN; SELECT COUNT(*) FROM T;", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_TRUE(worker->Sql().Commit());
    EXPECT_TRUE(SQLiteInTransaction()) << "the refused commit was rolled back";
    ASSERT_EQ(sqlite3_exec(reader->get(), "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);

    EXPECT_EQ(Insert(*view), Statement::kOk);
    EXPECT_FALSE(SQLiteInTransaction());
    EXPECT_EQ(StoredRows(), 3);
}

// The file stays open, and locked against deletion, while either owner holds it; a share of a
// transaction left by an owner that closes is given up, and its writes are stored.
TEST_F(SharedConnectionTest, ConnectionClosesWithItsLastOwner) {
    std::wstring file = worker->FilePath();
    worker->Sql().BeginTransaction();
    Insert(*worker);
    worker->Close();
    EXPECT_FALSE(SQLiteInTransaction()) << "the closed owner's share is still held";
    EXPECT_EQ(StoredRows(), 2);
    EXPECT_TRUE(view->IsOpen());
    EXPECT_EQ(Insert(*view), Statement::kOk);

    for (int i = 0; i < 3; ++i) view->UserVersion();  // statements kept for reuse
    reader.reset();
    EXPECT_FALSE(DeleteFileW(file.c_str())) << "the file was let go while the view still uses it";
    view->Close();
    EXPECT_TRUE(DeleteFileW(file.c_str())) << GetLastError();
}

}  // namespace
