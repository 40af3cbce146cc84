// Plain sort keys: the key of each letter, digit and space, learnt from the locale once per
// ranking and laid end to end, checked against the locale's own keys of a few texts.
#include "ui/view/PlainSortKeys.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

constexpr DWORD kKeyFlags = LCMAP_SORTKEY | NORM_IGNORECASE;
// A key's first level (the letters' weights) ends at this byte; the rest is the same for
// every plain text, since plain characters carry no accent and their case is ignored.
constexpr unsigned char kLevelEnd = 1;
constexpr size_t kSamples = 16;

bool IsPlain(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L' ';
}

// Case is ignored, so the lower-case letters, the digits and the space stand for every plain
// character.
const wchar_t kFolded[] = L"abcdefghijklmnopqrstuvwxyz0123456789 ";
constexpr size_t kFoldedCount = sizeof(kFolded) / sizeof(kFolded[0]) - 1;

bool IsPlain(std::wstring_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](wchar_t c) { return IsPlain(c); });
}

// The locale's key of a text with its zero byte; empty when it cannot be had.
std::vector<unsigned char> LocaleKey(LCID locale, std::wstring_view text) {
    const int length = static_cast<int>(text.size());
    int bytes = LCMapStringW(locale, kKeyFlags, text.data(), length, nullptr, 0);
    if (bytes <= 0) return {};
    std::vector<unsigned char> key(static_cast<size_t>(bytes));
    if (LCMapStringW(locale, kKeyFlags, text.data(), length, reinterpret_cast<wchar_t*>(key.data()), bytes) != bytes)
        return {};
    return key;
}

}  // namespace

PlainSortKeys::PlainSortKeys(LCID locale, const std::vector<std::wstring_view>& samples) {
    bool learnt = true;
    for (wchar_t c = 0; c < 128; ++c)
        if (IsPlain(c)) learnt = Learn(locale, c) && learnt;
    usable_ = learnt && Confirm(locale, samples);
}

// A character whose key does not split into its weight and the common rest stays unlearnt,
// and any text with it is keyed by the locale.
bool PlainSortKeys::Learn(LCID locale, wchar_t c) {
    std::vector<unsigned char> key = LocaleKey(locale, std::wstring_view(&c, 1));
    auto end = std::find(key.begin(), key.end(), kLevelEnd);
    size_t weight = static_cast<size_t>(end - key.begin()), tail = key.size() - weight;
    if (end == key.end() || weight == 0 || weight > kMaxWeight || tail > kMaxTail) return false;
    if (tailBytes_ == 0) {
        std::copy(end, key.end(), tail_);
        tailBytes_ = tail;
    } else if (tail != tailBytes_ || !std::equal(end, key.end(), tail_)) {
        return false;
    }
    Weight& w = weights_[c];
    std::copy(key.begin(), end, w.bytes);
    w.count = static_cast<unsigned char>(weight);
    return true;
}

// Plain texts spread over the values, each keyed both ways.
bool PlainSortKeys::Confirm(LCID locale, const std::vector<std::wstring_view>& samples) const {
    const size_t step = std::max<size_t>(1, samples.size() / kSamples);
    std::vector<unsigned char> made;
    for (size_t i = 0; i < samples.size(); i += step) {
        std::wstring_view text = samples[i];
        if (!IsPlain(text)) continue;
        made.assign(MaxBytes(text.size()), 0);
        made.resize(Make(text, made.data()));
        if (made != LocaleKey(locale, text)) return false;
    }
    return true;
}

bool PlainSortKeys::ProveOrder(LCID locale) {
    if (orderProven_) return true;
    if (!usable_) return false;
    for (wchar_t c = 0; c < 128; ++c)
        if (IsPlain(c) && weights_[c].count == 0) return false;
    for (wchar_t c = L'A'; c <= L'Z'; ++c) {
        const Weight &upper = weights_[c], &lower = weights_[c - L'A' + L'a'];
        if (upper.count != lower.count || !std::equal(upper.bytes, upper.bytes + upper.count, lower.bytes)) return false;
    }
    // Every text of one or two plain characters, with the key put together here; a locale that
    // joins two letters keys their pair otherwise.
    std::vector<std::wstring> texts;
    texts.reserve(kFoldedCount * (kFoldedCount + 1));
    for (size_t i = 0; i < kFoldedCount; ++i) {
        texts.push_back(std::wstring(1, kFolded[i]));
        for (size_t j = 0; j < kFoldedCount; ++j) texts.push_back({kFolded[i], kFolded[j]});
    }
    std::vector<std::vector<unsigned char>> keys;
    keys.reserve(texts.size());
    for (const std::wstring& text : texts) {
        keys.emplace_back(MaxBytes(text.size()), 0);
        keys.back().resize(Make(text, keys.back().data()));
        if (text.size() == 2 && keys.back() != LocaleKey(locale, text)) return false;
    }
    // Along the key order, the comparison must find each text after or equal to the one before:
    // a comparison that orders as the keys do on neighbours does so on every pair.
    std::vector<size_t> order(texts.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return keys[a] < keys[b]; });
    for (size_t i = 1; i < order.size(); ++i) {
        const std::wstring &a = texts[order[i - 1]], &b = texts[order[i]];
        int verdict = CompareStringW(locale, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()), b.data(),
                                     static_cast<int>(b.size())) - CSTR_EQUAL;
        int expected = keys[order[i - 1]] == keys[order[i]] ? 0 : -1;
        if ((verdict < 0 ? -1 : verdict > 0 ? 1 : 0) != expected) return false;
    }
    orderProven_ = true;
    return true;
}

// Only a difference inside both characters' weights settles the order: where one weight is the
// start of the other, the order would hang on the characters after it. Both texts must be plain
// to their ends, or a character after the difference might join the one before it.
int PlainSortKeys::SettledOrder(std::wstring_view a, std::wstring_view b) const {
    if (!orderProven_ || !IsPlain(a) || !IsPlain(b)) return 0;
    const size_t shorter = std::min(a.size(), b.size());
    for (size_t k = 0; k < shorter; ++k) {
        const Weight &x = weights_[a[k]], &y = weights_[b[k]];
        for (unsigned char j = 0; j < std::min(x.count, y.count); ++j)
            if (x.bytes[j] != y.bytes[j]) return x.bytes[j] < y.bytes[j] ? -1 : 1;
        if (x.count != y.count) return 0;
    }
    return 0;
}

size_t PlainSortKeys::Make(std::wstring_view value, unsigned char* out) const {
    if (value.empty() || tailBytes_ == 0) return 0;
    unsigned char* at = out;
    for (wchar_t c : value) {
        if (c >= weights_.size() || weights_[c].count == 0) return 0;
        const Weight& w = weights_[c];
        at = std::copy(w.bytes, w.bytes + w.count, at);
    }
    at = std::copy(tail_, tail_ + tailBytes_, at);
    return static_cast<size_t>(at - out);
}
