// The entry list of a playlist file: file records in playlist order, with the flags that say
// whether it still has to be read from disk.
#pragma once

#include <string>
#include <vector>

#include "base/RefCounted.h"
#include "db/FileRecord.h"

struct Playlist : RefCounted {
    static constexpr int kNeedsLoading = 4;

    std::wstring path;
    int flags = 0;
    std::vector<Ref<FileRecord>> entries;

    bool NeedsLoading() const { return (flags & kNeedsLoading) != 0; }
    void SetNeedsLoading() { flags |= kNeedsLoading; }
};
