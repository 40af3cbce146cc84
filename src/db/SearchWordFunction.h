// SearchWordIn(pattern, text...): whether any text is LIKE the pattern with ESCAPE '!', as the
// OR of those LIKE tests would answer, for the index-narrowed search statement. A search word
// of plain ASCII is looked for in the stored UTF-16 texts in place; LIKE would first copy each
// text into UTF-8, which cost that statement half its time.
#pragma once

#include <string_view>

struct sqlite3;

// Offers SearchWordIn to statements of the connection.
void RegisterSearchWordFunction(sqlite3* connection);

// Whether the text holds the ASCII word, comparing ASCII letters without case and every other
// unit exactly, up to the text's first NUL: LIKE "%word%" on a text of no surrogate units.
bool HoldsAsciiLikeWord(std::wstring_view text, std::string_view word);
