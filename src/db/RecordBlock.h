// The records of a listing, made one after another in large blocks, each record followed by
// its texts: a million heap objects would cost a heap header each and most of a listing's time.
#pragma once

#include <windows.h>

#include <string_view>

#include "base/RefCounted.h"
#include "db/FileRecord.h"

// Freed, with every record in it, when the last reference to any of its records goes, so a
// record kept after its listing keeps only its own block alive.
class RecordBlock {
public:
    RecordBlock(const RecordBlock&) = delete;
    RecordBlock& operator=(const RecordBlock&) = delete;

    void AddRef() { InterlockedIncrement(&count_); }
    long Release();

private:
    friend class RecordMaker;
    static constexpr size_t kBytes = 256 * 1024;

    RecordBlock() = default;
    ~RecordBlock() = default;
    static RecordBlock* New();
    // Room for a record followed by this many text units, or null when the block is full.
    void* Place(size_t units);
    char* Start() { return reinterpret_cast<char*>(this + 1); }

    volatile LONG count_ = 1;
    size_t used_ = 0;  // bytes of records and texts after the header
};

// Makes the records of one listing; a record that no longer fits its block starts a new one.
class RecordMaker {
public:
    RecordMaker() = default;
    RecordMaker(const RecordMaker&) = delete;
    RecordMaker& operator=(const RecordMaker&) = delete;
    ~RecordMaker();

    // A record with its folder, name and tags; the caller fills in the numbers.
    Ref<FileRecord> Make(Ref<TextObject> folder, std::wstring_view fileName, const FileRecord::TagViews& tags);

private:
    // The mask of tags the same as the last record's (worth sharing: two units or more).
    unsigned SharedWithLast(const FileRecord::TagViews& tags) const;

    RecordBlock* block_ = nullptr;
    // The texts of the last record's tags in this block (their length units), none when absent.
    const wchar_t* lastTags_[kTagFieldCount] = {};
};
