// Recursive collection of a folder's files into a list of entries.
#include "playlists/CollectFiles.h"

#include <vector>

#include "base/Path.h"

int CollectFiles(const std::wstring& folder, Playlist::Entries& entries, int position, const ExtensionFilter& filter,
                 PlaylistStorage& storage) {
    std::vector<StoredFileInfo> found;
    if (!storage.ListFolder(folder, found)) return position;
    std::wstring prefix = WithTrailingBackslash(folder);
    for (const StoredFileInfo& file : found) {
        std::wstring path = prefix + file.name;
        if (file.attributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!(file.attributes & FILE_ATTRIBUTE_REPARSE_POINT))
                position = CollectFiles(path, entries, position, filter, storage);
            continue;
        }
        if (filter && !filter(ExtensionOf(file.name))) continue;
        auto record = Ref<FileRecord>::Make(std::wstring_view(path));
        record->size = file.size;
        record->changed = file.lastWrite;
        if (position < 0 || static_cast<size_t>(position) >= entries.size()) {
            entries.push_back(std::move(record));
            if (position >= 0) position = static_cast<int>(entries.size());
        } else {
            entries.insert(entries.begin() + position, std::move(record));
            ++position;
        }
    }
    return position;
}
