// Conditions the user writes (smart playlists, "?" searches) run on the shared connection but
// may only read: writes, attachments, pragma changes and trailing statements are refused and
// leave the cache as it was, while ordinary conditions and the cache's functions still work.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "db/Listing.h"
#include "LibraryFixture.h"

namespace {

class ReadingOnlyTest : public LibraryCacheTest {
protected:
    // Runs the text restricted to reading and answers Execute's result.
    int RunReadingOnly(const std::wstring& text) {
        Statement& sql = db->Sql();
        sql.SetSql(text);
        sql.RestrictToReading();
        int result = sql.Execute();
        sql.Finish();
        return result;
    }
    std::unique_ptr<ListResult> Query(const std::wstring& condition) {
        return std::unique_ptr<ListResult>(ListQuery(*db, L"?" + condition));
    }
    long long FileCount() { return Count(L"SELECT COUNT(*) FROM Files"); }
};

TEST_F(ReadingOnlyTest, WritingStatementsAreRefusedAndChangeNothing) {
    long long files = FileCount();
    std::wstring attached = folder.path() + L"\\other.db";
    const std::wstring refused[] = {
        L"DELETE FROM Files",
        L"UPDATE Files SET title='x'",
        L"INSERT INTO Folder (path) VALUES ('x')",
        L"DROP TABLE Files",
        L"ATTACH DATABASE '" + attached + L"' AS other",
        L"PRAGMA user_version=77",
        L"PRAGMA journal_mode=OFF",
        L"BEGIN",
        L"SELECT 1; DELETE FROM Files",
        L"SELECT load_extension('evil.dll')",
    };
    for (const std::wstring& text : refused) EXPECT_NE(RunReadingOnly(text), Statement::kOk) << WideToUtf8(text);
    EXPECT_EQ(FileCount(), files);
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM Files WHERE title='x'"), 0);
    EXPECT_NE(Count(L"PRAGMA user_version"), 77);
    EXPECT_EQ(GetFileAttributesW(attached.c_str()), INVALID_FILE_ATTRIBUTES);
}

// Reads, views and the cache's own functions are what a condition is made of.
TEST_F(ReadingOnlyTest, ReadsViewsAndCacheFunctionsStillRun) {
    EXPECT_EQ(RunReadingOnly(L"SELECT COUNT(*) FROM QueryView WHERE StripAccent(artist) LIKE '%bjork%'"),
              Statement::kOk);
    EXPECT_EQ(RunReadingOnly(L"SELECT * FROM Files WHERE lower(title) = 'love me do' -- trailing comment"),
              Statement::kOk);
}

// The restriction lasts for one compile only: the connection's own writes go on afterwards.
TEST_F(ReadingOnlyTest, OrdinaryWritesWorkAfterARestrictedStatement) {
    EXPECT_NE(RunReadingOnly(L"DELETE FROM Files"), Statement::kOk);
    Run(L"UPDATE Files SET playcount=41 WHERE fileid=" + std::to_wstring(armyId));
    EXPECT_EQ(Count(L"SELECT playcount FROM Files WHERE fileid=" + std::to_wstring(armyId)), 41);
}

// A statement compiled without the restriction and kept for reuse must not be handed to the
// same text when it runs restricted.
TEST_F(ReadingOnlyTest, ReusedStatementsDoNotBypassTheRestriction) {
    const std::wstring text = L"DELETE FROM Files WHERE fileid=" + std::to_wstring(armyId);
    Run(text + L" AND 0");
    long long files = FileCount();
    Run(L"SELECT 1");  // the unrestricted write is now kept for reuse
    EXPECT_NE(RunReadingOnly(text + L" AND 0"), Statement::kOk);
    EXPECT_NE(RunReadingOnly(text), Statement::kOk);
    EXPECT_EQ(FileCount(), files);
}

TEST_F(ReadingOnlyTest, HostileConditionsListNothingAndSayTheyWereRefused) {
    long long files = FileCount();
    const std::wstring hostile[] = {
        L"1); DELETE FROM Files; --",
        L"1; DELETE FROM Files",
        L"1; ATTACH DATABASE 'x.db' AS x",
        L"1; PRAGMA user_version=5",
        L"artist = 'unterminated",
    };
    for (const std::wstring& condition : hostile) {
        std::unique_ptr<ListResult> result = Query(condition);
        EXPECT_TRUE(result->rows->rows.empty()) << WideToUtf8(condition);
        EXPECT_TRUE(result->totals.rejected) << WideToUtf8(condition);
    }
    EXPECT_EQ(FileCount(), files);
    EXPECT_NE(Count(L"PRAGMA user_version"), 5);
}

TEST_F(ReadingOnlyTest, ValidConditionsListTheirFilesAndAreNotRefused) {
    std::unique_ptr<ListResult> result = Query(L"(Artist LIKE '%Beatles%') AND (SIZE > 50)");
    ASSERT_EQ(result->rows->rows.size(), 1u);
    EXPECT_EQ(result->rows->rows.front()->FileName(), L"Love.mp3");
    EXPECT_FALSE(result->totals.rejected);
    EXPECT_FALSE(Query(L"Artist = 'Nobody'")->totals.rejected);
}

}  // namespace
