// Comparators of the file list's columns and the stable sort that uses them.
#include "ui/view/RowSorting.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <numeric>
#include <string>
#include <vector>

#include "ui/view/CellText.h"

namespace {

// Locale-aware and case-insensitive, the way the shell orders names.
int CompareText(std::wstring_view a, std::wstring_view b) {
    return CompareStringW(GetThreadLocale(), NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                          b.data(), static_cast<int>(b.size())) - CSTR_EQUAL;
}

template <class T>
int CompareNumbers(T a, T b) { return a < b ? -1 : (a > b ? 1 : 0); }

// One column's order: Empty (may be null) says which values always go last, Compare orders
// two values that are not empty.
struct Ordering {
    bool (*empty)(const FileRecord&);
    int (*compare)(const FileRecord&, const FileRecord&, int prefixFlags);
};

template <TagField F>
bool TagEmpty(const FileRecord& r) {
    std::optional<std::wstring_view> tag = r.Tag(F);
    return !tag || tag->empty();
}

template <TagField F>
int CompareTags(const FileRecord& a, const FileRecord& b, int flags) {
    return CompareText(SortingText(*a.Tag(F), flags), SortingText(*b.Tag(F), flags));
}

template <int FileRecord::*M>
bool Zero(const FileRecord& r) { return r.*M == 0; }

template <int FileRecord::*M>
int CompareInts(const FileRecord& a, const FileRecord& b, int) { return CompareNumbers(a.*M, b.*M); }

int CompareSizes(const FileRecord& a, const FileRecord& b, int) { return CompareNumbers(a.size, b.size); }

FILETIME AsFileTime(long long value) {
    ULARGE_INTEGER v;
    v.QuadPart = static_cast<ULONGLONG>(value);
    return {v.LowPart, v.HighPart};
}

int CompareChanged(const FileRecord& a, const FileRecord& b, int) {
    FILETIME x = AsFileTime(a.changed), y = AsFileTime(b.changed);
    return CompareFileTime(&x, &y);
}

int CompareNames(const FileRecord& a, const FileRecord& b, int) {
    return CompareText(a.FileName(), b.FileName());
}

bool NameEmpty(const FileRecord& r) { return r.FileName().empty(); }

// Indexed by column; the path column is sorted apart (below) and "#" never sorts.
const Ordering kOrderings[kColumnCount] = {
    {nullptr, nullptr},
    {&TagEmpty<TagField::kTitle>, &CompareTags<TagField::kTitle>},
    {&TagEmpty<TagField::kArtist>, &CompareTags<TagField::kArtist>},
    {&TagEmpty<TagField::kAlbum>, &CompareTags<TagField::kAlbum>},
    {&TagEmpty<TagField::kGenre>, &CompareTags<TagField::kGenre>},
    {&TagEmpty<TagField::kComment>, &CompareTags<TagField::kComment>},
    {&Zero<&FileRecord::track>, &CompareInts<&FileRecord::track>},
    {&Zero<&FileRecord::year>, &CompareInts<&FileRecord::year>},
    {&Zero<&FileRecord::length>, &CompareInts<&FileRecord::length>},
    {&Zero<&FileRecord::bitrate>, &CompareInts<&FileRecord::bitrate>},
    {nullptr, &CompareInts<&FileRecord::playCount>},
    {nullptr, &CompareChanged},
    {nullptr, &CompareSizes},
    {nullptr, nullptr},
    {&NameEmpty, &CompareNames},
};

// Whether a goes before b: values that are empty never go first, whatever the direction.
template <class Compare>
bool Before(bool aEmpty, bool bEmpty, bool ascending, const Compare& compare) {
    if (aEmpty) return false;
    if (bEmpty) return true;
    int order = compare();
    return ascending ? order < 0 : order > 0;
}

// A full path is two pieces in the record; joining them on every comparison of a large list
// would allocate millions of times, so each path is built once.
void SortByPath(std::vector<Ref<FileRecord>>& rows, bool ascending) {
    std::vector<std::wstring> paths;
    paths.reserve(rows.size());
    for (const auto& row : rows) paths.push_back(row->Path());
    std::vector<size_t> order(rows.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return Before(paths[a].empty(), paths[b].empty(), ascending,
                            [&] { return CompareText(paths[a], paths[b]); });
    });
    std::vector<Ref<FileRecord>> sorted;
    sorted.reserve(rows.size());
    for (size_t i : order) sorted.push_back(std::move(rows[i]));
    rows = std::move(sorted);
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

void SortRowList(RowList& rows, int key, int prefixFlags) {
    if (key == 0 || key <= -kColumnCount || key >= kColumnCount) return;
    int column = std::abs(key);
    bool ascending = key < 0;
    if (column == kColumnFilepath) return SortByPath(rows.rows, ascending);
    const Ordering& ordering = kOrderings[column];
    std::stable_sort(rows.rows.begin(), rows.rows.end(),
                     [&](const Ref<FileRecord>& a, const Ref<FileRecord>& b) {
                         bool aEmpty = ordering.empty && ordering.empty(*a);
                         bool bEmpty = ordering.empty && ordering.empty(*b);
                         return Before(aEmpty, bEmpty, ascending,
                                             [&] { return ordering.compare(*a, *b, prefixFlags); });
                     });
}
