// The stable sorts behind the file list's columns: rows are ordered by a rank or a number
// taken once per row, never by comparing records over and over.
#include "ui/view/RowSorting.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <numeric>
#include <string>
#include <vector>

#include "ui/view/CellText.h"
#include "ui/view/TextRanks.h"

namespace {

// The order of the rows as positions into the list: rows are ordered by one value each, and
// moved into place once at the end.
using Order = std::vector<unsigned>;

void Arrange(std::vector<Ref<FileRecord>>& rows, const Order& order) {
    std::vector<Ref<FileRecord>> arranged;
    arranged.reserve(rows.size());
    for (unsigned i : order) arranged.push_back(std::move(rows[i]));
    rows = std::move(arranged);
}

// Rows with an empty value go last in both directions, in the order they had: they never
// compare before any other row.
struct Split {
    Order filled, empty;
};

template <class IsEmpty>
Split SplitEmpty(const std::vector<Ref<FileRecord>>& rows, IsEmpty isEmpty) {
    Split split;
    split.filled.reserve(rows.size());
    for (unsigned i = 0; i < rows.size(); ++i) (isEmpty(*rows[i]) ? split.empty : split.filled).push_back(i);
    return split;
}

Order Joined(Order first, const Order& then) {
    first.insert(first.end(), then.begin(), then.end());
    return first;
}

// A stable sort by text: the texts (one per filled row, in split.filled's order) are ranked
// once, then the rows are counted into place by rank, which keeps rows of equal texts in the
// order they had.
void SortRanked(std::vector<Ref<FileRecord>>& rows, bool ascending, Split& split,
                const std::vector<std::wstring_view>& texts) {
    TextRanking ranking = RankTexts(texts);
    auto slot = [&](size_t k) { return ascending ? ranking.ranks[k] : ranking.distinctRanks - 1 - ranking.ranks[k]; };
    std::vector<size_t> starts(ranking.distinctRanks + 1, 0);
    for (size_t k = 0; k < split.filled.size(); ++k) ++starts[slot(k) + 1];
    std::partial_sum(starts.begin(), starts.end(), starts.begin());
    Order sorted(split.filled.size());
    for (size_t k = 0; k < split.filled.size(); ++k) sorted[starts[slot(k)]++] = split.filled[k];
    Arrange(rows, Joined(std::move(sorted), split.empty));
}

// A stable sort by a number; Value answers something ordered by <.
template <class Value>
void SortByNumber(std::vector<Ref<FileRecord>>& rows, bool ascending, bool zeroLast, Value value) {
    using V = decltype(value(*rows.front()));
    Split split = SplitEmpty(rows, [&](const FileRecord& r) { return zeroLast && value(r) == V{}; });
    std::vector<std::pair<V, unsigned>> keyed;
    keyed.reserve(split.filled.size());
    for (unsigned i : split.filled) keyed.push_back({value(*rows[i]), i});
    // The row's position breaks ties, which makes the sort stable.
    std::sort(keyed.begin(), keyed.end(), [ascending](const auto& a, const auto& b) {
        if (a.first != b.first) return ascending ? a.first < b.first : b.first < a.first;
        return a.second < b.second;
    });
    Order sorted;
    sorted.reserve(rows.size());
    for (const auto& k : keyed) sorted.push_back(k.second);
    Arrange(rows, Joined(std::move(sorted), split.empty));
}

template <TagField F>
void SortByTag(std::vector<Ref<FileRecord>>& rows, bool ascending, int prefixFlags) {
    // Emptiness is the stored value's: spaces alone, skipped, compare as the empty text but
    // stay among the filled rows.
    Split split = SplitEmpty(rows, [](const FileRecord& r) {
        std::optional<std::wstring_view> tag = r.Tag(F);
        return !tag || tag->empty();
    });
    std::vector<std::wstring_view> texts;
    texts.reserve(split.filled.size());
    for (unsigned i : split.filled) texts.push_back(SortingText(*rows[i]->Tag(F), prefixFlags));
    SortRanked(rows, ascending, split, texts);
}

// The full path of each row, built once: a path is two pieces in the record.
void SortByPath(std::vector<Ref<FileRecord>>& rows, bool ascending) {
    std::vector<std::wstring> paths;
    paths.reserve(rows.size());
    for (const auto& row : rows) paths.push_back(row->Path());
    Split split;
    for (unsigned i = 0; i < rows.size(); ++i) (paths[i].empty() ? split.empty : split.filled).push_back(i);
    std::vector<std::wstring_view> texts;
    texts.reserve(split.filled.size());
    for (unsigned i : split.filled) texts.push_back(paths[i]);
    SortRanked(rows, ascending, split, texts);
}

void SortByName(std::vector<Ref<FileRecord>>& rows, bool ascending) {
    Split split = SplitEmpty(rows, [](const FileRecord& r) { return r.FileName().empty(); });
    std::vector<std::wstring_view> texts;
    texts.reserve(split.filled.size());
    for (unsigned i : split.filled) texts.push_back(rows[i]->FileName());
    SortRanked(rows, ascending, split, texts);
}

}  // namespace

std::wstring_view SortingText(std::wstring_view value, int prefixFlags) {
    size_t skip = 0;
    if (prefixFlags & kSortSkipLeadingSpaces)
        while (skip < value.size() && value[skip] == L' ') ++skip;
    if ((prefixFlags & kSortSkipLeadingThe) && value.size() > 4 &&
        CompareStringOrdinal(value.data(), 4, L"the ", 4, TRUE) == CSTR_EQUAL)
        skip += 4;
    return value.substr(skip);
}

void SortRowList(RowList& list, int key, int prefixFlags) {
    if (key == 0 || key <= -kColumnCount || key >= kColumnCount || list.rows.empty()) return;
    std::vector<Ref<FileRecord>>& rows = list.rows;
    bool ascending = key < 0;
    switch (std::abs(key)) {
        case kColumnTitle: return SortByTag<TagField::kTitle>(rows, ascending, prefixFlags);
        case kColumnArtist: return SortByTag<TagField::kArtist>(rows, ascending, prefixFlags);
        case kColumnAlbum: return SortByTag<TagField::kAlbum>(rows, ascending, prefixFlags);
        case kColumnGenre: return SortByTag<TagField::kGenre>(rows, ascending, prefixFlags);
        case kColumnComment: return SortByTag<TagField::kComment>(rows, ascending, prefixFlags);
        case kColumnTrack: return SortByNumber(rows, ascending, true, [](const FileRecord& r) { return r.track; });
        case kColumnYear: return SortByNumber(rows, ascending, true, [](const FileRecord& r) { return r.year; });
        case kColumnLength: return SortByNumber(rows, ascending, true, [](const FileRecord& r) { return r.length; });
        case kColumnBitrate: return SortByNumber(rows, ascending, true, [](const FileRecord& r) { return r.bitrate; });
        case kColumnPlaycount:
            return SortByNumber(rows, ascending, false, [](const FileRecord& r) { return r.playCount; });
        // File times compare as the unsigned 64-bit counts they are.
        case kColumnLastChanged:
            return SortByNumber(rows, ascending, false,
                                [](const FileRecord& r) { return static_cast<unsigned long long>(r.changed); });
        case kColumnFilesize: return SortByNumber(rows, ascending, false, [](const FileRecord& r) { return r.size; });
        case kColumnFilepath: return SortByPath(rows, ascending);
        case kColumnFilename: return SortByName(rows, ascending);
        default: return;
    }
}
