// A reference-counted text, for text arguments that travel with messages between threads.
#pragma once

#include <string>

#include "base/RefCounted.h"

struct TextObject : RefCounted {
    explicit TextObject(std::wstring value) : text(std::move(value)) {}
    std::wstring text;
};

// Hands one reference over with a message; the receiver adopts it.
inline LPARAM PassText(std::wstring text) { return reinterpret_cast<LPARAM>(new TextObject(std::move(text))); }
inline Ref<TextObject> AdoptText(LPARAM lp) { return Ref<TextObject>::Adopt(reinterpret_cast<TextObject*>(lp)); }
