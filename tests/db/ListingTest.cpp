// Listings against a real cache file filled with a small library: every listing form with its
// options, search terms in SQL and in memory, "?" conditions, totals, and the listings of
// playlist and smart-playlist nodes.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "db/CacheDatabase.h"
#include "db/Listing.h"
#include "db/TreeNode.h"
#include "db/roots/SqlRoot.h"
#include "playlists/Playlist.h"
#include "db/LibraryFixture.h"

namespace {

using Names = std::vector<std::wstring>;

Names NamesOf(const RowList& list) {
    Names names;
    for (const Ref<FileRecord>& row : list.rows) names.emplace_back(row->FileName());
    std::sort(names.begin(), names.end());
    return names;
}

class ListingTest : public LibraryCacheTest {
protected:
    Names List(int options, const std::wstring& text, const std::wstring* folder = nullptr, bool compatibility = false) {
        db->SetListingOptions(ParseTypeFilter(L"MP3;Flac"), options);
        ListTotals totals;
        return NamesOf(*ListFiles(*db, SplitSearchTerms(text), folder, totals, compatibility));
    }
    Names Query(const std::wstring& text, ListTotals* totals = nullptr) {
        std::unique_ptr<ListResult> result(ListQuery(*db, text));
        if (totals) *totals = result->totals;
        return NamesOf(*result->rows);
    }
};

TEST(SearchTermsTest, SplitAtSpacesIntoAtMostEightTerms) {
    const struct {
        std::wstring text;
        Names terms;
    } cases[] = {
        {L"", {}},
        {L"army", {L"army"}},
        {L"  army  of me ", {L"army", L"of", L"me"}},
        {L"   ", {L"   "}},
        {L"1 2 3 4 5 6 7 8 9", {L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8"}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitSearchTerms(c.text), c.terms) << "\"" << WideToUtf8(c.text) << "\"";
}

// Gone files, files in gone folders and types outside the filter never show; the filter's
// upper-case setting still matches the stored lower-case extensions.
TEST_F(ListingTest, WholeCacheListsExistingFilesOfTheChosenTypes) {
    EXPECT_EQ(List(0, L""), (Names{L"Army of Me.mp3", L"Hyperballad.flac", L"Love.mp3", L"Take On Me.mp3",
                                   L"intro.mp3", L"silence.mp3"}));
    EXPECT_EQ(List(kHideEmptyFiles, L""),
              (Names{L"Army of Me.mp3", L"Hyperballad.flac", L"Love.mp3", L"Take On Me.mp3", L"intro.mp3"}));
    db->SetListingOptions(TypeFilter(), 0);
    ListTotals totals;
    EXPECT_TRUE(ListFiles(*db, {}, nullptr, totals, false)->rows.empty());
}

TEST_F(ListingTest, FolderFormsFollowLimitAndAccentOptions) {
    const std::wstring accented = kBjork, plain = L"D:\\Music\\Bjork\\";
    const struct {
        int options;
        const std::wstring* folder;
        Names expected;
    } cases[] = {
        {0, &accented, {L"Army of Me.mp3", L"Hyperballad.flac"}},
        {kLimitSearch, &accented, {L"Army of Me.mp3"}},
        {0, &plain, {}},
        {kStripAccents, &plain, {L"Army of Me.mp3", L"Hyperballad.flac"}},
        {kStripAccents | kLimitSearch, &plain, {}},  // the exact folder is compared as stored
        {kStripAccents | kLimitSearch, &accented, {L"Army of Me.mp3"}},
        {kHideEmptyFiles, &kRoot, {L"Army of Me.mp3", L"Hyperballad.flac", L"Love.mp3", L"Take On Me.mp3",
                                   L"intro.mp3"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(List(c.options, L"", c.folder), c.expected) << "options " << c.options << " " << WideToUtf8(*c.folder);
}

TEST_F(ListingTest, SearchFormsTestTheFirstTermInSql) {
    const struct {
        int options;
        const std::wstring* folder;
        std::wstring text;
        Names expected;
    } cases[] = {
        {0, nullptr, L"ARMY", {L"Army of Me.mp3"}},
        {0, nullptr, L"bjork", {}},
        {kStripAccents, nullptr, L"bjork", {L"Army of Me.mp3", L"Hyperballad.flac"}},
        {kStripAccents, nullptr, L"BJ\u00d6RK", {L"Army of Me.mp3", L"Hyperballad.flac"}},
        {0, nullptr, L"Bj\u00f6rk", {L"Army of Me.mp3", L"Hyperballad.flac"}},
        {0, nullptr, L"classic", {L"Love.mp3"}},                             // comment
        {0, nullptr, L"rock", {L"Love.mp3", L"Take On Me.mp3"}},             // folder path
        {0, &kBjork, L"post", {L"Army of Me.mp3", L"Hyperballad.flac"}},
        {kLimitSearch, &kBjork, L"post", {L"Army of Me.mp3"}},
        {kHideEmptyFiles, &kRoot, L"music", {L"Army of Me.mp3", L"Hyperballad.flac", L"Love.mp3",
                                             L"Take On Me.mp3", L"intro.mp3"}},
        // A file known only by its name is found by every form, with accents folded or not.
        {kLimitSearch, &kRoot, L"intro", {L"intro.mp3"}},
        {kStripAccents, &kRoot, L"intro", {L"intro.mp3"}},
        {kStripAccents | kLimitSearch, &kRoot, L"intro", {L"intro.mp3"}},
        {kStripAccents | kLimitSearch, &kBjork, L"bjork", {L"Army of Me.mp3"}},
        // With no folder to limit to, the whole cache is searched.
        {kLimitSearch, nullptr, L"army", {L"Army of Me.mp3"}},
        {kStripAccents | kLimitSearch, nullptr, L"bjork", {L"Army of Me.mp3", L"Hyperballad.flac"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(List(c.options, c.text, c.folder), c.expected)
            << "options " << c.options << " text " << WideToUtf8(c.text);
}

// Words after the first are tested in memory on the name and tags, not the folder path;
// compatibility mode tests every word in memory, the folder path included.
TEST_F(ListingTest, FurtherTermsAreTestedInMemory) {
    const struct {
        bool compatibility;
        int options;
        std::wstring text;
        Names expected;
    } cases[] = {
        {false, 0, L"rock beatles", {L"Love.mp3"}},
        {false, 0, L"beatles rock", {}},
        {true, 0, L"beatles rock", {L"Love.mp3"}},
        {false, 0, L"take ME", {L"Take On Me.mp3"}},
        {false, 0, L"me pop", {L"Army of Me.mp3"}},
        {false, 0, L"music bjork", {}},
        {false, kStripAccents, L"music bjork", {L"Army of Me.mp3", L"Hyperballad.flac"}},
        {true, kStripAccents, L"BJORK", {L"Army of Me.mp3", L"Hyperballad.flac"}},
        {true, 0, L"bjork", {}},
        {false, 0, L"army army army army army army army army nowhere", {L"Army of Me.mp3"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(List(c.options, c.text, nullptr, c.compatibility), c.expected)
            << "compatibility " << c.compatibility << " text " << WideToUtf8(c.text);
}

TEST_F(ListingTest, TotalsCountKnownFilesWholeSecondsAndBytes) {
    db->SetListingOptions(ParseTypeFilter(L"mp3;flac"), 0);
    ListTotals totals;
    auto list = ListFiles(*db, {}, &kBjork, totals, false);
    ASSERT_EQ(list->rows.size(), 2u);
    EXPECT_EQ(totals.known, 2);
    EXPECT_EQ(totals.seconds, 250u + 1u) << "each file's milliseconds are divided on their own";
    EXPECT_EQ(totals.bytes, 5000000000LL + 3000);
    const FileRecord* army = list->rows[0]->FileName() == L"Army of Me.mp3" ? list->rows[0].get() : list->rows[1].get();
    EXPECT_EQ(army->Path(), kBjork + L"Army of Me.mp3");
    EXPECT_EQ(army->Tag(TagField::kArtist).value_or(L"?"), L"Bj\u00f6rk");
    EXPECT_FALSE(army->Tag(TagField::kComment));
    EXPECT_EQ(army->track, 3);
    EXPECT_EQ(army->year, 1995);
    EXPECT_EQ(army->bitrate, 320);
    EXPECT_EQ(army->playCount, 7);
    EXPECT_EQ(army->changed, 132000000000000000LL);
}

TEST_F(ListingTest, QuestionConditionsRunOnQueryView) {
    ListTotals totals;
    // No type filter applies: the ogg file is listed.
    EXPECT_EQ(Query(L"?ARTIST LIKE 'a%'", &totals), (Names{L"Other.ogg", L"Take On Me.mp3"}));
    EXPECT_EQ(totals.known, 2);
    for (const wchar_t* invalid : {L"?", L"?x", L"?ARTIST LIKE", L""}) {
        EXPECT_TRUE(Query(invalid, &totals).empty()) << WideToUtf8(invalid);
        EXPECT_EQ(totals.known, 0);
        EXPECT_EQ(totals.seconds, 0u);
        EXPECT_EQ(totals.bytes, 0);
    }
    // A top-level OR must not bring back files that are gone.
    EXPECT_EQ(Query(L"?(ARTIST='Abba') OR (FILENAME LIKE '%lost%') OR (FILENAME='gone.mp3')"), (Names{L"Other.ogg"}));
    // A second statement after the condition is refused outright rather than dropped in
    // silence; a lone closing semicolon is still accepted.
    EXPECT_TRUE(Query(L"?FILENAME='intro.mp3'; DELETE FROM Files").empty());
    EXPECT_EQ(Query(L"?FILENAME='intro.mp3';"), (Names{L"intro.mp3"}));
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM Files"), 10);
}

TEST_F(ListingTest, NodeRequestsPickTheirListing) {
    db->SetListingOptions(ParseTypeFilter(L"mp3;flac"), 0);
    auto folder = Ref<TreeNode>::Make(NodeKind::kFolder, L"D:\\Music\\Rock");  // no trailing backslash
    auto list = [&](TreeNode* node, const std::wstring& text, bool fromTop) {
        std::unique_ptr<ListResult> result(ListForNode(*db, node, text, fromTop, false));
        return NamesOf(*result->rows);
    };
    EXPECT_EQ(list(folder.get(), L"", false), (Names{L"Love.mp3", L"Take On Me.mp3"}));
    EXPECT_EQ(list(folder.get(), L"army", false), Names{});
    EXPECT_EQ(list(folder.get(), L"army", true), (Names{L"Army of Me.mp3"}));
    EXPECT_EQ(list(folder.get(), L"", true), (Names{L"Love.mp3", L"Take On Me.mp3"}));
    EXPECT_EQ(list(nullptr, L"me", false), (Names{L"Army of Me.mp3", L"Love.mp3", L"Take On Me.mp3"}));
}

TEST_F(ListingTest, SmartPlaylistNodeListsItsConditionNarrowedByTheSearch) {
    db->SetListingOptions(ParseTypeFilter(L"mp3"), 0);
    auto root = Ref<SqlRoot>::Make(L"ARTIST LIKE 'b%' OR ARTIST='Abba'", L"B", 1);
    auto list = [&](const std::wstring& text, ListTotals* totals = nullptr) {
        std::unique_ptr<ListResult> result(ListForNode(*db, root->Node(), text, false, false));
        if (totals) *totals = result->totals;
        return NamesOf(*result->rows);
    };
    EXPECT_EQ(list(L""), (Names{L"Army of Me.mp3", L"Hyperballad.flac", L"Love.mp3", L"Other.ogg"}));
    ListTotals totals;
    EXPECT_EQ(list(L"post", &totals), (Names{L"Army of Me.mp3", L"Hyperballad.flac"}));
    EXPECT_EQ(totals.bytes, 5000000000LL + 3000) << "totals cover the listed rows only";
    root->SetCondition(L"no such column");
    EXPECT_EQ(list(L""), Names{});
}

TEST_F(ListingTest, PlaylistNodeListsItsEntriesWithStoredPlayCounts) {
    db->SetListingOptions(ParseTypeFilter(L"mp3"), kStripAccents);
    auto node = Ref<TreeNode>::Make(NodeKind::kPlaylist, L"D:\\Lists\\mix.m3u");
    node->playlist = Ref<Playlist>::Make();
    auto stored = Ref<FileRecord>::Make(kBjork + L"Army of Me.mp3");
    stored->fileId = armyId;
    auto stream = Ref<FileRecord>::Make(L"http://radio.example/bj\u00f6rk");
    stream->remote = true;
    stream->length = 2500;
    node->playlist->SetEntries({stored, stream});
    node->playlist->SetNeedsLoading();

    std::unique_ptr<ListResult> all(ListForNode(*db, node.get(), L"", false, false));
    EXPECT_FALSE(node->playlist->NeedsLoading());
    ASSERT_EQ(all->rows->rows.size(), 2u);
    EXPECT_EQ(all->rows->rows[0], stored) << "entries are listed themselves, in playlist order";
    EXPECT_EQ(stored->playCount, 7);
    EXPECT_EQ(all->totals.seconds, 2u);

    std::unique_ptr<ListResult> found(ListForNode(*db, node.get(), L"bjork", false, false));
    EXPECT_EQ(NamesOf(*found->rows), Names{L"http://radio.example/bj\u00f6rk"}) << "only the stream's name holds the word";
    std::unique_ptr<ListResult> withFolders(ListForNode(*db, node.get(), L"bjork", false, true));
    EXPECT_EQ(withFolders->rows->rows.size(), 2u) << "compatibility mode searches folder paths too";
}

TEST(MatchTermsTest, EveryTermMustOccurInSomeField) {
    FileRecord record(L"D:\\M\\Caf\u00e9\\01 Intro.mp3");
    TagTexts tags;
    tags[static_cast<int>(TagField::kArtist)] = L"Sigur R\u00f3s";
    tags[static_cast<int>(TagField::kComment)] = L"live";
    record.SetTags(tags);
    const struct {
        Names terms;
        int flags;
        bool matches;
    } cases[] = {
        {{L"intro", L"LIVE"}, 0, true},  {{L"intro", L"studio"}, 0, false}, {{L"ros"}, 0, false},
        {{L"ros"}, 2, true},             {{L"R\u00d3S"}, 0, true},          {{L"cafe"}, 2, false},
        {{L"cafe"}, 18, true},           {{L"caf\u00e9"}, 16, true},        {{}, 0, true},
    };
    for (const auto& c : cases) EXPECT_EQ(MatchTerms(record, c.terms, c.flags), c.matches) << c.flags;
}

}  // namespace
