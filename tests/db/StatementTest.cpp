// The statement wrapper against a real SQLite file: pieces, bindings, stepping, columns,
// failures as empty results, and transactions.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <thread>

#include "db/CacheDatabase.h"
#include "db/DatabaseLock.h"
#include "db/Statement.h"
#include "support/TempFolder.h"

namespace {

class StatementTest : public testing::Test {
protected:
    void SetUp() override {
        db = std::make_unique<Statement>(folder.File(L"t.db"));
        Run(L"CREATE TABLE T (id INTEGER PRIMARY KEY, name TEXT, n INTEGER)");
    }
    int Run(const wchar_t* sql) {
        db->SetSql(sql);
        return db->Execute();
    }
    long long Count(const wchar_t* where) {
        db->SetSql(L"SELECT COUNT(*) FROM T WHERE ");
        db->SetSql(where);
        db->Execute();
        return db->NextRow() ? db->ColumnInt64(1) : -1;
    }

    TempFolder folder;
    std::unique_ptr<Statement> db;
};

TEST_F(StatementTest, PiecesBeforeExecuteFormOneStatement) {
    db->SetSql(L"INSERT INTO T (name, n) ");
    db->SetSql(L"VALUES ('a', 1)");
    EXPECT_EQ(db->Execute(), 0);
    EXPECT_EQ(Count(L"name='a' AND n=1"), 1);
}

TEST_F(StatementTest, CompletedStatementLeavesNoRowsAndKeepsInsertId) {
    Run(L"INSERT INTO T (name) VALUES ('x')");
    db->SetSql(L"INSERT INTO T (name) VALUES (?)");
    db->BindText(L"y", 1);
    EXPECT_EQ(db->Execute(), 0);
    EXPECT_FALSE(db->NextRow());
    EXPECT_EQ(db->LastInsertId(), 2);
    EXPECT_EQ(db->ColumnInt(1), 0);
    EXPECT_FALSE(db->ColumnText(1));
}

TEST_F(StatementTest, NullFlagsBindNull) {
    db->SetSql(L"INSERT INTO T (name, n) VALUES (?, ?)");
    db->BindText(nullptr, 1, true);
    db->BindInt(0, 2, true);
    ASSERT_EQ(db->Execute(), 0);
    EXPECT_EQ(Count(L"name IS NULL AND n IS NULL"), 1);

    db->SetSql(L"INSERT INTO T (name, n) VALUES (?, ?)");
    db->BindText(L"", 1, true);
    db->BindInt(0, 2);
    ASSERT_EQ(db->Execute(), 0);
    EXPECT_EQ(Count(L"name='' AND n=0"), 1);
}

TEST_F(StatementTest, MissingValueRunsNothingAndTheNextStatementStartsAfresh) {
    db->SetSql(L"INSERT INTO T (name, n) VALUES (?, ?)");
    db->BindText(nullptr, 1);
    db->BindInt(5, 2);
    EXPECT_EQ(db->Execute(), Statement::kMissingValue);
    EXPECT_EQ(Count(L"1"), 0);
    // An absent optional binds nothing, so the statement runs with the values it has.
    db->SetSql(L"INSERT INTO T (name) VALUES ('z')");
    db->BindText(std::optional<std::wstring>(), 1);
    EXPECT_EQ(db->Execute(), 0);
    EXPECT_EQ(Count(L"name='z'"), 1);
}

TEST_F(StatementTest, BindsByNameAndReadsColumnsByName) {
    db->SetSql(L"INSERT INTO T (name, n) VALUES (:NAME, :N)");
    db->BindTextByName(L":NAME", L"Bj\u00f6rk");
    db->BindIntByName(L":N", 42);
    ASSERT_EQ(db->Execute(), 0);

    db->SetSql(L"SELECT name, n FROM T");
    ASSERT_EQ(db->Execute(), 0);
    ASSERT_TRUE(db->NextRow());
    EXPECT_EQ(db->ColumnText(L"NAME").value_or(L"?"), L"Bj\u00f6rk");
    EXPECT_EQ(db->ColumnInt(L"n"), 42);
    EXPECT_EQ(db->ColumnInt(L"nothing"), 0);
    EXPECT_FALSE(db->ColumnText(L"nothing"));
    EXPECT_FALSE(db->NextRow());
}

TEST_F(StatementTest, UnknownParameterNameLeavesTheStatementUnrun) {
    db->SetSql(L"INSERT INTO T (name) VALUES (:NAME)");
    db->BindTextByName(L":WRONG", L"a");
    EXPECT_EQ(db->Execute(), Statement::kMissingValue);
    EXPECT_EQ(Count(L"1"), 0);
}

TEST_F(StatementTest, NextRowWalksEveryRowOnce) {
    for (int i = 1; i <= 3; ++i) {
        db->SetSql(L"INSERT INTO T (n) VALUES (?)");
        db->BindInt(i, 1);
        db->Execute();
    }
    db->SetSql(L"SELECT n FROM T ORDER BY n");
    ASSERT_EQ(db->Execute(), 0);
    std::vector<int> seen;
    while (db->NextRow()) seen.push_back(db->ColumnInt(1));
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3}));
    EXPECT_FALSE(db->NextRow());
}

