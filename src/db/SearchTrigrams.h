// The full-text query that finds, in a trigram index, every row holding a search word: the
// word's three-character pieces, each quoted on its own, all required.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The fewest characters (code points) a word needs before a trigram index can narrow a search.
constexpr size_t kShortestIndexedWord = 3;

// The query for a word as it will be compared (already folded when accents are), or nothing
// when the index cannot serve it: fewer than three characters, or a lone surrogate, which the
// database's own conversion would merge with its neighbour. Every row holding the word holds
// each of its pieces, so the rows found always include the rows that match; they may include
// more, which the exact conditions then leave out.
std::optional<std::wstring> TrigramQuery(std::wstring_view word);
