// The cache database file: creation with the full schema, the start-up questions for older or
// damaged files, and the two SQL functions.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <windows.h>

#include <vector>

#include "db/CacheDatabase.h"
#include "db/CacheStartup.h"
#include "support/TempFolder.h"

namespace {

class ScriptedPrompt : public UserPrompt {
public:
    explicit ScriptedPrompt(std::vector<bool> answers) : answers_(std::move(answers)) {}
    bool AskYesNo(const std::wstring& caption, const std::wstring& text) override {
        asked.push_back(text);
        EXPECT_EQ(caption, L"Confirmation");
        size_t i = asked.size() - 1;
        return i < answers_.size() && answers_[i];
    }
    std::vector<std::wstring> asked;

private:
    std::vector<bool> answers_;
};

// Reads one value with a plain connection of its own, as an outside tool would.
std::wstring Query(const std::wstring& file, const char* sql) {
    sqlite3* db = nullptr;
    std::wstring out;
    if (sqlite3_open16(file.c_str(), &db) == SQLITE_OK) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) == SQLITE_OK) {
            while (sqlite3_step(st) == SQLITE_ROW) {
                auto text = static_cast<const wchar_t*>(sqlite3_column_text16(st, 0));
                if (!out.empty()) out += L",";
                out += text ? text : L"NULL";
            }
        }
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return out;
}

void MakeDatabase(const std::wstring& file, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open16(file.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

class CacheDatabaseTest : public testing::Test {
protected:
    std::wstring CacheFolder() const { return folder.File(L"Crateview\\Cache"); }
    std::wstring DbFile() const { return CacheFolder() + L"\\cvCache.db"; }
    void PrepareFolder() {
        CreateDirectoryW(folder.File(L"Crateview").c_str(), nullptr);
        CreateDirectoryW(CacheFolder().c_str(), nullptr);
    }
    CacheStartupOutcome StartWith(ScriptedPrompt& prompt) {
        CacheDatabase database(CacheFolder());
        return PrepareCacheAtStartup(database, prompt);
    }
    std::wstring Schema() const {
        return Query(DbFile(), "SELECT type || ':' || name FROM sqlite_master ORDER BY type, name");
    }

    TempFolder folder;
};

const wchar_t kFullSchema[] =
    L"index:IDX_FILEPATH,index:IDX_FOLDERID,index:IDX_PATH,table:Files,table:Folder,table:Roots,"
    L"view:QueryView";

TEST_F(CacheDatabaseTest, FirstStartCreatesFoldersAndTheFullSchema) {
    ScriptedPrompt prompt({});
    EXPECT_EQ(StartWith(prompt), CacheStartupOutcome::kCurrent);
    EXPECT_TRUE(prompt.asked.empty());
    EXPECT_EQ(Query(DbFile(), "PRAGMA user_version"), L"201");
    EXPECT_EQ(Query(DbFile(), "PRAGMA encoding"), L"UTF-16le");
    EXPECT_EQ(Schema(), kFullSchema);
}

TEST_F(CacheDatabaseTest, CurrentDatabaseIsLeftAloneAndNothingIsAsked) {
    ScriptedPrompt first({});
    StartWith(first);
    MakeDatabase(DbFile(), "INSERT INTO Roots (type, path) VALUES (1, 'C:\\Music\\')");
    ScriptedPrompt second({});
    EXPECT_EQ(StartWith(second), CacheStartupOutcome::kCurrent);
    EXPECT_TRUE(second.asked.empty());
    EXPECT_EQ(Query(DbFile(), "SELECT path FROM Roots"), L"C:\\Music\\");
}

TEST_F(CacheDatabaseTest, VersionZeroIsUpgradedWhenTheUserAgrees) {
    PrepareFolder();
    MakeDatabase(DbFile(),
                 "CREATE TABLE Files (fileid INTEGER PRIMARY KEY, filename VARCHAR(255), title TEXT);"
                 "CREATE TABLE Roots (rootid INTEGER PRIMARY KEY, type INTEGER, autoload INTEGER,"
                 " path VARCHAR(300), rootOrder INTEGER, name VARCHAR(255));"
                 "CREATE INDEX IDX_FILEPATH on Files (filename);"
                 "INSERT INTO Files (filename, title) VALUES ('a.mp3', 'Kept');");
    ScriptedPrompt prompt({true});
    EXPECT_EQ(StartWith(prompt), CacheStartupOutcome::kUpgraded);
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0],
              L"The database detected is too old for this version of Crateview.\nAttempt to update it?");
    EXPECT_EQ(Query(DbFile(), "PRAGMA user_version"), L"201");
    EXPECT_EQ(Schema(), kFullSchema);
    EXPECT_EQ(Query(DbFile(), "SELECT title || ':' || IFNULL(folderid, 'none') FROM Files"), L"Kept:none");
}

