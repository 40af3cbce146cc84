// SearchWordIn(pattern, text...): whether any text is LIKE the pattern with ESCAPE '!', as the
// OR of those LIKE tests would answer, for the index-narrowed search statement. A search word
// of plain ASCII is looked for in the stored UTF-16 texts in place; LIKE would first copy each
// text into UTF-8, which cost that statement half its time.
#pragma once

#include <optional>
#include <string>
#include <string_view>

struct sqlite3;

// Offers SearchWordIn to statements of the connection.
void RegisterSearchWordFunction(sqlite3* connection);

// Whether the text holds the word (ASCII in lower case, no NUL) as LIKE "%word%" finds it in
// the text as SQLite reads it: ASCII letters compared without case, every other character
// exactly, up to the first NUL.
bool HoldsAsciiLikeWord(std::wstring_view text, std::string_view word);

// The search word as HoldsAsciiLikeWord takes it: in lower case, when it is ASCII without NUL
// and not empty.
std::optional<std::string> AsciiLikeWord(std::wstring_view word);
