// The folders read into memory for indexed searches: found by id, trusted only while the cache
// is as it was when they were read (by this connection's writes or another's), and leaving out
// exactly the files the joined statement leaves out.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "db/FolderCatalog.h"
#include "db/SearchIndexFixture.h"
#include "support/QueryNumber.h"

namespace {

class MemoryFolders : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
        Exec("CREATE TABLE Folder (folderid INTEGER PRIMARY KEY, folder_exists INTEGER, path VARCHAR(255))");
        Exec("INSERT INTO Folder VALUES (3, 1, 'C:\\A\\'), (7, 0, 'C:\\Gone\\'), (9, 1, NULL), "
             "(12, '1', 'C:\\\u00c9t\u00e9\\')");
    }
    void TearDown() override { sqlite3_close(db); }
    void Exec(const char* sql) { ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql; }

    sqlite3* db = nullptr;
    FolderCatalog catalog;
};

TEST_F(MemoryFolders, FindsEachFolderByIdAsTheJoinWouldListIt) {
    EXPECT_FALSE(catalog.Current(db));
    EXPECT_TRUE(catalog.Stale(db));
    ASSERT_TRUE(catalog.Read(db));
    EXPECT_TRUE(catalog.Current(db));
    EXPECT_FALSE(catalog.Stale(db));

    const FolderCatalog::Entry* a = catalog.Find(3);
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(a->listed);
    EXPECT_EQ(catalog.PathOf(*a), L"C:\\A\\");
    ASSERT_NE(catalog.Find(7), nullptr);
    EXPECT_FALSE(catalog.Find(7)->listed);
    ASSERT_NE(catalog.Find(9), nullptr);
    EXPECT_FALSE(catalog.Find(9)->listed);
    // A stored text "1" is the number 1 to the column's affinity, as to the join.
    ASSERT_NE(catalog.Find(12), nullptr);
    EXPECT_TRUE(catalog.Find(12)->listed);
    EXPECT_EQ(catalog.PathOf(*catalog.Find(12)), L"C:\\\u00c9t\u00e9\\");
    for (long long missing : {0LL, 4LL, 8LL, 13LL, -1LL}) EXPECT_EQ(catalog.Find(missing), nullptr) << missing;
}

TEST_F(MemoryFolders, AnyWriteSinceLeavesItBehindUntilReadAgain) {
    ASSERT_TRUE(catalog.Read(db));
    Exec("UPDATE Folder SET folder_exists=0 WHERE folderid=3");
    EXPECT_FALSE(catalog.Current(db));
    EXPECT_TRUE(catalog.Stale(db));
    ASSERT_TRUE(catalog.Read(db));
    EXPECT_FALSE(catalog.Find(3)->listed);

    // A write that changes nothing the catalog holds still counts: it cannot tell.
    Exec("CREATE TABLE Other (x)");
    Exec("INSERT INTO Other VALUES (1)");
    EXPECT_FALSE(catalog.Current(db));
}

TEST_F(MemoryFolders, TooManyFoldersAreNeitherKeptNorTriedAgain) {
    Exec("WITH RECURSIVE n(i) AS (SELECT 100 UNION ALL SELECT i + 1 FROM n LIMIT 250000) "
         "INSERT INTO Folder SELECT i, 1, 'C:\\F' || i || '\\' FROM n");
    EXPECT_FALSE(catalog.Read(db));
    EXPECT_FALSE(catalog.Current(db));
    EXPECT_EQ(catalog.Find(3), nullptr);
    Exec("DELETE FROM Folder WHERE folderid > 1000");
    EXPECT_FALSE(catalog.Stale(db));
}

}  // namespace

// Searches of every folder whose first word is tested in memory take their folders from the
// catalog; what they list must not move from what the joined statement lists, whatever was
// written since the catalog was read.
class FolderCatalogSearchTest : public SearchIndexTest {
protected:
    // A file of its own word, so that the search for it is served by the index and lists it.
    long long Marked(int n, const std::wstring& word) {
        long long id = ShownFile(n);
        Run(*fast, L"UPDATE Files SET title='" + word + L"' WHERE fileid=" + std::to_wstring(id));
        return id;
    }
    long long FolderOf(long long fileId) {
        return QueryNumber(*fast, L"SELECT folderid FROM Files WHERE fileid=" + std::to_wstring(fileId));
    }
};

TEST_F(FolderCatalogSearchTest, ServesSearchesWhileCurrentAndListsAsTheJoinDoes) {
    long long id = Marked(3, L"Xylophonic");
    ASSERT_TRUE(BuildAll());
    ASSERT_NE(index->CurrentFolders(), nullptr);
    EXPECT_EQ(Fast(L"xylophonic"), std::vector<long long>{id});
    for (const wchar_t* text : {L"love", L"night", L"summ", L"music", L"100%", L"love nig"})
        EXPECT_EQ(Fast(text), Plain(text)) << text;
}

TEST_F(FolderCatalogSearchTest, AFolderGoneSinceIsLeftOutAtOnce) {
    long long id = Marked(4, L"Xylophonic");
    long long folderId = FolderOf(id);
    ASSERT_TRUE(BuildAll());
    ASSERT_NE(index->CurrentFolders(), nullptr);
    EXPECT_EQ(Fast(L"xylophonic"), std::vector<long long>{id});

    // Written on this connection: the catalog still says the folder exists.
    Run(*fast, L"UPDATE Folder SET folder_exists=0 WHERE folderid=" + std::to_wstring(folderId));
    EXPECT_EQ(index->CurrentFolders(), nullptr);
    EXPECT_EQ(Fast(L"xylophonic"), std::vector<long long>{});
    EXPECT_EQ(Plain(L"xylophonic"), std::vector<long long>{});
    ASSERT_TRUE(BuildAll());
    ASSERT_NE(index->CurrentFolders(), nullptr);
    EXPECT_EQ(Fast(L"xylophonic"), std::vector<long long>{});
}

TEST_F(FolderCatalogSearchTest, AnotherConnectionsWriteIsNoticed) {
    long long id = Marked(6, L"Xylophonic");
    long long folderId = FolderOf(id);
    ASSERT_TRUE(BuildAll());
    ASSERT_NE(index->CurrentFolders(), nullptr);
    Run(*plain, L"UPDATE Folder SET path=NULL WHERE folderid=" + std::to_wstring(folderId));
    EXPECT_EQ(Fast(L"xylophonic"), Plain(L"xylophonic"));
    EXPECT_EQ(Fast(L"xylophonic"), std::vector<long long>{});
}

TEST_F(FolderCatalogSearchTest, AFileWithoutItsFolderRowIsLeftOut) {
    long long id = Marked(8, L"Xylophonic");
    long long other = Marked(9, L"Xylophonic");
    Run(*fast, L"UPDATE Files SET folderid=987654 WHERE fileid=" + std::to_wstring(id));
    ASSERT_TRUE(BuildAll());
    ASSERT_NE(index->CurrentFolders(), nullptr);
    EXPECT_EQ(Fast(L"xylophonic"), std::vector<long long>{other});
    EXPECT_EQ(Fast(L"xylophonic"), Plain(L"xylophonic"));
}
