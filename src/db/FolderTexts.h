// The folder path texts the records of one listing share: each path is kept once, however its
// files come, so a million records hold some fifty thousand paths rather than a million.
#pragma once

#include <string_view>
#include <vector>

#include "base/RefCounted.h"
#include "base/TextObject.h"

class FolderTexts {
public:
    // The one text of this path, made the first time it is asked for; valid until the next call.
    const Ref<TextObject>& Shared(std::wstring_view path);

private:
    // An open-addressing table with each path's hash beside its text: a new folder costs one
    // look at the table, where a map's nodes cost several trips to memory and an allocation.
    struct Slot {
        size_t hash = 0;
        TextObject* text = nullptr;  // null: empty
    };
    void Grow();
    Slot& SlotFor(size_t hash, std::wstring_view path);

    Ref<TextObject> last_;  // rows of one folder mostly come one after another
    std::vector<Slot> slots_;
    std::vector<Ref<TextObject>> texts_;  // keeps every text of the table alive
};
