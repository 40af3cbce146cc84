// Folds accented and compatibility characters to their plain forms (é to e, Æ to AE, ½ to
// 1⁄2) so searches can match names however their accents were typed.
#pragma once

#include <string>
#include <string_view>

// The folded copy of text. Each UTF-16 unit is folded on its own: nothing is removed, letter
// case is kept, and the result may be longer than the input.
std::wstring StripAccentText(std::wstring_view text);

// Folds text into out and returns true when anything was replaced. When it returns false out
// is left untouched and text is already folded, so a caller can hand back the original text
// without copying it. No state is shared between calls, so any number of threads may fold at
// once; reusing out across calls saves the allocation.
bool StripAccentInto(std::wstring_view text, std::wstring& out);
