// Where the search index may narrow the in-memory test of the later search words. That test
// uses the system's case-blind comparison, which knows far more than letter case: ligatures
// and "ß" compare as two letters, control and format characters are ignored, and which of
// these apply depends on the user's locale. The index folds ASCII case only. The two agree
// just where the word is ASCII letters and digits and the text printable ASCII: there no
// character can stand for another, or for nothing, so a text matches only where it holds the
// word letter for letter, ignoring ASCII case, and so holds each of its trigrams. Units beyond
// ASCII that the comparison is found never to read as letters nor as nothing keep that true
// (see SearchInertUnits.h).
#pragma once

#include <string_view>

// Whether the index can narrow by this word (as it will be compared): long enough for
// trigrams, and ASCII letters and digits only.
bool IsNarrowingWord(std::wstring_view word);

// Whether every unit of text is printable ASCII (space to tilde). A file with any other unit in
// its texts is left out by a narrowing word only when every such unit is inert.
bool IsPlainText(std::wstring_view text);
