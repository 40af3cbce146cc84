// Learning, from the system's case-blind comparison, which units can never stand for ASCII
// letters or digits nor vanish, and the in-place search that texts of such units allow.
#include "db/SearchInertUnits.h"

#include <shlwapi.h>

#include <algorithm>
#include <string>

namespace {

// How many letters deep a unit is followed before it is taken, to be safe, for a letter
// sequence: the longest expansion into ASCII letters the search looks for ("ﬃ" is three).
constexpr int kDeepest = 4;

// The comparison the in-memory test's substring search is built on: the thread's locale,
// ignoring case.
int Compare(const std::wstring& a, const std::wstring& b) { return StrCmpIW(a.c_str(), b.c_str()); }

bool IsAsciiLetterOrDigit(wchar_t unit) {
    return (unit >= L'0' && unit <= L'9') || (unit >= L'a' && unit <= L'z') || (unit >= L'A' && unit <= L'Z');
}

wchar_t AsciiLower(wchar_t unit) { return unit >= L'A' && unit <= L'Z' ? static_cast<wchar_t>(unit + 32) : unit; }

}  // namespace

InertUnits::InertUnits() : locale_(GetThreadLocale()), states_(0x10000, kUnknown) {
    std::wstring letters = L"0123456789abcdefghijklmnopqrstuvwxyz";
    std::copy(letters.begin(), letters.end(), alnum_.begin());
    std::sort(alnum_.begin(), alnum_.end(),
              [](wchar_t a, wchar_t b) { return Compare(std::wstring(1, a), std::wstring(1, b)) < 0; });
    // Following a unit letter by letter rests on words sorting as words: each letter before
    // every longer word it starts, and those before the next letter. A locale where that fails
    // (letters that join, letters equal to each other) leaves every unit to the full comparison.
    ordered_ = true;
    for (size_t i = 0; i < alnum_.size() && ordered_; ++i) {
        std::wstring first(1, alnum_[i]);
        if (i + 1 < alnum_.size() && Compare(first, std::wstring(1, alnum_[i + 1])) >= 0) ordered_ = false;
        for (size_t j = 0; j < alnum_.size() && ordered_; ++j) {
            std::wstring word = first + alnum_[j];
            ordered_ = Compare(first, word) < 0 && (i + 1 == alnum_.size() || Compare(word, std::wstring(1, alnum_[i + 1])) < 0);
        }
    }
}

// A unit that equals no word of ASCII letters and digits sorts strictly between two neighbours
// at every depth it is followed to; one that equals such a word is found equal on the way down,
// since each level is searched in the comparison's own order.
bool InertUnits::Learn(wchar_t unit) const {
    if (!ordered_ || unit < 0xA0 || (unit >= 0xD800 && unit <= 0xDFFF)) return false;
    const std::wstring alone(1, unit);
    if (Compare(alone, L"") == 0 || Compare(L"a" + alone, L"a") == 0 || Compare(alone + L"a", L"a") == 0 ||
        Compare(L"a" + alone + L"a", L"aa") == 0)
        return false;
    std::wstring start;
    for (int depth = 0; depth < kDeepest; ++depth) {
        // The first of start + letter that sorts after the unit.
        size_t low = 0, high = alnum_.size();
        while (low < high) {
            size_t middle = (low + high) / 2;
            int order = Compare(start + alnum_[middle], alone);
            if (order == 0) return false;
            if (order < 0) low = middle + 1;
            else high = middle;
        }
        // Before every word of this start that is longer: equal to none of them.
        if (low == 0) return true;
        start += alnum_[low - 1];
    }
    return false;
}

bool InertUnits::IsInert(wchar_t unit) {
    State& state = states_[unit];
    if (state == kUnknown) state = Learn(unit) ? kInert : kActive;
    return state == kInert;
}

bool InertUnits::IsSimple(std::wstring_view text) {
    for (wchar_t unit : text)
        if ((unit < L' ' || unit > L'~') && !IsInert(unit)) return false;
    return true;
}

bool IsAsciiWord(std::wstring_view word) {
    return !word.empty() && std::all_of(word.begin(), word.end(), IsAsciiLetterOrDigit);
}

bool HoldsAsciiWord(std::wstring_view text, std::wstring_view word) {
    text = text.substr(0, text.find(L'\0'));
    if (word.empty() || word.size() > text.size()) return false;
    wchar_t first = AsciiLower(word[0]);
    for (size_t at = 0; at + word.size() <= text.size(); ++at) {
        if (AsciiLower(text[at]) != first) continue;
        size_t i = 1;
        while (i < word.size() && AsciiLower(text[at + i]) == AsciiLower(word[i])) ++i;
        if (i == word.size()) return true;
    }
    return false;
}
