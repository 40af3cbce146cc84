// Folder texts found by path through a table of hashes, with the last one asked for first.
#include "db/FolderTexts.h"

#include <functional>
#include <string>

const Ref<TextObject>& FolderTexts::Shared(std::wstring_view path) {
    if (last_ && last_->text == path) return last_;
    // At most half full, so a search ends soon at an empty slot.
    if ((texts_.size() + 1) * 2 > slots_.size()) Grow();
    size_t hash = std::hash<std::wstring_view>()(path);
    Slot& slot = SlotFor(hash, path);
    if (!slot.text) {
        texts_.push_back(Ref<TextObject>::Make(std::wstring(path)));
        slot = {hash, texts_.back().get()};
    }
    last_ = slot.text;
    return last_;
}

FolderTexts::Slot& FolderTexts::SlotFor(size_t hash, std::wstring_view path) {
    const size_t mask = slots_.size() - 1;
    for (size_t at = hash & mask;; at = (at + 1) & mask) {
        Slot& slot = slots_[at];
        if (!slot.text || (slot.hash == hash && slot.text->text == path)) return slot;
    }
}

void FolderTexts::Grow() {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(old.empty() ? 64 : old.size() * 2, Slot());
    const size_t mask = slots_.size() - 1;
    for (const Slot& slot : old) {
        if (!slot.text) continue;
        size_t at = slot.hash & mask;
        while (slots_[at].text) at = (at + 1) & mask;
        slots_[at] = slot;
    }
}
