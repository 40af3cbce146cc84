// Entry lookups by folder listing.
#include "playlists/EntryLookup.h"

#include "base/Text.h"

namespace {

// Listing a folder costs about as much as a few single lookups, and a large folder more: only
// folders this many entries share are listed.
constexpr size_t kListedFolderEntries = 16;

size_t NameStart(const std::wstring& path) {
    size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? 0 : slash + 1;
}

}  // namespace

EntryLookup::EntryLookup(PlaylistStorage& storage, const std::vector<std::wstring>& paths) : storage_(storage) {
    for (const std::wstring& path : paths)
        if (!path.empty()) ++entriesPerFolder_[ToLower(std::wstring_view(path).substr(0, NameStart(path)))];
}

const EntryLookup::Names* EntryLookup::Listing(const std::wstring& folderKey, const std::wstring& folder) {
    auto known = listings_.find(folderKey);
    if (known != listings_.end()) return known->second.get();
    std::unique_ptr<Names> names;
    std::vector<StoredFileInfo> entries;
    if (storage_.ListFolder(folder, entries)) {
        names = std::make_unique<Names>();
        for (StoredFileInfo& entry : entries) names->emplace(ToLower(entry.name), std::move(entry));
    } else if (DWORD error = GetLastError(); error == ERROR_PATH_NOT_FOUND || error == ERROR_FILE_NOT_FOUND) {
        names = std::make_unique<Names>();  // no folder, no files
    }
    return listings_.emplace(folderKey, std::move(names)).first->second.get();
}

bool EntryLookup::Find(const std::wstring& path, StoredFileInfo& info) {
    size_t nameStart = NameStart(path);
    std::wstring folderKey = ToLower(std::wstring_view(path).substr(0, nameStart));
    auto count = entriesPerFolder_.find(folderKey);
    const Names* names = nullptr;
    if (nameStart > 0 && count != entriesPerFolder_.end() && count->second >= kListedFolderEntries)
        names = Listing(folderKey, path.substr(0, nameStart));
    if (!names) return storage_.FindFile(path, info) && !(info.attributes & FILE_ATTRIBUTE_DIRECTORY);
    auto found = names->find(ToLower(std::wstring_view(path).substr(nameStart)));
    if (found == names->end() || (found->second.attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    info = found->second;
    return true;
}
