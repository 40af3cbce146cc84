// The search index: the rows a search lists with the index equal the rows without it, the
// index follows every kind of write, and a file that cannot be trusted is rebuilt.
#include "db/SearchIndexFixture.h"

#include <algorithm>

#include "base/Text.h"

#include "db/ListingOptions.h"
#include "db/SearchTrigrams.h"
#include "db/StripAccent.h"

namespace {

std::wstring Piece(std::mt19937& random, const std::wstring& text) {
    if (text.empty()) return text;
    size_t start = random() % text.size();
    size_t length = 1 + random() % std::min<size_t>(8, text.size() - start);
    return text.substr(start, length);
}

}  // namespace

// 200 words drawn with a fixed seed: pieces of the stored texts in other letter cases (short
// and long), two-word searches, wildcards and the escape character, accents, other scripts,
// under each listing option, from the top and from a folder.
TEST_F(SearchIndexTest, ListsTheRowsOfThePlainStatementForRandomWords) {
    ASSERT_TRUE(BuildAll());
    const std::vector<std::wstring> odd = {L"%", L"_", L"!", L"a%", L"0%", L"!!", L"wow!", L"\u00e9", L"ae", L"AE",
                                           L"ss", L"fi", L"\u0130", L"\u03a9", L"0_5", L"%%%", L"b!", L"\"q", L"uot"};
    const int optionSets[] = {0, kStripAccents, kHideEmptyFiles, kLimitSearch, kStripAccents | kLimitSearch};
    int served = 0;
    for (int i = 0; i < 200; ++i) {
        std::wstring word;
        switch (random() % 10) {
            case 0: word = odd[random() % odd.size()]; break;
            case 1: word = Piece(random, texts[random() % texts.size()]) + L" " + Piece(random, texts[random() % texts.size()]); break;
            case 2: word = Mangled(kTextPieces[random() % kTextPieces.size()]); break;
            case 3: word = Piece(random, folders[random() % folders.size()]); break;
            default: word = Mangled(Piece(random, texts[random() % texts.size()])); break;
        }
        int options = optionSets[i % 5];
        SetOptions(options);
        const std::wstring* from = (options & kLimitSearch) || i % 3 == 0 ? &folders[random() % folders.size()] : nullptr;
        ListTotals fastTotals, plainTotals;
        std::vector<long long> withIndex = Listed(*fast, word, from, &fastTotals);
        ASSERT_EQ(withIndex, Listed(*plain, word, from, &plainTotals)) << "word " << i << " options " << options;
        EXPECT_EQ(fastTotals.bytes, plainTotals.bytes);
        EXPECT_EQ(fastTotals.known, plainTotals.known);
        std::vector<std::wstring> terms = SplitSearchTerms(word);
        if (!terms.empty() && index->Candidates(StripAccentText(terms.front()))) ++served;
    }
    // Many words are long and rare enough for the index; were it never used, the test would prove nothing.
    EXPECT_GE(served, 40);
}

TEST_F(SearchIndexTest, CompatibilityModeAndShortWordsRunUnaided) {
    AddFile(1, L"unique.mp3", L"Glockenspiel");
    ASSERT_TRUE(BuildAll());
    EXPECT_FALSE(index->Candidates(L"ab"));
    EXPECT_FALSE(index->Candidates(L"\u00e9"));
    EXPECT_TRUE(index->Candidates(L"glo"));
    for (const wchar_t* word : {L"ab", L"x", L"glo", L"love night"}) {
        ListTotals totals;
        EXPECT_EQ(Listed(*fast, word, nullptr, &totals, true), Listed(*plain, word, nullptr, nullptr, true)) << word;
    }
}

