// Recursive collection of a folder's files into a list of entries.
#include "playlists/CollectFiles.h"

#include <vector>

#include "base/Path.h"

namespace {

struct FolderWalk {
    Playlist::Entries& entries;
    const ExtensionFilter& filter;
    PlaylistStorage& storage;
    const KeepCollecting& keepGoing;
    size_t taken = 0;
    bool stopped = false;

    bool GoOn() {
        if (!stopped && keepGoing && !keepGoing(taken)) stopped = true;
        return !stopped;
    }
    int Add(Ref<FileRecord> record, int position) {
        ++taken;
        if (position < 0 || static_cast<size_t>(position) >= entries.size()) {
            entries.push_back(std::move(record));
            return position >= 0 ? static_cast<int>(entries.size()) : position;
        }
        entries.insert(entries.begin() + position, std::move(record));
        return position + 1;
    }
    int Walk(const std::wstring& folder, int position) {
        std::vector<StoredFileInfo> found;
        if (!GoOn() || !storage.ListFolder(folder, found)) return position;
        std::wstring prefix = WithTrailingBackslash(folder);
        for (const StoredFileInfo& file : found) {
            if (stopped) break;
            std::wstring path = prefix + file.name;
            if (file.attributes & FILE_ATTRIBUTE_DIRECTORY) {
                if (!(file.attributes & FILE_ATTRIBUTE_REPARSE_POINT)) position = Walk(path, position);
                continue;
            }
            if (filter && !filter(ExtensionOf(file.name))) continue;
            auto record = Ref<FileRecord>::Make(std::wstring_view(path));
            record->size = file.size;
            record->changed = file.lastWrite;
            position = Add(std::move(record), position);
            GoOn();
        }
        return position;
    }
};

}  // namespace

int CollectFiles(const std::wstring& folder, Playlist::Entries& entries, int position, const ExtensionFilter& filter,
                 PlaylistStorage& storage, const KeepCollecting& keepGoing) {
    FolderWalk walk{entries, filter, storage, keepGoing};
    return walk.Walk(folder, position);
}
