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

// Whether a goes before b: values that are empty never go first, whatever the direction.
bool Before(bool aEmpty, bool bEmpty, bool ascending, std::wstring_view a, std::wstring_view b) {
    if (aEmpty) return false;
    if (bEmpty) return true;
    int order = CompareText(a, b);
    return ascending ? order < 0 : order > 0;
}

void SortPairwise(std::vector<Ref<FileRecord>>& rows, bool ascending, const std::vector<std::wstring_view>& texts,
                  const std::vector<bool>& empty) {
    Order order(rows.size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(), [&](unsigned a, unsigned b) {
        return Before(empty[a], empty[b], ascending, texts[a], texts[b]);
    });
    Arrange(rows, order);
}

// A stable sort by text, one text per row: rows with an empty value go last. The texts are
// ranked once, then the rows are counted into place by rank, which keeps rows of equal texts
// in the order they had. Where the comparison contradicts itself, no ranking can follow it,
// and the rows are sorted comparing pair by pair as a stable sort does.
void SortTexts(std::vector<Ref<FileRecord>>& rows, bool ascending, const std::vector<std::wstring_view>& texts,
               const std::vector<bool>& empty) {
    Split split;
    split.filled.reserve(rows.size());
    for (unsigned i = 0; i < rows.size(); ++i) (empty[i] ? split.empty : split.filled).push_back(i);
    std::vector<std::wstring_view> filled;
    filled.reserve(split.filled.size());
    for (unsigned i : split.filled) filled.push_back(texts[i]);
    std::optional<TextRanking> ranking = RankTexts(filled);
    if (!ranking) return SortPairwise(rows, ascending, texts, empty);
    const std::vector<unsigned>& ranks = ranking->ranks;
    const unsigned last = ranking->distinctRanks - 1;
    auto slot = [&](size_t k) { return ascending ? ranks[k] : last - ranks[k]; };
    std::vector<size_t> starts(ranking->distinctRanks + 1, 0);
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

// Emptiness is the stored value's: spaces alone, skipped, compare as the empty text but stay
// among the filled rows.
template <TagField F>
void SortByTag(std::vector<Ref<FileRecord>>& rows, bool ascending, int prefixFlags) {
    std::vector<std::wstring_view> texts(rows.size());
    std::vector<bool> empty(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        std::optional<std::wstring_view> tag = rows[i]->Tag(F);
        empty[i] = !tag || tag->empty();
        if (!empty[i]) texts[i] = SortingText(*tag, prefixFlags);
    }
    SortTexts(rows, ascending, texts, empty);
}

// The full path of each row, built once: a path is two pieces in the record.
void SortByPath(std::vector<Ref<FileRecord>>& rows, bool ascending) {
    std::vector<std::wstring> paths;
    paths.reserve(rows.size());
    for (const auto& row : rows) paths.push_back(row->Path());
    std::vector<std::wstring_view> texts(paths.begin(), paths.end());
    std::vector<bool> empty(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) empty[i] = paths[i].empty();
    SortTexts(rows, ascending, texts, empty);
}

void SortByName(std::vector<Ref<FileRecord>>& rows, bool ascending) {
    std::vector<std::wstring_view> texts(rows.size());
    std::vector<bool> empty(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        texts[i] = rows[i]->FileName();
        empty[i] = texts[i].empty();
    }
    SortTexts(rows, ascending, texts, empty);
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
