// A cache file that must not be used as it is (damaged, made by a newer version, held by
// another program, or left with a journal by a killed run) is found at start, before anything
// writes to it, and nothing happens to it without the user's yes.
#include <gtest/gtest.h>

#include <string>

#include "base/Path.h"
#include "db/CacheStartupFixture.h"
#include "support/TempFolder.h"

namespace {

constexpr size_t kPageSize = 4096;

class CacheStartupTest : public CacheDatabaseTest {
protected:
    // A current cache with one root and enough rows to fill a few dozen pages.
    std::string SoundCacheBytes() {
        {
            ScriptedPrompt none({});
            StartWith(none);
        }
        std::string sql = "INSERT INTO Roots (type, autoload, path, rootOrder) VALUES (1, 1, 'C:\\Music\\', 1);";
        for (int i = 0; i < 300; ++i)
            sql += "INSERT INTO Files (filename, title, folderid) VALUES ('song" + std::to_string(i) +
                   ".mp3', '" + std::string(200, 'a' + i % 26) + "', 1);";
        MakeDatabase(DbFile(), sql.c_str());
        return ReadBytes(DbFile());
    }
    std::wstring SetAside(int n) const { return DbFile() + L".bad-" + std::to_wstring(n); }
};

std::string TextFile(std::string) { return "[Playlist]\r\nThis is a text file the user saved under the cache's name.\r\n"; }
std::string Truncated(std::string bytes) { return bytes.substr(0, bytes.size() / 2); }
// The page headers of three b-tree pages overwritten (the Files and Folder tables' first pages
// and one of their data pages): what a bad sector or a stray write does.
std::string FlippedPages(std::string bytes) {
    for (size_t page : {1, 2, 7})
        for (size_t i = 0; i < 8; ++i) bytes[page * kPageSize + i] = static_cast<char>(bytes[page * kPageSize + i] ^ 0x5a);
    return bytes;
}

struct Damage {
    const char* name;
    std::string (*make)(std::string);
};
// Shorter than a page: SQLite alone would take it for an empty database and write over it.
std::string ShortFile(std::string) { return "not a cache"; }

const Damage kDamages[] = {{"text file", &TextFile},
                           {"short file", &ShortFile},
                           {"truncated", &Truncated},
                           {"flipped pages", &FlippedPages}};

TEST_F(CacheStartupTest, DamagedFileDeclinedIsLeftByteForByteAndNothingIsStored) {
    for (const Damage& damage : kDamages) {
        std::string bad = damage.make(SoundCacheBytes());
        WriteBytes(DbFile(), bad);
        ScriptedPrompt prompt({false});
        {
            CacheDatabase database(CacheFolder());
            EXPECT_EQ(PrepareCacheAtStartup(database, prompt), CacheStartupOutcome::kNoCache) << damage.name;
            // The plugin goes on without a cache: what it would store goes nowhere.
            EXPECT_FALSE(database.IsOpen()) << damage.name;
            EXPECT_FALSE(database.CreateSchema()) << damage.name;
        }
        ASSERT_EQ(prompt.asked.size(), 1u) << damage.name;
        EXPECT_EQ(prompt.captions[0], L"Warning");
        EXPECT_NE(prompt.asked[0].find(L"is damaged"), std::wstring::npos) << damage.name;
        EXPECT_NE(prompt.asked[0].find(DbFile()), std::wstring::npos) << damage.name;
        EXPECT_TRUE(ReadBytes(DbFile()) == bad) << damage.name;
        EXPECT_FALSE(PathExists(SetAside(1))) << damage.name;
        DeleteFileW(DbFile().c_str());
    }
}

TEST_F(CacheStartupTest, DamagedFileAcceptedIsSetAsideAndTheRootsCarriedOver) {
    for (const Damage& damage : kDamages) {
        std::string bad = damage.make(SoundCacheBytes());
        WriteBytes(DbFile(), bad);
        ScriptedPrompt prompt({true});
        EXPECT_EQ(StartWith(prompt), CacheStartupOutcome::kRecreated) << damage.name;
        EXPECT_TRUE(ReadBytes(SetAside(1)) == bad) << damage.name;
        EXPECT_EQ(Query(DbFile(), "PRAGMA quick_check"), L"ok") << damage.name;
        EXPECT_EQ(Query(DbFile(), "PRAGMA user_version"), L"201") << damage.name;
        EXPECT_EQ(Query(DbFile(), "SELECT COUNT(*) FROM Files"), L"0") << damage.name;
        // The roots table sits on the first pages, which the truncation and the flips spare.
        if (std::string(damage.name) == "truncated" || std::string(damage.name) == "flipped pages") {
            EXPECT_EQ(Query(DbFile(), "SELECT path FROM Roots"), L"C:\\Music\\") << damage.name;
        }
        DeleteFileW(DbFile().c_str());
        DeleteFileW(SetAside(1).c_str());
    }
}

TEST_F(CacheStartupTest, SecondSetAsideTakesTheNextFreeName) {
    PrepareFolder();
    for (int n = 1; n <= 2; ++n) {
        WriteBytes(DbFile(), "not a database " + std::to_string(n));
        ScriptedPrompt prompt({true});
        EXPECT_EQ(StartWith(prompt), CacheStartupOutcome::kRecreated);
        EXPECT_EQ(ReadBytes(SetAside(n)), "not a database " + std::to_string(n));
        DeleteFileW(DbFile().c_str());
    }
}

// A later release's file may hold what this one cannot read back: it is neither upgraded nor
// written to.
TEST_F(CacheStartupTest, NewerVersionIsNotOfferedTheUpgrade) {
    SoundCacheBytes();
    MakeDatabase(DbFile(), "PRAGMA user_version=305");
    std::string newer = ReadBytes(DbFile());

    ScriptedPrompt no({false});
    EXPECT_EQ(StartWith(no), CacheStartupOutcome::kNoCache);
    ASSERT_EQ(no.asked.size(), 1u);
    EXPECT_NE(no.asked[0].find(L"newer version"), std::wstring::npos);
    EXPECT_TRUE(ReadBytes(DbFile()) == newer);

    ScriptedPrompt yes({true});
    EXPECT_EQ(StartWith(yes), CacheStartupOutcome::kRecreated);
    EXPECT_TRUE(ReadBytes(SetAside(1)) == newer);
    EXPECT_EQ(Query(DbFile(), "PRAGMA user_version"), L"201");
    EXPECT_EQ(Query(DbFile(), "SELECT path FROM Roots"), L"C:\\Music\\");
}

// Another program holds the file locked: trying again once it let go uses the file as it is;
// giving up leaves it alone. Neither answer offers to move it.
TEST_F(CacheStartupTest, FileLockedByAnotherProgram) {
    std::string sound = SoundCacheBytes();
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open16(DbFile().c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);

    ScriptedPrompt no({false});
    EXPECT_EQ(StartWith(no), CacheStartupOutcome::kNoCache);
    ASSERT_EQ(no.asked.size(), 1u);
    EXPECT_NE(no.asked[0].find(L"another program"), std::wstring::npos);
    EXPECT_TRUE(ReadBytes(DbFile()) == sound);

    ScriptedPrompt retry({true, true});
    retry.onAsk = [&] {
        if (retry.asked.size() == 2) sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
    };
    EXPECT_EQ(StartWith(retry), CacheStartupOutcome::kCurrent);
    EXPECT_EQ(retry.asked.size(), 2u);
    EXPECT_EQ(Query(DbFile(), "SELECT COUNT(*) FROM Files"), L"300");
    sqlite3_close(other);
}

// A run killed in the middle of a transaction leaves changed pages in the file and their old
// content in the journal. The first read must roll them back (and not throw the journal away):
// the file then holds exactly what was last committed.
TEST_F(CacheStartupTest, JournalOfAKilledRunIsRolledBack) {
    SoundCacheBytes();
    TempFolder killed;
    std::wstring keptFile = killed.File(L"cvCache.db");
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open16(DbFile().c_str(), &writer), SQLITE_OK);
    // A tiny page cache makes the transaction write changed pages into the file before commit.
    sqlite3_exec(writer, "PRAGMA cache_size=2; BEGIN; UPDATE Files SET title='half-done';"
                         "DELETE FROM Roots;", nullptr, nullptr, nullptr);
    // The state on disk at that moment is what a kill leaves.
    ASSERT_TRUE(CopyFileW(DbFile().c_str(), keptFile.c_str(), FALSE));
    ASSERT_TRUE(CopyFileW((DbFile() + L"-journal").c_str(), (keptFile + L"-journal").c_str(), FALSE));
    sqlite3_exec(writer, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(writer);
    ASSERT_TRUE(CopyFileW(keptFile.c_str(), DbFile().c_str(), FALSE));
    ASSERT_TRUE(CopyFileW((keptFile + L"-journal").c_str(), (DbFile() + L"-journal").c_str(), FALSE));
    // Without its journal the file would show the half-done transaction.
    CopyFileW(keptFile.c_str(), (keptFile + L"-alone").c_str(), FALSE);
    EXPECT_NE(Query(keptFile + L"-alone", "SELECT COUNT(*) FROM Files WHERE title='half-done'"), L"0");

    ScriptedPrompt prompt({});
    EXPECT_EQ(StartWith(prompt), CacheStartupOutcome::kCurrent);
    EXPECT_TRUE(prompt.asked.empty());
    EXPECT_FALSE(PathExists(DbFile() + L"-journal"));
    EXPECT_EQ(Query(DbFile(), "PRAGMA integrity_check"), L"ok");
    EXPECT_EQ(Query(DbFile(), "SELECT COUNT(*) FROM Files WHERE title='half-done'"), L"0");
    EXPECT_EQ(Query(DbFile(), "SELECT COUNT(*) FROM Files"), L"300");
    EXPECT_EQ(Query(DbFile(), "SELECT path FROM Roots"), L"C:\\Music\\");
}

}  // namespace
