// The cache database file: creation with the full schema, the start-up questions for older or
// damaged files, and the two SQL functions.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <windows.h>

#include "db/CacheStartupFixture.h"

namespace {

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
    EXPECT_EQ(prompt.captions[0], L"Confirmation");
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