TEST_F(SearchIndexTest, FollowsInsertsUpdatesDeletesAndFolderRenames) {
    ASSERT_TRUE(BuildAll());
    // A new file lies past the built part: the search runs unaided until a build step takes it in.
    long long added = AddFile(1, L"zyxwvut.mp3", L"Qwertzuiop");
    EXPECT_FALSE(index->Complete());
    EXPECT_EQ(Fast(L"zyxwv"), std::vector<long long>{added});
    ASSERT_TRUE(BuildAll());
    EXPECT_EQ(Fast(L"zyxwv"), std::vector<long long>{added});
    EXPECT_EQ(Fast(L"QWERTZ"), std::vector<long long>{added});

    // A changed title of a built row: the old text is forgotten, the new one found.
    Run(*fast, L"UPDATE Files SET title='Plumbago' WHERE fileid=" + std::to_wstring(added));
    EXPECT_TRUE(index->Complete());
    EXPECT_EQ(Fast(L"plumba"), std::vector<long long>{added});
    EXPECT_TRUE(Fast(L"qwertz").empty());
    ASSERT_TRUE(index->Candidates(L"qwertz"));
    EXPECT_TRUE(index->Candidates(L"qwertz")->empty());

    // A file of a built folder: searching its folder's new name finds it, the old name no longer.
    AddFile(1, L"in-root.mp3", L"t");
    ASSERT_TRUE(BuildAll());
    Run(*fast, L"UPDATE Folder SET path='E:\\Klangwelt\\' WHERE folderid=1");
    std::vector<long long> renamed = Fast(L"klangwelt");
    EXPECT_FALSE(renamed.empty());
    EXPECT_EQ(renamed, Plain(L"klangwelt"));
    EXPECT_EQ(Fast(L"Music"), Plain(L"Music"));

    Run(*fast, L"DELETE FROM Files WHERE fileid=" + std::to_wstring(added));
    EXPECT_TRUE(Fast(L"plumba").empty());
    EXPECT_TRUE(index->Candidates(L"plumba")->empty());
    EXPECT_TRUE(index->Complete());
}

// Inside a transaction the index is not brought up to date (its writes could roll back the
// cache's), so a search in the middle of a scan's batch runs unaided and still sees the write.
TEST_F(SearchIndexTest, AWriteInsideATransactionIsSeenBeforeItsCommit) {
    ASSERT_TRUE(BuildAll());
    long long id = ShownFile(7);
    fast->Sql().BeginBatch();
    Run(*fast, L"UPDATE Files SET title='Xylophonic' WHERE fileid=" + std::to_wstring(id));
    EXPECT_FALSE(index->Candidates(L"xyloph"));
    EXPECT_EQ(Fast(L"xyloph"), std::vector<long long>{id});
    ASSERT_TRUE(fast->Sql().Commit());
    ASSERT_TRUE(index->Candidates(L"xyloph"));
    EXPECT_EQ(*index->Candidates(L"xyloph"), std::vector<long long>{id});
}

TEST_F(SearchIndexTest, AnIndexClosedInStepIsKept) {
    ASSERT_TRUE(BuildAll());
    long long built = index->IndexedFiles();
    Reopen();
    EXPECT_EQ(index->IndexedFiles(), built);
    EXPECT_TRUE(index->Complete());
    EXPECT_EQ(Fast(L"summ"), Plain(L"summ"));
}

// Another program (an older build, a user's SQLite tool) writes the cache without the index
// following: a title changed that way must still be found.
TEST_F(SearchIndexTest, ACacheWrittenWithoutTheIndexIsIndexedAgain) {
    ASSERT_TRUE(BuildAll());
    long long id = ShownFile(11);
    fast.reset();
    {
        Statement other(CacheFile());
        other.SetSql(L"UPDATE Files SET title='Vibraphone' WHERE fileid=" + std::to_wstring(id));
        ASSERT_EQ(other.Execute(), Statement::kOk);
    }
    Reopen();
    EXPECT_EQ(index->IndexedFiles(), 0);
    ASSERT_TRUE(BuildAll());
    EXPECT_EQ(Fast(L"vibrapho"), std::vector<long long>{id});
}