TEST_F(StatementTest, FailuresAreEmptyResults) {
    db->SetSql(L"SELECT * FROM NoSuchTable");
    db->BindText(L"a", 1);
    EXPECT_NE(db->Execute(), 0);
    EXPECT_FALSE(db->NextRow());
    EXPECT_EQ(db->ColumnInt64(1), 0);
    // The failed text is not carried into the next statement.
    EXPECT_EQ(Run(L"INSERT INTO T (n) VALUES (1)"), 0);
}

TEST_F(StatementTest, LongStatementTextIsNotCut) {
    std::wstring sql = L"SELECT COUNT(*) FROM T WHERE name IS NULL";
    while (sql.size() < 9000) sql += L" OR name = 'abcdefghijklmnopqrstuvwxyz'";
    db->SetSql(sql);
    EXPECT_EQ(db->Execute(), 0);
    EXPECT_TRUE(db->NextRow());
}

TEST_F(StatementTest, TransactionsDoNotNest) {
    sqlite3* connection = db->Connection();
    db->BeginTransaction();
    db->BeginTransaction();
    EXPECT_EQ(sqlite3_get_autocommit(connection), 0);
    Run(L"INSERT INTO T (n) VALUES (7)");
    db->Commit();
    EXPECT_EQ(sqlite3_get_autocommit(connection), 1);
    EXPECT_FALSE(db->InTransaction());
    db->Commit();  // nothing open: no effect
    EXPECT_EQ(Count(L"n=7"), 1);
}

// Two connections on two threads, as the view and the worker have: the lock serialises them,
// so neither sees a busy database and no insert is lost.
TEST_F(StatementTest, TwoConnectionsOnTwoThreadsLoseNothing) {
    auto writer = [this](int base) {
        Statement own(folder.File(L"t.db"));
        for (int i = 0; i < 200; ++i) {
            Lock lock(DatabaseLock());
            own.SetSql(L"INSERT INTO T (n) VALUES (?)");
            own.BindInt(base + i, 1);
            EXPECT_EQ(own.Execute(), 0);
        }
    };
    std::thread a(writer, 0), b(writer, 1000);
    a.join();
    b.join();
    EXPECT_EQ(Count(L"1"), 400);
}

// Statements kept for reuse: a reused one takes new values, a text in use by one statement
// object is never handed to another, and a kept statement holds no read lock.
TEST_F(StatementTest, ReusedStatementsKeepTheirOwnState) {
    for (int i = 1; i <= 3; ++i) Run((L"INSERT INTO T (n) VALUES (" + std::to_wstring(i) + L")").c_str());
    StatementCache cache;
    Statement first(db->SharedConnection(), &cache), second(db->SharedConnection(), &cache);
    auto nAbove = [](Statement& statement, int above) {
        statement.SetSql(L"SELECT n FROM T WHERE n > ? ORDER BY n");
        statement.BindInt(above, 1);
        return statement.Execute() == 0 && statement.NextRow() ? statement.ColumnInt(1) : -1;
    };
    EXPECT_EQ(nAbove(first, 0), 1);
    EXPECT_EQ(nAbove(second, 1), 2);
    EXPECT_TRUE(first.NextRow());
    EXPECT_EQ(first.ColumnInt(1), 2) << "the second user did not take over the first one's statement";
    first.Finish();
    second.Finish();
    EXPECT_EQ(cache.Size(), 1u);
    EXPECT_EQ(nAbove(first, 2), 3) << "the kept statement runs with its new value";

    // Finished in the middle of its rows and kept: another connection can still write.
    first.Finish();
    Statement other(folder.File(L"t.db"));
    other.SetSql(L"INSERT INTO T (n) VALUES (9)");
    EXPECT_EQ(other.Execute(), 0);
    EXPECT_EQ(nAbove(first, 8), 9);
}

// A connection with statements still prepared cannot close, and the file would stay locked.
TEST(StatementCacheTest, ClosingTheCacheDatabaseReleasesItsFile) {
    TempFolder folder;
    CacheDatabase database(folder.path());
    database.CreateSchema();
    for (int i = 0; i < 3; ++i) database.UserVersion();
    EXPECT_GT(database.PreparedStatements().Size(), 0u);
    database.Close();
    EXPECT_TRUE(DeleteFileW(database.FilePath().c_str())) << GetLastError();
}

}  // namespace
