// Finding the size and time of many playlist entries at once: a folder that many entries share
// is listed once, instead of one file-system request per entry.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "playlists/PlaylistStorage.h"

class EntryLookup {
public:
    // paths are the absolute paths that will be asked for (empty ones are skipped).
    EntryLookup(PlaylistStorage& storage, const std::vector<std::wstring>& paths);

    // The directory's entry for a file that is there (not a folder); false when there is none.
    bool Find(const std::wstring& path, StoredFileInfo& info);

private:
    using Names = std::unordered_map<std::wstring, StoredFileInfo>;
    // A folder's files by lower-cased name, or null when it could not be listed for another
    // reason than not being there (its files are then looked up one by one).
    const Names* Listing(const std::wstring& folderKey, const std::wstring& folder);

    PlaylistStorage& storage_;
    std::unordered_map<std::wstring, size_t> entriesPerFolder_;
    std::unordered_map<std::wstring, std::unique_ptr<Names>> listings_;
};