TEST_F(SearchIndexTest, AWriteByAnotherConnectionWhileOpenIsNotMissed) {
    ASSERT_TRUE(BuildAll());
    long long id = ShownFile(12);
    Statement other(CacheFile());
    other.SetSql(L"UPDATE Files SET title='Marimbaphone' WHERE fileid=" + std::to_wstring(id));
    ASSERT_EQ(other.Execute(), Statement::kOk);
    EXPECT_EQ(Fast(L"marimba"), std::vector<long long>{id});
    ASSERT_TRUE(BuildAll());
    EXPECT_EQ(Fast(L"marimba"), std::vector<long long>{id});
}

TEST_F(SearchIndexTest, ADamagedIndexFileIsReplaced) {
    ASSERT_TRUE(BuildAll());
    fast.reset();
    WriteBytes(IndexFile(), std::string(8192, 'x'));
    Reopen();
    EXPECT_EQ(index->IndexedFiles(), 0);
    ASSERT_TRUE(BuildAll());
    EXPECT_EQ(Fast(L"bj\u00f6r"), Plain(L"bj\u00f6r"));
    EXPECT_NE(ReadBytes(IndexFile()).substr(0, 6), "xxxxxx");
}

// A run that never ended in step (killed, crashed) leaves the file marked open.
TEST_F(SearchIndexTest, AnIndexLeftOpenByAnEndedRunIsRebuilt) {
    ASSERT_TRUE(BuildAll());
    fast.reset();
    {
        Statement state(IndexFile());
        state.SetSql(L"UPDATE SearchState SET stamp=NULL");
        ASSERT_EQ(state.Execute(), Statement::kOk);
    }
    Reopen();
    EXPECT_EQ(index->IndexedFiles(), 0);
}

// The cache file keeps its own tables only: the index lives in its own file.
TEST_F(SearchIndexTest, TheCacheFileGainsNoTables) {
    ASSERT_TRUE(BuildAll());
    fast.reset();
    Statement tables(CacheFile());
    tables.SetSql(L"SELECT COUNT(*) FROM sqlite_master WHERE name LIKE 'Search%'");
    ASSERT_EQ(tables.Execute(), Statement::kOk);
    ASSERT_TRUE(tables.NextRow());
    EXPECT_EQ(tables.ColumnInt(1), 0);
}

TEST(SearchTrigramsTest, QueriesFromWords) {
    struct Case {
        const wchar_t* word;
        const wchar_t* query;  // null: the index cannot serve it
    };
    const Case cases[] = {
        {L"", nullptr},
        {L"ab", nullptr},
        {L"abc", L"\"abc\""},
        {L"abcd", L"\"abc\" \"bcd\""},
        {L"a\"bc", L"\"a\"\"b\" \"\"\"bc\""},
        {L"\U0001F3B5ab", L"\"\U0001F3B5ab\""},  // a surrogate pair is one character
        {L"\U0001F3B5a", nullptr},
        {L"a\xD800" L"bc", nullptr},             // a lone surrogate
        {L"ab\xDC00", nullptr},
        {L"100%", L"\"100\" \"00%\""},
    };
    for (const Case& c : cases) {
        std::optional<std::wstring> query = TrigramQuery(c.word);
        if (!c.query) {
            EXPECT_FALSE(query) << WideToUtf8(c.word);
        } else {
            ASSERT_TRUE(query) << WideToUtf8(c.word);
            EXPECT_EQ(*query, c.query);
        }
    }
}

TEST(SearchTrigramsTest, ALongWordKeepsItsFirstAndLastPieces) {
    std::wstring word = L"abcdefghijklmnopqrstuvwxyz0123456789";
    std::wstring query = *TrigramQuery(word);
    EXPECT_EQ(query.rfind(L"\"abc\"", 0), 0u);
    EXPECT_EQ(query.substr(query.size() - 5), L"\"789\"");
    EXPECT_LE(std::count(query.begin(), query.end(), L'"'), 24);
}
