// The entry list of a playlist file: file records in playlist order, with the flags that say
// how the file was written and whether it still has to be read from disk.
#pragma once

#include <atomic>
#include <string>
#include <utility>
#include <vector>

#include "base/CriticalSection.h"
#include "base/RefCounted.h"
#include "db/FileRecord.h"

struct Playlist : RefCounted {
    // Format flags: how the file was read, and so how it is written back. None of the three
    // encoding bits is set until the file was read or first written.
    static constexpr int kCodePageText = 1;    // 8-bit text in the system's code page
    static constexpr int kUtf8WithMark = 2;    // UTF-8 beginning with the byte-order mark
    static constexpr int kNeedsLoading = 4;
    static constexpr int kUtf8WithoutMark = 8; // UTF-8 without a mark, kept that way on save
    static constexpr int kWasRead = 16;        // its file was read once: a new read replaces
    static constexpr int kUnreadable = 32;     // the last read failed on a file that may hold entries
    static constexpr int kEncodingBits = kCodePageText | kUtf8WithMark | kUtf8WithoutMark;
    using Entries = std::vector<Ref<FileRecord>>;

    std::wstring path;
    // Read and written by the worker (which reads the file) and by the view (which saves it).
    std::atomic<int> flags{0};
    // The order the entries are shown in (a column number, negative ascending); 0 keeps the file's.
    int sortKey = 0;
    // Changed since read or saved: the view offers to save it.
    std::atomic<bool> modified{false};

    // What the tree menu asks to grey or enable "Save playlist".
    bool HasUnsavedChanges() const { return modified; }
    bool NeedsLoading() const { return (flags & kNeedsLoading) != 0; }
    // Its file was there (or could not be told apart from there) but could not be read: a save
    // would write over entries nobody has seen.
    bool Unreadable() const { return (flags & kUnreadable) != 0; }
    // Waits for a read under way, which would otherwise clear the mark as it ends.
    void SetNeedsLoading() {
        Lock lock(loadLock_);
        flags |= kNeedsLoading;
    }
    // Lets go of the entries and any unsaved change, after a read under way: emptied in the
    // middle of one, they would take back half the file.
    void DropEntries() {
        Lock lock(loadLock_);
        SetEntries({});
        modified = false;
    }
    int Encoding() const { return flags & kEncodingBits; }
    void SetEncoding(int encoding) {
        int old = flags.load();
        while (!flags.compare_exchange_weak(old, (old & ~kEncodingBits) | (encoding & kEncodingBits))) {
        }
    }

    // The worker reads the file when it first lists the playlist, and a save of a playlist
    // nobody listed yet must read it too before writing over it; whichever comes first reads,
    // the other waits and finds it done. Answers what load answered, or false when no load ran.
    template <class Load>
    bool LoadOnce(Load load) {
        Lock lock(loadLock_);
        if (!NeedsLoading()) return false;
        flags &= ~kUnreadable;
        bool read = load(*this);
        // Cleared when the file is simply not there, so a missing file is not read again on
        // every search; kept when it could not be read, so that the next use tries again.
        if (!Unreadable()) flags &= ~kNeedsLoading;
        return read;
    }

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
    CriticalSection loadLock_;
    Entries entries_;
};
