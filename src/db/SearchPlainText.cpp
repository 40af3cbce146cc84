// The texts and words on which the index's ASCII case folding and the in-memory comparison agree.
#include "db/SearchPlainText.h"

#include <algorithm>

#include "db/SearchTrigrams.h"

namespace {

bool IsAsciiLetterOrDigit(wchar_t unit) {
    return (unit >= L'0' && unit <= L'9') || (unit >= L'a' && unit <= L'z') || (unit >= L'A' && unit <= L'Z');
}

}  // namespace

bool IsNarrowingWord(std::wstring_view word) {
    return word.size() >= kShortestIndexedWord && std::all_of(word.begin(), word.end(), IsAsciiLetterOrDigit);
}

bool IsPlainText(std::wstring_view text) {
    return std::all_of(text.begin(), text.end(), [](wchar_t unit) { return unit >= L' ' && unit <= L'~'; });
}
