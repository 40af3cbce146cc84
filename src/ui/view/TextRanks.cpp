// Ranking texts: each distinct value gets a sort key once, the values are put in sort-key
// order, and the comparison itself then confirms every neighbouring pair. Sort keys are the
// cheap way to an order; the comparison has the last word, so the ranks follow it even where a
// platform's sort keys and its comparison disagree. Plain texts get keys put together from
// their characters' keys; when the comparison refuses the order those propose, every value is
// keyed by the locale and ordered again. In a large list, neighbouring plain texts that differ at
// a character need no comparison once the locale is shown to order plain texts letter by
// letter. A large list shares the work of making keys, ordering them and confirming pairs with
// a second thread.
#include "ui/view/TextRanks.h"

#include <windows.h>

#include <algorithm>
#include <functional>
#include <numeric>
#include <optional>
#include <system_error>
#include <thread>

#include "ui/view/PlainSortKeys.h"

namespace {

constexpr unsigned kNone = ~0u;
// Below this many distinct values a second thread costs more than it saves.
constexpr size_t kTwoThreadsFrom = 20000;
// Learning the keys of the plain characters costs some eighty calls to the locale.
constexpr size_t kPlainKeysFrom = 256;
// Proving that plain texts need no comparison costs some three thousand.
constexpr size_t kSettleFrom = 4096;
constexpr size_t kSpotCheck = 64;

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

// A sort key padded with zero bytes to whole 32-bit words. Keys hold no zero byte before their
// end, so the padding orders as the end of the key does; the comparison checks the outcome anyway.
struct KeyView {
    const unsigned* words;
    unsigned count;
};

bool KeyBefore(const KeyView& a, const KeyView& b) {
    unsigned n = std::min(a.count, b.count);
    for (unsigned i = 0; i < n; ++i)
        if (a.words[i] != b.words[i]) return __builtin_bswap32(a.words[i]) < __builtin_bswap32(b.words[i]);
    return a.count < b.count;
}

// Orders a run of values by key. Each is ordered first by the two words of its key after those
// every key of the run shares (titles such as "Track 01" share their start): most comparisons
// then look at one number in place rather than at two keys elsewhere in memory. Two keys with
// the same number go by the whole key, so the order is the one the whole keys give.
void SortByKey(std::vector<unsigned>::iterator first, std::vector<unsigned>::iterator last,
               const std::vector<KeyView>& keys) {
    if (first == last) return;
    const KeyView& head = keys[*first];
    unsigned shared = head.count;
    for (auto it = first; it != last && shared > 0; ++it) {
        const KeyView& key = keys[*it];
        unsigned same = 0, most = std::min(shared, key.count);
        while (same < most && key.words[same] == head.words[same]) ++same;
        shared = same;
    }
    // A key that has ended reads as zero words, which order as its end does.
    auto word = [shared](const KeyView& key, unsigned i) -> unsigned long long {
        return shared + i < key.count ? __builtin_bswap32(key.words[shared + i]) : 0;
    };
    struct Lead {
        unsigned long long value;
        unsigned index;
    };
    std::vector<Lead> leads;
    leads.reserve(static_cast<size_t>(last - first));
    for (auto it = first; it != last; ++it) leads.push_back({word(keys[*it], 0) << 32 | word(keys[*it], 1), *it});
    std::sort(leads.begin(), leads.end(), [&keys](const Lead& a, const Lead& b) {
        if (a.value != b.value) return a.value < b.value;
        return KeyBefore(keys[a.index], keys[b.index]);
    });
    for (const Lead& lead : leads) *first++ = lead.index;
}

// The sort keys of a run of values, end to end in one buffer.
class SortKeys {
public:
    // plain, when given, keys the plain values without asking the locale.
    SortKeys(LCID locale, const PlainSortKeys* plain, const std::wstring_view* values, size_t count)
        : locale_(locale), plain_(plain) {
        ends_.reserve(count);
        for (size_t i = 0; i < count; ++i) Add(values[i]);
    }

    // Valid while this object lives and adds nothing more.
    void Views(KeyView* out) const {
        size_t start = 0;
        for (size_t end : ends_) {
            *out++ = {words_.data() + start, static_cast<unsigned>(end - start)};
            start = end;
        }
    }

private:
    static size_t Words(size_t bytes) { return (bytes + 3) / 4; }

    void Add(std::wstring_view value) {
        size_t start = words_.size();
        size_t bytes = 0;
        if (!value.empty() && plain_) {
            words_.resize(start + Words(PlainSortKeys::MaxBytes(value.size())), 0u);
            bytes = plain_->Make(value, reinterpret_cast<unsigned char*>(words_.data() + start));
        }
        if (!value.empty() && bytes == 0) {
            // Room for the usual key; a longer one is measured and made again.
            int made = FromLocale(value, start, value.size() * 8 + 64);
            if (made == 0 && GetLastError() == ERROR_INSUFFICIENT_BUFFER)
                made = FromLocale(value, start, static_cast<size_t>(FromLocale(value, start, 0)));
            bytes = static_cast<size_t>(std::max(made, 0));
        }
        words_.resize(start + Words(bytes));
        ends_.push_back(words_.size());
    }

    // Writes the key at word start with room for this many bytes (none: only measures) and
    // answers its bytes; the rest of its last word is zero.
    int FromLocale(std::wstring_view value, size_t start, size_t room) {
        if (room > 0) {
            words_.resize(start);
            words_.resize(start + Words(room), 0u);
        }
        auto* out = room > 0 ? reinterpret_cast<wchar_t*>(words_.data() + start) : nullptr;
        return LCMapStringW(locale_, LCMAP_SORTKEY | NORM_IGNORECASE, value.data(),
                            static_cast<int>(value.size()), out, static_cast<int>(room));
    }

