// Escaping of LIKE's wildcards in folder paths.
#include "db/LikePattern.h"

bool HasLikeWildcard(std::wstring_view text) { return text.find_first_of(L"_%") != std::wstring_view::npos; }

std::wstring EscapeLike(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        if (c == kLikeEscape || c == L'_' || c == L'%') out += kLikeEscape;
        out += c;
    }
    return out;
}
