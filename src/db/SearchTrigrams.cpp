// Splitting a search word into quoted trigrams for the index's MATCH operator.
#include "db/SearchTrigrams.h"

#include <algorithm>
#include <vector>

namespace {

// A long word needs only some of its pieces to narrow the search well; each piece costs one
// read of the index.
constexpr size_t kMostPieces = 12;

bool IsHighSurrogate(wchar_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(wchar_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The word cut into code points, each as its one or two UTF-16 units; empty when a surrogate
// stands alone.
std::vector<std::wstring_view> CodePoints(std::wstring_view word) {
    std::vector<std::wstring_view> points;
    for (size_t i = 0; i < word.size();) {
        size_t length = 1;
        if (IsHighSurrogate(word[i])) {
            if (i + 1 >= word.size() || !IsLowSurrogate(word[i + 1])) return {};
            length = 2;
        } else if (IsLowSurrogate(word[i])) {
            return {};
        }
        points.push_back(word.substr(i, length));
        i += length;
    }
    return points;
}

void AppendQuoted(std::wstring& query, std::wstring_view piece) {
    if (!query.empty()) query += L' ';
    query += L'"';
    for (wchar_t unit : piece) {
        if (unit == L'"') query += L'"';
        query += unit;
    }
    query += L'"';
}

}  // namespace

std::optional<std::wstring> TrigramQuery(std::wstring_view word) {
    // The statement binds the word as a C string, so it ends at the first NUL there too.
    word = word.substr(0, word.find(L'\0'));
    std::vector<std::wstring_view> points = CodePoints(word);
    if (points.size() < kShortestIndexedWord) return std::nullopt;
    size_t pieceCount = points.size() - kShortestIndexedWord + 1;
    size_t taken = std::min(pieceCount, kMostPieces);
    std::wstring query;
    for (size_t n = 0; n < taken; ++n) {
        // Spread over the word, first and last included.
        size_t start = taken == 1 ? 0 : n * (pieceCount - 1) / (taken - 1);
        const wchar_t* begin = points[start].data();
        const wchar_t* end = points[start + 2].data() + points[start + 2].size();
        AppendQuoted(query, std::wstring_view(begin, static_cast<size_t>(end - begin)));
    }
    return query;
}