    LCID locale_;
    const PlainSortKeys* plain_;
    std::vector<unsigned> words_;
    std::vector<size_t> ends_;
};

// Runs first on a second thread and second on this one, for a large enough job; one after
// the other otherwise, or when no thread can be had.
template <class First, class Second>
void Share(bool large, First first, Second second) {
    std::thread helper;
    if (large) {
        try {
            helper = std::thread(first);
        } catch (const std::system_error&) {
        }
    }
    second();
    if (helper.joinable())
        helper.join();
    else
        first();
}

// The distinct values in sort-key order.
std::vector<unsigned> KeyOrder(LCID locale, const PlainSortKeys* plain, const std::vector<std::wstring_view>& values) {
    const size_t n = values.size(), half = n / 2;
    const bool large = n >= kTwoThreadsFrom;
    std::vector<unsigned> order(n);
    std::iota(order.begin(), order.end(), 0u);
    std::vector<KeyView> keys(n);
    auto before = [&keys](unsigned a, unsigned b) { return KeyBefore(keys[a], keys[b]); };
    // Each half is keyed and ordered on its own thread, then the two are merged.
    auto doHalf = [&](size_t from, size_t to, std::optional<SortKeys>& made) {
        made.emplace(locale, plain, values.data() + from, to - from);
        made->Views(keys.data() + from);
        SortByKey(order.begin() + static_cast<long>(from), order.begin() + static_cast<long>(to), keys);
    };
    std::optional<SortKeys> low, high;
    Share(large, [&] { doHalf(half, n, high); }, [&] { doHalf(0, half, low); });
    std::inplace_merge(order.begin(), order.begin() + static_cast<long>(half), order.end(), before);
    return order;
}

// The comparison's verdict on each neighbouring pair of the order: below zero, zero or above.
// A pair of plain texts whose order settled (see PlainSortKeys) takes that order without the
// call; one such pair in every kSpotCheck is asked all the same, and should the comparison ever
// differ there, that pair reads as out of order, which sends the caller to the locale's keys.
std::vector<signed char> NeighbourVerdicts(LCID locale, const std::vector<unsigned>& order,
                                           const std::vector<std::wstring_view>& values,
                                           const PlainSortKeys* settled) {
    std::vector<signed char> verdicts(order.size(), 0);
    auto judge = [&](size_t from, size_t to) {
        for (size_t i = std::max<size_t>(from, 1); i < to; ++i) {
            std::wstring_view a = values[order[i - 1]], b = values[order[i]];
            int s = settled ? settled->SettledOrder(a, b) : 0;
            if (s != 0 && i % kSpotCheck != 0) {
                verdicts[i] = static_cast<signed char>(s);
                continue;
            }
            int c = CompareText(locale, a, b);
            c = c < 0 ? -1 : c > 0 ? 1 : 0;
            verdicts[i] = static_cast<signed char>(s != 0 && c != s ? 1 : c);
        }
    };
    size_t half = order.size() / 2;
    Share(order.size() >= kTwoThreadsFrom, [&] { judge(half, order.size()); }, [&] { judge(0, half); });
    return verdicts;
}

// Ranks along an order the comparison has confirmed; false when a neighbouring pair is out
// of order, so the order cannot be used.
bool RankAlong(const std::vector<unsigned>& order, const std::vector<signed char>& verdicts,
               std::vector<unsigned>& ranks, unsigned& distinctRanks) {
    ranks.assign(order.size(), 0);
    unsigned rank = 0;
    for (size_t i = 1; i < order.size(); ++i) {
        if (verdicts[i] > 0) return false;
        if (verdicts[i] < 0) ++rank;
        ranks[order[i]] = rank;
    }
    distinctRanks = order.empty() ? 0 : rank + 1;
    return true;
}

}  // namespace

int CompareText(std::wstring_view a, std::wstring_view b) { return CompareText(GetThreadLocale(), a, b); }

int CompareText(LCID locale, std::wstring_view a, std::wstring_view b) {
    return CompareStringW(locale, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                          static_cast<int>(b.size())) - CSTR_EQUAL;
}

std::optional<TextRanking> RankTexts(const std::vector<std::wstring_view>& inputs) {
    // The helper thread has a locale of its own: it must use this thread's.
    const LCID locale = GetThreadLocale();
    DistinctValues distinct = FindDistinct(inputs);
    const std::vector<std::wstring_view>& values = distinct.values;
    std::vector<unsigned> valueRanks;
    TextRanking ranking;
    auto confirmed = [&](const std::vector<unsigned>& order, const PlainSortKeys* settled) {
        return RankAlong(order, NeighbourVerdicts(locale, order, values, settled), valueRanks, ranking.distinctRanks);
    };
    std::optional<PlainSortKeys> plain;
    if (values.size() >= kPlainKeysFrom) plain.emplace(locale, values);
    const bool usable = plain && plain->Usable();
    const PlainSortKeys* settled = usable && values.size() >= kSettleFrom && plain->ProveOrder(locale) ? &*plain : nullptr;
    if (!usable || !confirmed(KeyOrder(locale, &*plain, values), settled)) {
        std::vector<unsigned> order = KeyOrder(locale, nullptr, values);
        if (!confirmed(order, nullptr)) {
            // A stable sort stays within its range whatever the comparison answers; std::sort may
            // not, and it is a comparison that contradicts itself that brings us here.
            std::stable_sort(order.begin(), order.end(),
                             [&](unsigned a, unsigned b) { return CompareText(locale, values[a], values[b]) < 0; });
            if (!confirmed(order, nullptr)) return std::nullopt;
        }
    }
    ranking.ranks.reserve(inputs.size());
    for (unsigned index : distinct.ofInput) ranking.ranks.push_back(valueRanks[index]);
    return ranking;
}
