// The trigram index that narrows searches of a large cache: two full-text tables kept in a
// file of their own beside the cache (attached to the cache's connection), so the cache file
// itself never changes shape. It only proposes candidate files; the listing statement still
// decides which of them match.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "db/FolderCatalog.h"

struct sqlite3;
class InertUnits;

constexpr wchar_t kSearchIndexFileName[] = L"cvSearchIndex.db";

class SearchIndex {
public:
    // Which table a changed row belongs to.
    enum Table : int { kFiles = 0, kFolders = 1 };

    SearchIndex(sqlite3* connection, std::wstring cacheFile);
    // Leaves the file marked as in step with the cache, when it is.
    ~SearchIndex();
    SearchIndex(const SearchIndex&) = delete;
    SearchIndex& operator=(const SearchIndex&) = delete;

    // Attaches the file, keeping what it holds only when it was closed in step with the cache
    // as the cache is now; otherwise (missing, damaged, written by another build, or the cache
    // written since without it) it starts again empty. Needs the connection outside any
    // transaction. False when no index can be kept at all: searches then run unaided.
    bool Open();
    bool IsOpen() const { return attached_; }

    // Whether the index covers every file and folder as they are now, bringing rows changed
    // since the last look up to date first when that can be done outside a transaction.
    bool Complete();
    // The ids, ascending, of the files whose texts or folder path may hold the word (already
    // folded) and whose own texts may hold each of fileWords (as the in-memory test compares
    // them; those the index cannot speak for are passed over, see SearchPlainText.h); nothing
    // when the index cannot answer, so the search runs without it.
    std::optional<std::vector<long long>> Candidates(std::wstring_view foldedWord,
                                                     const std::vector<std::wstring>& fileWords = {});

    // One bounded piece of building: a chunk of rows not yet indexed, or rows changed since
    // they were, and once all is indexed, the folders read again if the cache has moved. Only
    // outside a transaction, so that a failure here can never roll back a write of the
    // cache's. True when it did something and more may remain.
    bool BuildStep();

    // The folders as they are now, or null when the copy is behind the cache.
    const FolderCatalog* CurrentFolders() const;

    // What searches have learnt of the system's case-blind comparison in the thread's locale,
    // kept from search to search; learnt afresh when the locale changes.
    InertUnits& Units();

    // Called (through a trigger) for every row written in Files or Folder.
    void Touch(Table table, long long id);

    // How many rows are indexed so far; both reach the tables' highest ids once complete.
    long long IndexedFiles() const { return done_[kFiles]; }
    long long IndexedFolders() const { return done_[kFolders]; }

private:
    bool AttachFile();
    bool Recreate();
    bool ReadState(long long& format, std::optional<long long>& stamp);
    bool InstallTriggers();
    void DropTriggers();
    void Close();
    bool Flush();
    bool IndexRange(Table table, long long after, long long through);
    std::optional<std::vector<long long>> ReadIds(const char* sql, const std::wstring& query);
    bool LoadWide();
    bool NarrowBy(const std::wstring& word, std::vector<long long>& ids);
    bool Exec(const char* sql);
    long long DataVersion();
    void NoticeOtherWriters();
    bool Outside() const;
    void Fail();

    sqlite3* connection_;
    std::wstring cacheFile_;
    std::wstring indexFile_;
    bool attached_ = false;
    bool broken_ = false;       // a read or write failed: start again at the next build step
    bool resetWanted_ = false;  // too many rows changed at once to follow one by one
    int failures_ = 0;
    long long dataVersion_ = -1;  // of the cache, as this connection last saw it
    long long done_[2] = {0, 0};
    std::unordered_set<long long> changed_[2];
    // The ids of the wide files holding units that are not inert, ascending, as the index held
    // them when last read, in the locale they were judged in.
    std::vector<long long> wide_;
    bool wideKnown_ = false;
    unsigned long wideLocale_ = 0;
    std::unique_ptr<InertUnits> units_;
    FolderCatalog folders_;
};

// The cache file's own change stamp (its header's change counter and page count), which every
// write by any program moves; -1 when it cannot be read.
long long CacheFileStamp(const std::wstring& cacheFile);
