// Whether memory a plugin hands the host may be read: the player reads the records it is given
// without asking, so a field holding something else than the address of a text crashes it.
#pragma once

#include <cstddef>

// True when the address is readable up to and including a terminating NUL within limit units.
bool IsReadableWideText(const wchar_t* text, size_t limit = 32768);
