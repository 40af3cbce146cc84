// The roots export file: what an export writes, that it replaces an older file, and which
// roots an import adds to a cache, on real files in a temporary folder.
#include <gtest/gtest.h>

#include <windows.h>

#include <sqlite3.h>

#include <optional>
#include <string>
#include <vector>

#include "db/CacheDatabase.h"
#include "db/roots/FolderRoot.h"
#include "db/roots/PlaylistRoot.h"
#include "db/roots/RootExport.h"
#include "db/roots/RootRows.h"
#include "db/roots/SqlRoot.h"
#include "support/TempFolder.h"

namespace {

const wchar_t kNoNewRoots[] = L"No roots found that are not already in your database";
const wchar_t kSmartName[] = L"\u00dcber A";

// Reads a file with SQLite itself, so that an export is judged by what any reader would see.
// NULL reads as "-".
class RawFile {
public:
    explicit RawFile(const std::wstring& path) { sqlite3_open16(path.c_str(), &db_); }
    ~RawFile() { sqlite3_close(db_); }
    RawFile(const RawFile&) = delete;
    RawFile& operator=(const RawFile&) = delete;

    void Run(const char* sql) { EXPECT_EQ(sqlite3_exec(db_, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sql; }
    std::vector<std::vector<std::wstring>> Query(const wchar_t* sql) {
        std::vector<std::vector<std::wstring>> rows;
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare16_v2(db_, sql, -1, &st, nullptr);
        while (st && sqlite3_step(st) == SQLITE_ROW) {
            rows.emplace_back();
            for (int i = 0; i < sqlite3_column_count(st); ++i) {
                auto text = static_cast<const wchar_t*>(sqlite3_column_text16(st, i));
                rows.back().push_back(text ? text : L"-");
            }
        }
        sqlite3_finalize(st);
        return rows;
    }
    std::wstring Single(const wchar_t* sql) {
        auto rows = Query(sql);
        return rows.empty() ? L"" : rows[0][0];
    }

private:
    sqlite3* db_ = nullptr;
};

class RootExportTest : public testing::Test {
protected:
    RootExportTest()
        : cache(folder.File(L"Cache")), other(folder.File(L"Other")), file(folder.File(L"roots.cv2")) {
        cache.CreateSchema();
        other.CreateSchema();
    }

    // Two folder roots around a smart playlist, then a playlist root, stored in the cache as
    // the roots store would store them.
    void AddMixedRoots() {
        std::wstring music = folder.File(L"Music\\"), books = folder.File(L"Books\\");
        std::wstring playlist = folder.File(L"party.m3u");
        CreateDirectoryW(music.c_str(), nullptr);
        CreateDirectoryW(books.c_str(), nullptr);
        roots.push_back(Ref<FolderRoot>::Make(music, InsertRootRow(cache, 1, true, music, {}), cache));
        roots.push_back(Ref<SqlRoot>::Make(L"ARTIST LIKE 'a%'", kSmartName,
                                           InsertRootRow(cache, 3, false, L"ARTIST LIKE 'a%'", kSmartName)));
        roots.push_back(Ref<FolderRoot>::Make(books, InsertRootRow(cache, 1, false, books, {}), cache));
        roots.push_back(Ref<PlaylistRoot>::Make(playlist, InsertRootRow(cache, 2, false, playlist, {})));
        // Playlist and smart roots keep the flag they were made with, as after adding them;
        // the cache holds 0 for them.
        roots[2]->SetAutoload(false);
    }
    std::wstring Count(CacheDatabase& database, const wchar_t* where = L"") {
        return RawFile(database.FilePath()).Single((L"SELECT COUNT(*) FROM Roots " + std::wstring(where)).c_str());
    }

    TempFolder folder;
    CacheDatabase cache, other;
    std::wstring file;
    std::vector<Ref<Root>> roots;
};

TEST_F(RootExportTest, ExportWritesOneRowPerRootInListOrder) {
    AddMixedRoots();
    ASSERT_TRUE(ExportRoots(file, roots));

    RawFile raw(file);
    EXPECT_EQ(raw.Single(L"PRAGMA user_version"), L"201");
    EXPECT_EQ(raw.Single(L"PRAGMA encoding"), L"UTF-16le");
    auto rows = raw.Query(L"SELECT rootid, type, autoload, path, rootOrder, name FROM Roots ORDER BY rowid");
    // Only the smart playlist has a name, also for the folder root listed after it.
    const std::vector<std::vector<std::wstring>> expected = {
        {std::to_wstring(roots[0]->RootId()), L"1", L"1", roots[0]->Path(), L"0", L"-"},
        {std::to_wstring(roots[1]->RootId()), L"3", L"0", L"ARTIST LIKE 'a%'", L"1", kSmartName},
        {std::to_wstring(roots[2]->RootId()), L"1", L"0", roots[2]->Path(), L"2", L"-"},
        {std::to_wstring(roots[3]->RootId()), L"2", L"0", roots[3]->Path(), L"3", L"-"},
    };
    EXPECT_EQ(rows, expected);
}

TEST_F(RootExportTest, ExportReplacesWhatTheFileHeld) {
    WriteBytes(file, "not a database, just bytes another program left");
    AddMixedRoots();
    ASSERT_TRUE(ExportRoots(file, roots));
    EXPECT_EQ(RawFile(file).Single(L"SELECT COUNT(*) FROM Roots"), L"4");

    roots.resize(1);
    ASSERT_TRUE(ExportRoots(file, roots));
    EXPECT_EQ(RawFile(file).Single(L"SELECT group_concat(path, '|') FROM Roots"), roots[0]->Path());
}

TEST_F(RootExportTest, ExportToAnUnwritablePlaceFails) {
    AddMixedRoots();
    std::wstring inMissingFolder = folder.File(L"missing\\roots.cv2");
    EXPECT_FALSE(ExportRoots(inMissingFolder, roots));
    EXPECT_EQ(GetFileAttributesW(inMissingFolder.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(ExportRoots(folder.path(), roots));  // a folder in the file's place
}

TEST_F(RootExportTest, ImportAddsOnlyRootsTheCacheLacks) {
    AddMixedRoots();
    ASSERT_TRUE(ExportRoots(file, roots));

    RootImportResult same = ImportRoots(file, cache);
    EXPECT_TRUE(same.compatible);
    EXPECT_EQ(same.added, 0);
    EXPECT_EQ(ImportReport(same), kNoNewRoots);

    RootImportResult fresh = ImportRoots(file, other);
    EXPECT_EQ(fresh.added, 4);
    EXPECT_EQ(ImportReport(fresh), L"4 roots have been added. Now restarting...");
    EXPECT_EQ(Count(other, L"WHERE type=3 AND name='\u00dcber A' AND rootOrder IS NULL"), L"1");

    // The same path with the other auto-load flag, in another case or without its backslash is
    // the same root, and a folder inside or around a folder root would list its files twice;
    // a neighbour whose name merely begins the same is new, once however often the file lists it.
    RawFile(file).Run(
        "UPDATE Roots SET autoload = 1 - autoload WHERE type = 1;"
        "UPDATE Roots SET path = upper(path) WHERE type = 2;"
        "INSERT INTO Roots (type, autoload, path) SELECT 1, 0, upper(rtrim(path, '\\')) FROM Roots WHERE rootOrder = 0;"
        "INSERT INTO Roots (type, autoload, path) SELECT 1, 1, path || 'Live\\' FROM Roots WHERE rootOrder = 0;"
        "INSERT INTO Roots (type, autoload, path) SELECT 1, 0, substr(path, 1, length(path) - 6) FROM Roots WHERE rootOrder = 0;"
        "INSERT INTO Roots (type, autoload, path) SELECT 1, 0, rtrim(path, '\\') || 'al\\' FROM Roots WHERE rootOrder = 0;"
        "INSERT INTO Roots (type, autoload, path) SELECT 1, 1, rtrim(path, '\\') || 'al' FROM Roots WHERE rootOrder = 0;");
    EXPECT_EQ(ImportRoots(file, cache).added, 1);
    EXPECT_EQ(Count(cache, L"WHERE path LIKE '%Musical\\'"), L"1");
    EXPECT_EQ(Count(cache), L"5");
}

TEST_F(RootExportTest, RowsTheRootsStoreWouldSkipAreNotAdded) {
    AddMixedRoots();
    ASSERT_TRUE(ExportRoots(file, roots));
    RawFile(file).Run(
        "UPDATE Roots SET type = 9 WHERE rootOrder = 0; UPDATE Roots SET path = NULL WHERE rootOrder = 1;"
        "INSERT INTO Roots (type, autoload, path) SELECT type, autoload, path FROM Roots WHERE rootOrder = 3");

    EXPECT_EQ(ImportRoots(file, other).added, 2);  // the second folder and the playlist, once
    EXPECT_EQ(Count(other), L"2");
}

TEST_F(RootExportTest, FilesOfAnotherKindAreIncompatibleAndAddNothing) {
    AddMixedRoots();
    ASSERT_TRUE(ExportRoots(file, roots));
    RawFile(file).Run("pragma user_version=200");
    std::wstring noise = folder.File(L"random.cv2"), missing = folder.File(L"missing.cv2");
    std::string bytes;
    for (int i = 0; i < 4096; ++i) bytes.push_back(static_cast<char>((i * 7919 + 13) % 251));
    WriteBytes(noise, bytes);

    for (const std::wstring& path : {file, noise, missing}) {
        RootImportResult result = ImportRoots(path, other);
        EXPECT_FALSE(result.compatible) << path;
        EXPECT_EQ(result.added, 0) << path;
        EXPECT_EQ(ImportReport(result), kNoNewRoots);
    }
    EXPECT_EQ(Count(other), L"0");
    EXPECT_EQ(ReadBytes(noise), bytes);
    EXPECT_EQ(GetFileAttributesW(missing.c_str()), INVALID_FILE_ATTRIBUTES);
}

// A cache that cannot store the roots (here one that refuses every write, as a read-only or
// full file would) must not pass for one that already holds them all: the import says that
// roots were not added.
TEST_F(RootExportTest, ImportIntoACacheThatCannotStoreThemSaysSo) {
    AddMixedRoots();
    ASSERT_TRUE(ExportRoots(file, roots));
    ASSERT_EQ(sqlite3_exec(other.Connection(), "PRAGMA query_only=1", nullptr, nullptr, nullptr), SQLITE_OK);
    RootImportResult result = ImportRoots(file, other);

    EXPECT_TRUE(result.compatible);
    EXPECT_EQ(result.added, 0);
    EXPECT_EQ(result.failed, 4);
    EXPECT_EQ(ImportReport(result), L"") << "no \"no roots found\" while none could be stored";
    EXPECT_EQ(ImportFailureReport(result).rfind(L"4 root(s) could not be added", 0), 0u) << ImportFailureReport(result);
    EXPECT_EQ(Count(other), L"0");
}

}  // namespace
