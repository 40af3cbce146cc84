// The stand-in host's playlist model.
#include "PlaylistModel.h"

#include <algorithm>

void PlaylistModel::Clear() {
    entries_.clear();
    position_ = 0;
}

void PlaylistModel::Append(PlaylistEntry entry) { entries_.push_back(std::move(entry)); }

int PlaylistModel::Insert(int index, PlaylistEntry entry) {
    index = std::clamp(index, 0, Length());
    entries_.insert(entries_.begin() + index, std::move(entry));
    if (index <= position_ && Length() > 1) ++position_;
    return index;
}

const PlaylistEntry* PlaylistModel::At(int index) const {
    if (index < 0 || index >= Length()) return nullptr;
    return &entries_[index];
}

void PlaylistModel::SetPosition(int index) {
    position_ = entries_.empty() ? 0 : std::clamp(index, 0, Length() - 1);
}
