// The orders behind the column headers: text with and without the prefix rules, numbers with
// zero last or plain, file times, paths; empty values last both ways; ties keep their order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/view/RowSorting.h"
#include "ui/view/SortKeys.h"

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

}  // namespace
