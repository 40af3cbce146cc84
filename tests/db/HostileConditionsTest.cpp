// Conditions a hostile or careless user types as a "?" search or a smart playlist: writes in
// every form, attachments, pragmas, extensions, second statements, queries that would run for
// ever or build giant values, huge patterns, comments, NUL characters and very long texts.
// None may change a byte of the cache, create another file or keep the worker (and the
// database lock) for longer than the bound on a condition's run.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "db/BoundedPathCheck.h"
#include "db/Listing.h"
#include "LibraryFixture.h"
#include "support/HangGuard.h"
#include "ui/dialogs/QueryBuilder.h"

namespace {

// Far above the bound on a condition's run: only a real hang reaches it.
constexpr DWORD kHangMs = 120000;

enum class Outcome { kRefused, kEither };

struct Hostile {
    std::wstring condition;
    Outcome outcome;
};

std::wstring Repeated(const std::wstring& piece, int times) {
    std::wstring out;
    for (int i = 0; i < times; ++i) out += piece;
    return out;
}

// A join of the library with itself so many times over that adding it up would take years.
std::wstring EndlessJoin(const wchar_t* table, int times) {
    std::wstring from;
    for (int i = 0; i < times; ++i) from += (i ? L", " : L"") + std::wstring(table) + L" t" + std::to_wstring(i);
    std::wstring sum;
    for (int i = 0; i < times; ++i) sum += (i ? L" + t" : L"t") + std::to_wstring(i) + L".fileid";
    return L"(SELECT sum(" + sum + L") FROM " + from + L") > 0";
}

std::vector<Hostile> HostileConditions(const std::wstring& folder) {
    const Outcome refused = Outcome::kRefused, either = Outcome::kEither;
    return {
        // Writes, as a second statement and in every form SQLite has.
        {L"1; DELETE FROM Files", refused},
        {L"1); DELETE FROM Files; --", refused},
        {L"1; UPDATE Files SET title='x'", refused},
        {L"1; INSERT INTO Folder (path) VALUES ('x')", refused},
        {L"1; REPLACE INTO Files (fileid, filename) VALUES (1, 'x')", refused},
        {L"1; DROP TABLE Files", refused},
        {L"1; DROP VIEW QueryView", refused},
        {L"1; CREATE TABLE Evil (x)", refused},
        {L"1; CREATE TRIGGER t AFTER INSERT ON Files BEGIN DELETE FROM Files; END", refused},
        {L"1; CREATE INDEX Evil ON Files(title)", refused},
        {L"1; ALTER TABLE Files RENAME TO Gone", refused},
        {L"1; VACUUM", refused},
        {L"1; REINDEX", refused},
        {L"1; ANALYZE", refused},
        {L"1; SAVEPOINT s", refused},
        {L"1; BEGIN EXCLUSIVE", refused},
        {L"1; COMMIT", refused},
        {L"1; SELECT 1", refused},
        {L"fileid IN (SELECT fileid FROM Files); DELETE FROM Files WHERE 1", refused},
        {L"EXISTS (SELECT 1 FROM (DELETE FROM Files RETURNING fileid))", refused},
        // Other files: attached, copied to, or read.
        {L"1; ATTACH DATABASE '" + folder + L"\\evil.db' AS evil", refused},
        {L"1; ATTACH 'file:" + folder + L"/evil2.db?mode=rwc' AS e", refused},
        {L"1; VACUUM INTO '" + folder + L"\\copy.db'", refused},
        {L"1; DETACH main", refused},
        {L"EXISTS (SELECT 1 FROM evil.Files)", refused},
        {L"load_extension('" + folder + L"\\evil.dll') IS NULL", refused},
        {L"writefile('" + folder + L"\\w.txt', 'x') IS NULL", refused},
        {L"readfile('C:\\windows\\win.ini') IS NOT NULL", refused},
        {L"fts3_tokenizer('simple') IS NOT NULL", refused},
        // The cache's own functions that keep its search index, in any case.
        {L"SearchIndexTouch(0, 1) IS NULL", refused},
        {L"searchindextouch(1, 1) IS NULL", refused},
        {L"SearchIndexWide(1, 'a', 'b', 'c', 'd', 'e') IS NULL", refused},
        // Settings of the connection, as statements and as table-valued functions.
        {L"1; PRAGMA user_version=77", refused},
        {L"1; PRAGMA journal_mode=OFF", refused},
        {L"1; PRAGMA writable_schema=ON", refused},
        {L"(SELECT count(*) FROM pragma_journal_mode('wal')) >= 0", either},
        {L"(SELECT count(*) FROM pragma_user_version) >= 0", either},
        {L"(SELECT count(*) FROM pragma_wal_checkpoint) >= 0", either},
        // Runs that would never end, and values that would fill the address space.
        {L"(WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x+1 FROM c) SELECT count(*) FROM c) > 0", refused},
        {L"EXISTS (WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x FROM c) SELECT x FROM c WHERE x = 2)", refused},
        {EndlessJoin(L"Files", 14), refused},
        {EndlessJoin(L"QueryView", 9), refused},
        {L"length(hex(zeroblob(400000000))) > 0", refused},
        {L"length(printf('%.*c', 500000000, 'x')) > 0", refused},
        {L"length(replace(hex(zeroblob(1000000)), '0', hex(zeroblob(1000)))) > 0", refused},
        // Patterns as long as SQLite takes, longer, and ones that backtrack.
        {L"title LIKE '" + Repeated(L"%a", 24000) + L"b'", either},
        {L"title LIKE '" + Repeated(L"x", 60000) + L"'", either},
        {L"hex(zeroblob(20000)) LIKE '" + Repeated(L"%0", 2000) + L"%1'", either},
        {L"hex(zeroblob(20000)) GLOB '" + Repeated(L"*0", 2000) + L"*1'", either},
        // Comments, NUL characters and very long texts.
        {L"1 /* /* nested */ */", either},
        {L"1 /* never closed", either},
        {L"1 -- a comment\n; DELETE FROM Files", refused},
        {std::wstring(L"1\0; DELETE FROM Files", 21), either},
        {L"title = '" + Repeated(L"x", 100000) + L"'", either},
        {Repeated(L"(", 5000) + L"1" + Repeated(L")", 5000), either},
        {L"1" + Repeated(L" OR 1", 20000), either},
        {L"artist = 'a' COLLATE Evil", refused},
    };
}

class HostileConditionsTest : public LibraryCacheTest {
protected:
    std::unique_ptr<ListResult> Query(const std::wstring& condition) {
        HangGuard guard("the condition " + WideToUtf8(condition.substr(0, 80)), kHangMs);
        return std::unique_ptr<ListResult>(ListQuery(*db, L"?" + condition));
    }
    std::wstring Schema() {
        Statement& sql = db->Sql();
        sql.SetSql(L"SELECT group_concat(sql, ';') FROM sqlite_master");
        std::wstring schema = sql.Execute() == Statement::kOk ? sql.ColumnText(1).value_or(L"") : L"";
        sql.Finish();
        return schema;
    }
    std::vector<std::wstring> FolderEntries() {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found;
        HANDLE find = FindFirstFileW((folder.path() + L"\\*").c_str(), &found);
        if (find == INVALID_HANDLE_VALUE) return names;
        do {
            if (found.cFileName[0] != L'.') names.push_back(found.cFileName);
        } while (FindNextFileW(find, &found));
        FindClose(find);
        return names;
    }
};

TEST_F(HostileConditionsTest, NoneChangesTheCacheReachesAnotherFileOrHangs) {
    std::string bytes = ReadBytes(db->FilePath());
    std::wstring schema = Schema();
    std::vector<std::wstring> entries = FolderEntries();
    long long version = Count(L"PRAGMA user_version");
    std::vector<Hostile> conditions = HostileConditions(folder.path());
    EXPECT_GE(conditions.size(), 50u);
    for (const Hostile& hostile : conditions) {
        std::unique_ptr<ListResult> result = Query(hostile.condition);
        std::string shown = WideToUtf8(hostile.condition.substr(0, 80));
        if (hostile.outcome == Outcome::kRefused) {
            EXPECT_TRUE(result->rows->rows.empty()) << shown;
            EXPECT_TRUE(result->totals.rejected) << shown;
        }
    }
    EXPECT_EQ(ReadBytes(db->FilePath()), bytes);
    EXPECT_EQ(Schema(), schema);
    EXPECT_EQ(FolderEntries(), entries);
    EXPECT_EQ(Count(L"PRAGMA user_version"), version);
    EXPECT_EQ(GetFileAttributesW(L"copy.db"), INVALID_FILE_ATTRIBUTES);
}

// A condition stopped for its time lists nothing rather than the rows it had reached, and
// the connection goes on working normally afterwards, its own long statements unbounded.
TEST_F(HostileConditionsTest, AnEndlessConditionIsStoppedAndTheConnectionGoesOn) {
    std::unique_ptr<ListResult> endless = Query(EndlessJoin(L"Files", 14));
    EXPECT_TRUE(endless->rows->rows.empty());
    EXPECT_TRUE(endless->totals.rejected);
    EXPECT_EQ(endless->totals.bytes, 0);
    std::unique_ptr<ListResult> ordinary = Query(L"Artist LIKE '%Beatles%'");
    EXPECT_FALSE(ordinary->totals.rejected);
    EXPECT_EQ(ordinary->rows->rows.size(), 1u);
    // A value past the bound on conditions is still fine in the cache's own statements.
    EXPECT_EQ(Count(L"SELECT length(hex(zeroblob(10000000)))"), 20000000);
    Run(L"UPDATE Files SET playcount=12 WHERE fileid=" + std::to_wstring(armyId));
    EXPECT_EQ(Count(L"SELECT playcount FROM Files WHERE fileid=" + std::to_wstring(armyId)), 12);
}

// What the smart playlist builder writes means what the user typed: an apostrophe is part of
// a name, "%" and "_" are looked for as they are; a stored one-character condition lists. A
// FileExists() on a drive that answers no more within the condition's time stops it.
TEST_F(HostileConditionsTest, BuiltConditionsMeanTheirValuesAndShortOnesList) {
    Run(L"UPDATE Files SET artist='O''Brien' WHERE fileid=" + std::to_wstring(armyId));
    Run(L"UPDATE Files SET title='100% Pure' WHERE title='Waterloo'");
    Run(L"UPDATE Files SET title='1000 Pure' WHERE title='Take On Me'");
    auto titles = [&](const std::wstring& condition) {
        std::vector<std::wstring> found;
        std::unique_ptr<ListResult> result = Query(condition);
        for (const Ref<FileRecord>& row : result->rows->rows) found.push_back(row->TagOrEmpty(TagField::kTitle));
        return found;
    };
    EXPECT_EQ(titles(BuildQueryCondition(L"Artist", 0, L"O'Brien")), std::vector<std::wstring>{L"Army of Me"});
    EXPECT_EQ(titles(BuildQueryCondition(L"Title", 6, L"100%")), std::vector<std::wstring>{L"100% Pure"});
    EXPECT_EQ(titles(BuildQueryCondition(L"Title", 4, L"1_0")), std::vector<std::wstring>{});
    std::unique_ptr<ListResult> all = Query(L"1");
    EXPECT_EQ(static_cast<long long>(all->rows->rows.size()),
              Count(L"SELECT COUNT(*) FROM QueryView WHERE fileexists=1 AND folderexists=1"))
        << "a one-character condition lists";
    EXPECT_FALSE(all->rows->rows.empty());

    // A share that does not answer: no time is left to ask it.
    EXPECT_EQ(PathExistsWithin(L"\\\\nowhere\\share\\a.mp3", 0), std::nullopt);
    EXPECT_EQ(PathExistsWithin(db->FilePath(), 0), std::optional<bool>(true)) << "a fixed drive is asked directly";
}

// Thousands of conditions spliced at random from the pieces above and SQL's own words, each
// run as a "?" search; the cache must stay byte for byte as it was. Prints its figures.
TEST_F(HostileConditionsTest, DISABLED_SoakRandomlySplicedConditions) {
    constexpr int kConditions = 3000;
    std::vector<Hostile> known = HostileConditions(folder.path());
    const std::wstring words[] = {L" ", L";", L"'", L"\"", L"(", L")", L"--", L"/*", L"*/", L" OR ", L" AND ",
                                  L"SELECT ", L"DELETE FROM Files", L"PRAGMA ", L"ATTACH ", L"%", L"_", L"1",
                                  L"title", L"QueryView", L"Files", std::wstring(1, L'\0'), L"\xD800", L"WITH "};
    std::mt19937 random(20261208);
    std::string bytes = ReadBytes(db->FilePath());
    int refused = 0, listed = 0;
    ULONGLONG started = GetTickCount64();
    for (int i = 0; i < kConditions && !HasFailure(); ++i) {
        std::wstring condition;
        for (int pieces = 1 + static_cast<int>(random() % 6); pieces > 0; --pieces) {
            if (random() % 3 == 0) condition += known[random() % known.size()].condition.substr(0, 200);
            else condition += words[random() % (sizeof(words) / sizeof(words[0]))];
        }
        std::unique_ptr<ListResult> result = Query(condition);
        refused += result->totals.rejected ? 1 : 0;
        listed += result->rows->rows.empty() ? 0 : 1;
    }
    EXPECT_EQ(ReadBytes(db->FilePath()), bytes);
    std::printf("soak: hostile conditions: %d run, %d refused, %d listed rows, cache unchanged, %llu s in all\n",
                kConditions, refused, listed, (GetTickCount64() - started) / 1000);
}

}  // namespace
