// The entry list of a playlist file: file records in playlist order, with the flags that say
// whether it still has to be read from disk.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "base/CriticalSection.h"
#include "base/RefCounted.h"
#include "db/FileRecord.h"

struct Playlist : RefCounted {
    static constexpr int kNeedsLoading = 4;
    using Entries = std::vector<Ref<FileRecord>>;

    std::wstring path;
    int flags = 0;
    // The order the entries are shown in (a column number, negative ascending); 0 keeps the file's.
    int sortKey = 0;
    // Changed since read or saved: the view offers to save it.
    bool modified = false;

    bool NeedsLoading() const { return (flags & kNeedsLoading) != 0; }
    void SetNeedsLoading() { flags |= kNeedsLoading; }

    // The worker lists (and first reads) the entries while the view edits them, so they are
    // reached only through these, each holding the playlist's lock just long enough to copy or
    // change the vector. Nothing that sends, waits or calls the database runs under it.
    Entries CopyEntries() const {
        Lock lock(entriesLock_);
        return entries_;
    }
    size_t EntryCount() const {
        Lock lock(entriesLock_);
        return entries_.size();
    }
    void SetEntries(Entries entries) {
        Entries old;
        {
            Lock lock(entriesLock_);
            old = std::exchange(entries_, std::move(entries));
        }
        // The old records are released outside the lock.
    }
    void Append(const Entries& more) {
        Lock lock(entriesLock_);
        entries_.insert(entries_.end(), more.begin(), more.end());
    }
    // Runs change on the entries under the lock; change must only work on the vector.
    template <class Change>
    auto EditEntries(Change change) {
        Lock lock(entriesLock_);
        return change(entries_);
    }

private:
    mutable CriticalSection entriesLock_;
    Entries entries_;
};
