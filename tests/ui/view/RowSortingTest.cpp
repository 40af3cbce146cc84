// The orders behind the column headers: text with and without the prefix rules, numbers with
// zero last or plain, file times, paths; empty values last both ways; ties keep their order.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ui/view/RowSorting.h"
#include "ui/view/SortKeys.h"
#include "ui/view/TextRanks.h"

namespace {

Ref<FileRecord> WithTitle(const std::optional<std::wstring>& title, const std::wstring& path = L"C:\\x.mp3") {
    auto record = Ref<FileRecord>::Make(path);
    TagTexts tags;
    tags[static_cast<int>(TagField::kTitle)] = title;
    record->SetTags(tags);
    return record;
}

Ref<RowList> Titles(const std::vector<std::optional<std::wstring>>& titles) {
    auto rows = Ref<RowList>::Make();
    for (const auto& title : titles) rows->rows.push_back(WithTitle(title));
    return rows;
}

std::vector<std::wstring> TitlesOf(const RowList& rows) {
    std::vector<std::wstring> out;
    for (const auto& row : rows.rows) out.push_back(std::wstring(row->Tag(TagField::kTitle).value_or(L"(none)")));
    return out;
}

std::vector<std::wstring> Sorted(const std::vector<std::optional<std::wstring>>& titles, int key, int flags = 0) {
    auto rows = Titles(titles);
    SortRowList(*rows, key, flags);
    return TitlesOf(*rows);
}

using Names = std::vector<std::wstring>;

TEST(RowSortingTest, TitleTwiceFlipsTheOrderAndEmptyTitlesStayAtTheBottom) {
    const std::vector<std::optional<std::wstring>> titles = {L"b", L"", L"A", std::nullopt, L"c"};
    int key = NextSortKey(1, 1, false);
    EXPECT_EQ(key, -1);
    EXPECT_EQ(Sorted(titles, key), (Names{L"A", L"b", L"c", L"", L"(none)"}));
    key = NextSortKey(key, 1, false);
    EXPECT_EQ(key, 1);
    EXPECT_EQ(Sorted(titles, key), (Names{L"c", L"b", L"A", L"", L"(none)"}));
    EXPECT_EQ(NextSortKey(key, 1, false), -1);
}

struct PrefixCase {
    const char* what;
    int flags;
    std::vector<std::optional<std::wstring>> titles;
    Names ascending;
};

TEST(RowSortingTest, PrefixRulesSkipTheArticleAndLeadingSpacesOnlyAsStored) {
    const PrefixCase cases[] = {
        {"article counts without the option", 0, {L"The Doors", L"Eagles", L"Cream"},
         {L"Cream", L"Eagles", L"The Doors"}},
        {"The Doors sorts as Doors", kSortSkipLeadingThe, {L"The Doors", L"Eagles", L"Cream"},
         {L"Cream", L"The Doors", L"Eagles"}},
        {"article in any case", kSortSkipLeadingThe, {L"THE DOORS", L"Eagles", L"Cream"},
         {L"Cream", L"THE DOORS", L"Eagles"}},
        {"exactly four characters keep their text", kSortSkipLeadingThe, {L"The ", L"Abba"}, {L"Abba", L"The "}},
        {"\"Then\" is no article", kSortSkipLeadingThe, {L"Then", L"Abba", L"Zappa"}, {L"Abba", L"Then", L"Zappa"}},
        {"leading spaces count without the option", 0, {L"Abba", L"  Zappa"}, {L"  Zappa", L"Abba"}},
        {"leading spaces skipped", kSortSkipLeadingSpaces, {L"  Zappa", L"Abba"}, {L"Abba", L"  Zappa"}},
        {"spaces before The keep the article", kSortSkipLeadingThe | kSortSkipLeadingSpaces,
         {L"Toto", L"  The Doors", L"Eagles"}, {L"Eagles", L"  The Doors", L"Toto"}},
        {"case is ignored", 0, {L"beta", L"Alpha", L"GAMMA"}, {L"Alpha", L"beta", L"GAMMA"}},
    };
    for (const PrefixCase& c : cases) EXPECT_EQ(Sorted(c.titles, -1, c.flags), c.ascending) << c.what;
}

TEST(RowSortingTest, SortingByOneColumnThenAnotherKeepsTiesInTheFirstOrder) {
    auto rows = Ref<RowList>::Make();
    const std::pair<const wchar_t*, int> albums[] = {{L"d", 2}, {L"a", 1}, {L"c", 2}, {L"b", 1}, {L"e", 0}};
    for (const auto& [title, year] : albums) {
        auto record = WithTitle(std::wstring(title));
        record->year = year;
        rows->rows.push_back(record);
    }
    SortRowList(*rows, -1, 0);
    SortRowList(*rows, 7, 0);
    EXPECT_EQ(TitlesOf(*rows), (Names{L"c", L"d", L"a", L"b", L"e"}));
}

// A record whose value in the column is v.
Ref<FileRecord> WithNumber(int column, long long v) {
    auto r = Ref<FileRecord>::Make(L"C:\\x.mp3");
    int* fields[] = {&r->track, &r->year, &r->length, &r->bitrate, &r->playCount};
    if (column <= 10)
        *fields[column - 6] = static_cast<int>(v);
    else
        (column == 11 ? r->changed : r->size) = v;
    return r;
}

long long NumberOf(int column, const FileRecord& r) {
    const int fields[] = {r.track, r.year, r.length, r.bitrate, r.playCount};
    return column <= 10 ? fields[column - 6] : column == 11 ? r.changed : r.size;
}

struct NumberCase {
    int column;
    std::vector<long long> values, ascending, descending;
};

TEST(RowSortingTest, NumbersSortWithZeroLastOrPlainByColumn) {
    const long long big = 5LL << 30, later = 132000000000000000LL, earlier = 131000000000000000LL;
    const NumberCase cases[] = {
        {6, {3, 0, 1, 0, 2}, {1, 2, 3, 0, 0}, {3, 2, 1, 0, 0}},              // track: zero last
        {7, {0, 1999, 1965}, {1965, 1999, 0}, {1999, 1965, 0}},              // year
        {8, {185000, 0, 59999}, {59999, 185000, 0}, {185000, 59999, 0}},     // length
        {9, {0, 320, 128}, {128, 320, 0}, {320, 128, 0}},                    // bitrate
        {10, {3, 0, 1}, {0, 1, 3}, {3, 1, 0}},                               // play count: plain
        {11, {later, 0, earlier}, {0, earlier, later}, {later, earlier, 0}}, // file time
        {12, {big, 0, 1}, {0, 1, big}, {big, 1, 0}},                         // size past 32 bits
    };
    for (const NumberCase& c : cases) {
        for (int direction : {-1, 1}) {
            auto rows = Ref<RowList>::Make();
            for (long long v : c.values) rows->rows.push_back(WithNumber(c.column, v));
            SortRowList(*rows, direction * c.column, 0);
            std::vector<long long> got;
            for (const auto& row : rows->rows) got.push_back(NumberOf(c.column, *row));
            EXPECT_EQ(got, direction < 0 ? c.ascending : c.descending) << c.column << " " << direction;
        }
    }
}

TEST(RowSortingTest, PathAndFileNameSortAsPlainTextIgnoringCase) {
    auto rows = Ref<RowList>::Make();
    for (const wchar_t* path : {L"C:\\b\\A.mp3", L"C:\\a\\z.mp3", L"C:\\B\\c.mp3"})
        rows->rows.push_back(Ref<FileRecord>::Make(path));
    auto paths = [&] {
        Names out;
        for (const auto& row : rows->rows) out.push_back(row->Path());
        return out;
    };
    SortRowList(*rows, -13, 0);
    EXPECT_EQ(paths(), (Names{L"C:\\a\\z.mp3", L"C:\\b\\A.mp3", L"C:\\B\\c.mp3"}));
    SortRowList(*rows, 13, 0);
    EXPECT_EQ(paths(), (Names{L"C:\\B\\c.mp3", L"C:\\b\\A.mp3", L"C:\\a\\z.mp3"}));
    SortRowList(*rows, -14, 0);
    EXPECT_EQ(paths(), (Names{L"C:\\b\\A.mp3", L"C:\\B\\c.mp3", L"C:\\a\\z.mp3"}));
}

TEST(RowSortingTest, KeysWithoutAColumnLeaveTheOrder) {
    const std::vector<std::optional<std::wstring>> titles = {L"b", L"a", L"c"};
    for (int key : {0, 15, -15, 1000})
        EXPECT_EQ(Sorted(titles, key), (Names{L"b", L"a", L"c"})) << key;
}

// The rows in the order a stable sort that compares the records pair by pair leaves them, the
// column's texts compared with the locale's case-insensitive comparison.
std::vector<const FileRecord*> ReferenceOrder(const RowList& rows, TagField field, bool ascending, int flags) {
    std::vector<const FileRecord*> order;
    for (const auto& row : rows.rows) order.push_back(row.get());
    std::stable_sort(order.begin(), order.end(), [&](const FileRecord* a, const FileRecord* b) {
        std::wstring_view x = a->Tag(field).value_or(L""), y = b->Tag(field).value_or(L"");
        if (x.empty()) return false;
        if (y.empty()) return true;
        int c = CompareStringW(GetThreadLocale(), NORM_IGNORECASE, SortingText(x, flags).data(),
                               static_cast<int>(SortingText(x, flags).size()), SortingText(y, flags).data(),
                               static_cast<int>(SortingText(y, flags).size())) - CSTR_EQUAL;
        return ascending ? c < 0 : c > 0;
    });
    return order;
}

// Sorts a copy of the rows by title both ways; each order must be the pairwise reference's.
void ExpectPairwiseTitleOrder(const RowList& rows, int flags = 0) {
    for (bool ascending : {true, false}) {
        auto sorted = rows.Copy();
        SortRowList(*sorted, ascending ? -1 : 1, flags);
        std::vector<const FileRecord*> got;
        for (const auto& row : sorted->rows) got.push_back(row.get());
        EXPECT_EQ(got, ReferenceOrder(rows, TagField::kTitle, ascending, flags)) << flags << " " << ascending;
    }
}

// Texts the locale orders in ways a plain comparison does not: case, accents, ligatures,
// hyphens and apostrophes (which word sorting nearly ignores), digits, spaces, articles.
const wchar_t* const kAwkward[] = {L"co-op", L"coop", L"Co op", L"COOP", L"don't", L"dont", L"Don", L"caf\u00e9",
                                     L"Cafe", L"CAF\u00c9", L"\u00e6ther", L"aether", L"Aether", L"10", L"9", L"1 0",
                                     L"The ", L"the end", L"The End", L"  spaced", L"spaced", L"\u00df", L"ss",
                                     L"\u00c5ngstr\u00f6m", L"Zebra", L"zebra", L"-", L"'", L"a'b", L"ab", L"a-b", L""};
const size_t kAwkwardCount = sizeof(kAwkward) / sizeof(kAwkward[0]);

TEST(RowSortingTest, RanksAgreeWithTheComparisonForEveryPair) {
    std::vector<std::wstring_view> values(std::begin(kAwkward), std::end(kAwkward));
    values.insert(values.end(), std::begin(kAwkward), std::end(kAwkward));  // repeats share a rank
    std::optional<TextRanking> ranked = RankTexts(values);
    ASSERT_TRUE(ranked);
    const TextRanking& ranking = *ranked;
    ASSERT_EQ(ranking.ranks.size(), values.size());
    for (size_t i = 0; i < values.size(); ++i) {
        EXPECT_LT(ranking.ranks[i], ranking.distinctRanks);
        for (size_t j = 0; j < values.size(); ++j) {
            int c = CompareText(values[i], values[j]);
            int r = ranking.ranks[i] < ranking.ranks[j] ? -1 : ranking.ranks[i] > ranking.ranks[j] ? 1 : 0;
            EXPECT_EQ(c < 0 ? -1 : c > 0 ? 1 : 0, r) << i << " " << j;
        }
    }
}

// Enough values that plain ones are keyed from their characters, mixed with values that are
// not plain, and ties of case: every pair's ranks still agree with the comparison.
TEST(RowSortingTest, RanksOfPlainAndOtherTextsTogetherAgreeWithTheComparison) {
    std::vector<std::wstring> texts;
    for (int i = 0; i < 150; ++i) {
        std::wstring n = std::to_wstring(i * 7919 % 1000);
        texts.push_back(L"Song " + n);
        texts.push_back(i % 3 ? L"song " + n : L"caf\u00e9 " + n);
        texts.push_back(std::wstring(kAwkward[i % kAwkwardCount]) + n);
    }
    std::vector<std::wstring_view> values(texts.begin(), texts.end());
    std::optional<TextRanking> ranked = RankTexts(values);
    ASSERT_TRUE(ranked);
    for (size_t i = 0; i < values.size(); ++i) {
        for (size_t j = i + 1; j < values.size(); ++j) {
            int c = CompareText(values[i], values[j]);
            int r = ranked->ranks[i] < ranked->ranks[j] ? -1 : ranked->ranks[i] > ranked->ranks[j] ? 1 : 0;
            ASSERT_EQ(c < 0 ? -1 : c > 0 ? 1 : 0, r) << i << " " << j;
        }
    }
}

// Titles of a few words each, as a collection has them, with the apostrophes, brackets and
// numbers on which the locale's comparison can contradict itself: the order must still be the
// one a pairwise stable sort gives.
TEST(RowSortingTest, WordTitlesSortAsThePairwiseComparisonDoes) {
    const wchar_t* const words[] = {L"love", L"night", L"don't", L"it's", L"rock'n'roll", L"part 1", L"part 2",
                                    L"(live)", L"[demo]", L"remix", L"caf\u00e9", L"na\u00efve", L"Rain", L"dont",
                                    L"its", L"rock", L"roll", L"live", L"demo", L"part"};
    const size_t count = sizeof(words) / sizeof(words[0]);
    auto rows = Ref<RowList>::Make();
    unsigned state = 11;
    for (int i = 0; i < 4000; ++i) {
        std::wstring title;
        state = state * 1664525u + 1013904223u;
        for (unsigned n = 0; n <= (state >> 20) % 3; ++n) {
            state = state * 1664525u + 1013904223u;
            title += (n ? L" " : L"") + std::wstring(words[(state >> 8) % count]);
        }
        rows->rows.push_back(WithTitle(title, L"C:\\" + std::to_wstring(i) + L".mp3"));
    }
    ExpectPairwiseTitleOrder(*rows);
}

// Many rows with repeated awkward titles, some empty or absent, sorted both ways with and
// without the prefix rules.
TEST(RowSortingTest, TextOrderMatchesPairwiseComparisonOnAwkwardTexts) {
    const wchar_t* const* pieces = kAwkward;
    const size_t count = kAwkwardCount;
    auto rows = Ref<RowList>::Make();
    unsigned state = 7;
    for (int i = 0; i < 3000; ++i) {
        state = state * 1664525u + 1013904223u;
        unsigned pick = state >> 8;
        std::optional<std::wstring> title;
        if (pick % 13 == 0) title = L"";
        else if (pick % 17 != 0) title = std::wstring(pieces[pick % count]) + (pick % 3 ? L"" : pieces[(pick >> 5) % count]);
        // Each record names itself in its path, so equal titles stay told apart.
        rows->rows.push_back(WithTitle(title, L"C:\\" + std::to_wstring(i) + L".mp3"));
    }
    for (int flags : {0, kSortSkipLeadingThe | kSortSkipLeadingSpaces}) ExpectPairwiseTitleOrder(*rows, flags);
}

// Numbers with many ties: rows of one value keep their order, zeros stay last both ways.
TEST(RowSortingTest, NumberTiesKeepTheirOrderOverManyRows) {
    auto rows = Ref<RowList>::Make();
    unsigned state = 5;
    for (int i = 0; i < 5000; ++i) {
        state = state * 1664525u + 1013904223u;
        auto record = WithTitle(std::nullopt, L"C:\\" + std::to_wstring(i) + L".mp3");
        record->year = static_cast<int>((state >> 8) % 7) * 10;  // 0 to 60, zero included
        rows->rows.push_back(record);
    }
    for (bool ascending : {true, false}) {
        std::vector<const FileRecord*> expected;
        for (const auto& row : rows->rows) expected.push_back(row.get());
        std::stable_sort(expected.begin(), expected.end(), [&](const FileRecord* a, const FileRecord* b) {
            if (a->year == 0) return false;
            if (b->year == 0) return true;
            return ascending ? a->year < b->year : a->year > b->year;
        });
        auto sorted = rows->Copy();
        SortRowList(*sorted, ascending ? -7 : 7, 0);
        std::vector<const FileRecord*> got;
        for (const auto& row : sorted->rows) got.push_back(row.get());
        EXPECT_EQ(got, expected) << ascending;
    }
}

// A list large enough that neighbouring plain titles are ordered without asking the comparison:
// ties of case, titles that are the start of others, spaces and digits among letters, and a
// few texts that are not plain still come out as the pairwise comparison orders them.
TEST(RowSortingTest, LargePlainListsSortAsThePairwiseComparisonDoes) {
    auto rows = Ref<RowList>::Make();
    const wchar_t* const starts[] = {L"Song ", L"song ", L"SONG", L"So ng ", L"Track", L"track 0", L"A", L"a b ",
                                     L"caf\u00e9 ", L"co-op "};
    unsigned state = 3;
    for (int i = 0; i < 6000; ++i) {
        state = state * 1664525u + 1013904223u;
        std::wstring title = starts[(state >> 8) % 10] + std::to_wstring((state >> 12) % 3000);
        rows->rows.push_back(WithTitle(title, L"C:\\" + std::to_wstring(i) + L".mp3"));
    }
    ExpectPairwiseTitleOrder(*rows);
}

// Sets the thread's locale for the test's length.
class ThreadLocale {
public:
    explicit ThreadLocale(LCID locale) : previous_(GetThreadLocale()) { SetThreadLocale(locale); }
    ~ThreadLocale() { SetThreadLocale(previous_); }

private:
    LCID previous_;
};

// A list long enough that a second thread shares the ranking still sorts in the locale of the
// thread that asked: in Swedish, \u00c5 comes after Z, where English puts it with A.
TEST(RowSortingTest, LongListsSortInTheCallersLocale) {
    ThreadLocale swedish(MAKELCID(MAKELANGID(LANG_SWEDISH, SUBLANG_SWEDISH), SORT_DEFAULT));
    auto rows = Ref<RowList>::Make();
    for (int i = 0; i < 30000; ++i) {
        const wchar_t* first = i % 3 == 0 ? L"\u00c5sa " : i % 3 == 1 ? L"Zeta " : L"Anna ";
        rows->rows.push_back(WithTitle(first + std::to_wstring(i), L"C:\\" + std::to_wstring(i) + L".mp3"));
    }
    auto sorted = rows->Copy();
    SortRowList(*sorted, -1, 0);
    std::vector<const FileRecord*> got;
    for (const auto& row : sorted->rows) got.push_back(row.get());
    EXPECT_EQ(got, ReferenceOrder(*rows, TagField::kTitle, true, 0));
}

// Czech sorts "ch" as one letter after "h", which keys put together letter by letter cannot
// know; the few texts checked against the locale's keys have no "ch", so the comparison is
// what finds out, and the order is still the locale's.
TEST(RowSortingTest, ALocaleThatJoinsLettersStillSortsAsItsComparison) {
    ThreadLocale czech(MAKELCID(MAKELANGID(LANG_CZECH, SUBLANG_CZECH_CZECH_REPUBLIC), SORT_DEFAULT));
    auto rows = Ref<RowList>::Make();
    const wchar_t* const words[] = {L"Chata ", L"Hrad ", L"Cibule ", L"Ilona "};
    for (int i = 0; i < 640; ++i) {
        // Only every twentieth or so text is checked; none of those starts with "Ch".
        const wchar_t* word = i % 20 == 0 ? words[1 + i / 20 % 3] : words[i % 4];
        rows->rows.push_back(WithTitle(word + std::to_wstring(i), L"C:\\" + std::to_wstring(i) + L".mp3"));
    }
    ExpectPairwiseTitleOrder(*rows);
}

// The same in a list large enough to try doing without the comparison for plain titles: Czech
// joins letters, so the comparison still orders every pair.
TEST(RowSortingTest, ALargeListInALocaleThatJoinsLettersStillSortsAsItsComparison) {
    ThreadLocale czech(MAKELCID(MAKELANGID(LANG_CZECH, SUBLANG_CZECH_CZECH_REPUBLIC), SORT_DEFAULT));
    auto rows = Ref<RowList>::Make();
    const wchar_t* const words[] = {L"Chata ", L"Hrad ", L"Cibule ", L"Ilona ", L"chata ", L"Ch "};
    for (int i = 0; i < 5000; ++i)
        rows->rows.push_back(WithTitle(words[i % 6] + std::to_wstring(i), L"C:\\" + std::to_wstring(i) + L".mp3"));
    ExpectPairwiseTitleOrder(*rows);
}

}  // namespace
