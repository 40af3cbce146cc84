// Filling the generated cache for the search index tests.
#include "db/SearchIndexFixture.h"

#include <iterator>

#include "db/ListingOptions.h"
#include "db/RowList.h"
#include "support/QueryNumber.h"

namespace {
constexpr int kFolderCount = 40;
constexpr int kFileCount = 3000;
const wchar_t* const kExtensions[] = {L"mp3", L"flac", L"ogg", L"jpg"};
}  // namespace

std::wstring SearchIndexTest::Mangled(std::wstring text) {
    for (wchar_t& c : text) {
        if (random() % 3 != 0) continue;
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - 32);
        else if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c + 32);
    }
    return text;
}

std::wstring SearchIndexTest::Syllable() {
    static const wchar_t kLetters[] = L"abcdefghiklmnoprstuvwyz\u00e9\u00fc\u00f1\u00f8\u00e7\u00df\u00c6\u0416\u0434\u043b";
    std::wstring syllable;
    for (int n = 3 + static_cast<int>(random() % 3); n > 0; --n) syllable += kLetters[random() % (std::size(kLetters) - 1)];
    return syllable;
}

std::wstring SearchIndexTest::RandomText() {
    std::wstring text;
    int pieces = 1 + static_cast<int>(random() % 4);
    for (int i = 0; i < pieces; ++i) {
        if (!text.empty()) text += random() % 4 == 0 ? L"-" : L" ";
        text += Mangled(kTextPieces[random() % kTextPieces.size()]);
        // A made-up syllable now and then, so that most longer words are found in few files.
        if (random() % 2 == 0) text += Syllable();
    }
    return text;
}

void SearchIndexTest::Run(CacheDatabase& database, const std::wstring& sql) {
    database.Sql().SetSql(sql);
    ASSERT_EQ(database.Sql().Execute(), Statement::kOk);
}

long long SearchIndexTest::AddFile(long long folderId, const std::wstring& name, const std::wstring& title) {
    Statement& sql = fast->Sql();
    sql.SetSql(L"INSERT INTO Files (extension, folderid, file_exists, size, filename, title, tagged) "
               L"VALUES ('mp3', ?, 1, 10, ?, ?, 1)");
    sql.BindInt64(folderId, 1);
    sql.BindText(name.c_str(), 2);
    sql.BindText(title.c_str(), 3);
    EXPECT_EQ(sql.Execute(), Statement::kOk);
    return sql.LastInsertId();
}

void SearchIndexTest::SetUp() {
    fast = std::make_unique<CacheDatabase>(folder.path());
    ASSERT_TRUE(fast->CreateSchema());
    fast->Sql().BeginTransaction();
    for (int i = 0; i < kFolderCount; ++i) {
        std::wstring path = L"D:\\Music\\";
        if (i > 0) path = folders[random() % folders.size()] + RandomText() + L"\\";
        Statement& sql = fast->Sql();
        sql.SetSql(L"INSERT INTO Folder (path, parentid, rootid, folder_exists, attributes) VALUES (?, 0, 1, ?, 16)");
        sql.BindText(path.c_str(), 1);
        sql.BindInt(random() % 10 == 0 ? 0 : 1, 2);
        ASSERT_EQ(sql.Execute(), Statement::kOk);
        folders.push_back(path);
    }
    for (int i = 0; i < kFileCount; ++i) {
        std::wstring tags[5];
        Statement& sql = fast->Sql();
        sql.SetSql(L"INSERT INTO Files (extension, folderid, file_exists, size, filename, title, artist, album, genre, "
                   L"comment, length, tagged) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 1000, 1)");
        const wchar_t* extension = kExtensions[random() % 4];
        std::wstring name = RandomText() + L"." + extension;
        sql.BindText(extension, 1);
        sql.BindInt(1 + static_cast<int>(random() % kFolderCount), 2);
        sql.BindInt(random() % 12 == 0 ? 0 : 1, 3);
        sql.BindInt(random() % 8 == 0 ? 0 : 100, 4);
        sql.BindText(name.c_str(), 5);
        for (int t = 0; t < 5; ++t) {
            // Files whose tags were never read have none at all.
            if (random() % 3 == 0) {
                sql.BindText(nullptr, 6 + t, true);
                continue;
            }
            tags[t] = RandomText();
            texts.push_back(tags[t]);
            sql.BindText(tags[t].c_str(), 6 + t);
        }
        ASSERT_EQ(sql.Execute(), Statement::kOk);
    }
    ASSERT_TRUE(fast->Sql().Commit());
    plain = std::make_unique<CacheDatabase>(folder.path());
    SetOptions(0);
    index = fast->SharedConnection()->OpenSearchIndex();
    ASSERT_NE(index, nullptr);
}

void SearchIndexTest::SetOptions(int options) {
    TypeFilter types = ParseTypeFilter(L"mp3;flac;ogg");
    fast->SetListingOptions(types, options);
    plain->SetListingOptions(types, options);
}

std::vector<long long> SearchIndexTest::Listed(CacheDatabase& database, const std::wstring& text,
                                               const std::wstring* folder, ListTotals* totals, bool compatibility) {
    ListTotals own;
    Ref<RowList> rows = ListFiles(database, SplitSearchTerms(text), folder, totals ? *totals : own, compatibility);
    std::vector<long long> ids;
    for (const Ref<FileRecord>& row : rows->rows) ids.push_back(row->fileId);
    return ids;
}

bool SearchIndexTest::BuildAll() {
    for (int steps = 0; steps < 100000 && index->BuildStep(); ++steps) {
    }
    return index->Complete();
}

void SearchIndexTest::Reopen() {
    fast.reset();
    fast = std::make_unique<CacheDatabase>(folder.path());
    SetOptions(0);
    index = fast->SharedConnection()->OpenSearchIndex();
    ASSERT_NE(index, nullptr);
}

long long SearchIndexTest::ShownFile(int n) {
    return QueryNumber(*plain, L"SELECT f.fileid FROM Files f, Folder fo WHERE f.folderid=fo.folderid AND f.file_exists=1 "
                               L"AND fo.folder_exists=1 AND f.extension<>'jpg' AND f.size>0 ORDER BY f.fileid LIMIT 1 OFFSET " +
                                   std::to_wstring(n));
}
