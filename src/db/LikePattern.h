// Folder paths turned into LIKE patterns that match only themselves. LIKE reads "_" and "%" in
// a folder name as wildcards, so "D:\a_b\" as a prefix would also take in the sibling
// "D:\axb\": listing, marking and deleting one folder's subtree would reach into the other's.
#pragma once

#include <string>
#include <string_view>

// The escape character every statement names with ESCAPE '!'. Escaped itself, so a path holding
// it still matches only itself.
constexpr wchar_t kLikeEscape = L'!';

// Whether LIKE would read any character of the text as a wildcard.
bool HasLikeWildcard(std::wstring_view text);
// The text with "_", "%" and the escape character escaped, for "LIKE ... ESCAPE '!'".
std::wstring EscapeLike(std::wstring_view text);
