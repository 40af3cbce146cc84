// Ranking texts: each distinct value gets the locale's sort key once, the values are put in
// sort-key order, and the comparison itself then confirms every neighbouring pair. Sort keys
// are the cheap way to an order; the comparison has the last word, so the ranks follow it even
// where a platform's sort keys and its comparison were ever to disagree.
#include "ui/view/TextRanks.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <numeric>

namespace {

constexpr unsigned kNone = ~0u;

// The distinct values among many, in first-seen order, found through an open-addressing table
// of indexes: a node per value, as a map keeps it, would cost a million allocations.
struct DistinctValues {
    std::vector<std::wstring_view> values;
    std::vector<unsigned> ofInput;  // for each input value, its index in values
};

DistinctValues FindDistinct(const std::vector<std::wstring_view>& inputs) {
    DistinctValues distinct;
    distinct.ofInput.reserve(inputs.size());
    size_t slots = 16;
    while (slots < inputs.size() * 2) slots *= 2;
    std::vector<unsigned> table(slots, kNone);
    std::hash<std::wstring_view> hash;
    for (std::wstring_view value : inputs) {
        size_t at = hash(value) & (slots - 1);
        while (table[at] != kNone && distinct.values[table[at]] != value) at = (at + 1) & (slots - 1);
        if (table[at] == kNone) {
            table[at] = static_cast<unsigned>(distinct.values.size());
            distinct.values.push_back(value);
        }
        distinct.ofInput.push_back(table[at]);
    }
    return distinct;
}

// The sort keys of many values end to end in one buffer.
class SortKeys {
public:
    explicit SortKeys(const std::vector<std::wstring_view>& values) {
        spans_.reserve(values.size());
        for (std::wstring_view value : values) Add(value);
    }

    bool Before(unsigned a, unsigned b) const {
        const Span& x = spans_[a];
        const Span& y = spans_[b];
        int order = std::memcmp(bytes_.data() + x.offset, bytes_.data() + y.offset, std::min(x.length, y.length));
        return order != 0 ? order < 0 : x.length < y.length;
    }

private:
    struct Span {
        size_t offset;
        size_t length;
    };

    void Add(std::wstring_view value) {
        size_t offset = bytes_.size();
        int length = 0;
        if (!value.empty()) {
            // Room for the usual key; a longer one is measured and made again.
            length = Make(value, offset, value.size() * 8 + 64);
            if (length == 0 && GetLastError() == ERROR_INSUFFICIENT_BUFFER)
                length = Make(value, offset, static_cast<size_t>(Make(value, offset, 0)));
        }
        bytes_.resize(offset + static_cast<size_t>(std::max(length, 0)));
        spans_.push_back({offset, bytes_.size() - offset});
    }

    // Writes the key at offset with this much room (none: only measures) and answers its bytes.
    int Make(std::wstring_view value, size_t offset, size_t room) {
        if (room > 0) bytes_.resize(offset + room);
        auto* out = room > 0 ? reinterpret_cast<wchar_t*>(bytes_.data() + offset) : nullptr;
        return LCMapStringW(GetThreadLocale(), LCMAP_SORTKEY | NORM_IGNORECASE, value.data(),
                            static_cast<int>(value.size()), out, static_cast<int>(room));
    }

    std::vector<unsigned char> bytes_;
    std::vector<Span> spans_;
};

// Ranks along an order the comparison has confirmed; false when a neighbouring pair is out
// of order, so the order cannot be used.
bool RankAlong(const std::vector<unsigned>& order, const std::vector<std::wstring_view>& values,
               std::vector<unsigned>& ranks, unsigned& distinctRanks) {
    ranks.assign(values.size(), 0);
    unsigned rank = 0;
    for (size_t i = 1; i < order.size(); ++i) {
        int c = CompareText(values[order[i - 1]], values[order[i]]);
        if (c > 0) return false;
        if (c < 0) ++rank;
        ranks[order[i]] = rank;
    }
    distinctRanks = order.empty() ? 0 : rank + 1;
    return true;
}

}  // namespace

int CompareText(std::wstring_view a, std::wstring_view b) {
    return CompareStringW(GetThreadLocale(), NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                          static_cast<int>(b.size())) - CSTR_EQUAL;
}

TextRanking RankTexts(const std::vector<std::wstring_view>& inputs) {
    DistinctValues distinct = FindDistinct(inputs);
    const std::vector<std::wstring_view>& values = distinct.values;
    std::vector<unsigned> order(values.size());
    std::iota(order.begin(), order.end(), 0u);
    {
        SortKeys keys(values);
        std::sort(order.begin(), order.end(), [&](unsigned a, unsigned b) { return keys.Before(a, b); });
    }
    std::vector<unsigned> valueRanks;
    TextRanking ranking;
    if (!RankAlong(order, values, valueRanks, ranking.distinctRanks)) {
        std::sort(order.begin(), order.end(),
                  [&](unsigned a, unsigned b) { return CompareText(values[a], values[b]) < 0; });
        RankAlong(order, values, valueRanks, ranking.distinctRanks);
    }
    ranking.ranks.reserve(inputs.size());
    for (unsigned index : distinct.ofInput) ranking.ranks.push_back(valueRanks[index]);
    return ranking;
}