TEST_F(CacheDatabaseTest, FailedUpgradeOffersRemovalAndYesGivesAnEmptyCurrentDatabase) {
    PrepareFolder();
    MakeDatabase(DbFile(), "CREATE TABLE Files (fileid INTEGER PRIMARY KEY); PRAGMA user_version=150;");
    ScriptedPrompt prompt({true, true});
    EXPECT_EQ(StartWith(prompt), CacheStartupOutcome::kRecreated);
    ASSERT_EQ(prompt.asked.size(), 2u);
    EXPECT_NE(prompt.asked[1].find(L"Do you want to remove the database?"), std::wstring::npos);
    EXPECT_EQ(Query(DbFile(), "PRAGMA user_version"), L"201");
    EXPECT_EQ(Schema(), kFullSchema);
}

// A half-applied upgrade would leave a file that is neither layout; a failing step must undo
// the ones before it so that "No" really keeps the old file.
TEST_F(CacheDatabaseTest, FailedUpgradeOfVersionZeroLeavesTheFileAsItWas) {
    PrepareFolder();
    MakeDatabase(DbFile(), "CREATE TABLE Files (fileid INTEGER PRIMARY KEY, filename TEXT);"
                           "CREATE TABLE Folder (x INTEGER);");
    ScriptedPrompt prompt({true, false});
    EXPECT_EQ(StartWith(prompt), CacheStartupOutcome::kKeptOld);
    EXPECT_EQ(prompt.asked.size(), 2u);
    EXPECT_EQ(Query(DbFile(), "SELECT COUNT(*) FROM pragma_table_info('Files') WHERE name='folderid'"), L"0");
    EXPECT_EQ(Query(DbFile(), "PRAGMA user_version"), L"0");
}

TEST_F(CacheDatabaseTest, FileThatIsNotADatabase) {
    const std::string junk = "This is not an SQLite file at all, just some text the user had.\n";
    struct Case { std::vector<bool> answers; CacheStartupOutcome outcome; bool replaced; };
    const Case cases[] = {
        {{false}, CacheStartupOutcome::kKeptOld, false},
        {{true, false}, CacheStartupOutcome::kKeptOld, false},
        {{true, true}, CacheStartupOutcome::kRecreated, true},
    };
    for (const Case& c : cases) {
        PrepareFolder();
        WriteBytes(DbFile(), junk);
        ScriptedPrompt prompt(c.answers);
        EXPECT_EQ(StartWith(prompt), c.outcome);
        if (c.replaced) {
            EXPECT_EQ(Query(DbFile(), "PRAGMA user_version"), L"201");
            EXPECT_EQ(Schema(), kFullSchema);
        } else {
            EXPECT_EQ(ReadBytes(DbFile()), junk) << "answers: " << c.answers.size();
        }
    }
}

TEST_F(CacheDatabaseTest, SqlFunctions) {
    CacheDatabase database(CacheFolder());
    database.CreateSchema();
    Statement& sql = database.Sql();
    auto text = [&](const std::wstring& query) {
        sql.SetSql(query);
        sql.Execute();
        std::wstring out = sql.NextRow() ? sql.ColumnText(1).value_or(L"NULL") : L"(no row)";
        sql.Finish();
        return out;
    };
    EXPECT_EQ(text(L"SELECT StripAccent(NULL)"), L"NULL");
    EXPECT_EQ(text(L"SELECT StripAccent('\u00c6r\u00f8')"), L"AEro");
    EXPECT_EQ(text(L"SELECT StripAccent('\u00df')"), L"\u00df");
    EXPECT_EQ(text(L"SELECT StripAccent('Caf\u00e9 \u00bd')"), L"Cafe 1\u20442");
    EXPECT_EQ(text(L"SELECT typeof(StripAccent(12))"), L"text");
    EXPECT_EQ(text(L"SELECT FileExists('" + folder.path() + L"')"), L"1");
    EXPECT_EQ(text(L"SELECT FileExists('" + folder.File(L"missing.mp3") + L"')"), L"0");
    EXPECT_EQ(text(L"SELECT FileExists(NULL)"), L"0");
}

}  // namespace
