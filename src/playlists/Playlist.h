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
    // The order the entries are shown in (a column number, negative ascending); 0 keeps the file's.
    int sortKey = 0;
    // Changed since read or saved: the view offers to save it.
    bool modified = false;
    std::vector<Ref<FileRecord>> entries;

    bool NeedsLoading() const { return (flags & kNeedsLoading) != 0; }
    void SetNeedsLoading() { flags |= kNeedsLoading; }
};
