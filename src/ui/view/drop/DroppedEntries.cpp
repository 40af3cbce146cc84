// Turning dropped paths into playlist entries and root commands.
#include "ui/view/drop/DroppedEntries.h"

#include <algorithm>

#include "base/Path.h"
#include "base/Text.h"
#include "base/TextObject.h"
#include "bus/CommandCodes.h"
#include "bus/ViewCommands.h"
#include "playlists/PlaylistWrite.h"
#include "settings/PluginContext.h"
#include "StringIds.h"
#include "scan/MediaExtensions.h"
#include "ui/view/ViewCommandCodes.h"

namespace {

// Directory look-ups take a path without the trailing backslash a dragged tree folder has.
std::wstring WithoutTrailingBackslash(std::wstring path) {
    if (path.size() > 3 && path.back() == L'\\') path.pop_back();
    return path;
}

bool IsPlaylistFileName(const std::wstring& path) {
    std::wstring extension = ExtensionOf(path);
    return _wcsicmp(extension.c_str(), L"m3u") == 0 || _wcsicmp(extension.c_str(), L"m3u8") == 0;
}

// The entries one dropped path brings; keepGoing counts on from the files found before it.
Playlist::Entries GatherOne(const std::wstring& dropped, bool lookUpFiles, const ExtensionFilter& filter,
                            PlaylistStorage& storage, const KeepCollecting& keepGoing, size_t foundBefore) {
    Playlist::Entries entries;
    std::wstring path = WithoutTrailingBackslash(dropped);
    if (IsExistingDirectory(path)) {
        KeepCollecting counted;
        if (keepGoing) counted = [&](size_t taken) { return keepGoing(foundBefore + taken); };
        CollectFiles(path, entries, -1, filter, storage, counted);
        return entries;
    }
    auto record = Ref<FileRecord>::Make(std::wstring_view(path));
    StoredFileInfo info;
    if (lookUpFiles && storage.FindFile(path, info)) {
        record->size = info.size;
        record->changed = info.lastWrite;
    }
    entries.push_back(std::move(record));
    return entries;
}

}  // namespace

Playlist::Entries GatherDroppedEntries(const std::vector<std::wstring>& paths, DropPlacement placement,
                                       const ExtensionFilter& filter, PlaylistStorage& storage,
                                       const KeepCollecting& keepGoing) {
    Playlist::Entries gathered;
    for (const std::wstring& path : paths) {
        if (keepGoing && !keepGoing(gathered.size())) break;
        Playlist::Entries more = GatherOne(path, placement.lookUpFiles, filter, storage, keepGoing, gathered.size());
        gathered.insert(placement.ahead ? gathered.begin() : gathered.end(), more.begin(), more.end());
    }
    return gathered;
}

size_t AddDroppedEntries(Playlist& playlist, Playlist::Entries added, const FileRecord* before) {
    added.erase(std::remove_if(added.begin(), added.end(),
                               [&](const Ref<FileRecord>& entry) { return EqualsNoCase(entry->Path(), playlist.path); }),
                added.end());
    if (added.empty()) return 0;
    playlist.EditEntries([&](Playlist::Entries& entries) {
        auto at = std::find_if(entries.begin(), entries.end(),
                               [before](const Ref<FileRecord>& entry) { return before && entry.get() == before; });
        entries.insert(at, added.begin(), added.end());
    });
    playlist.modified = true;
    return added.size();
}

bool RefusedAsReadOnly(const Playlist& playlist) {
    if (!IsReadOnlyFile(playlist.path)) return false;
    LPARAM text = PassText(GetString(kStrMsgPlaylistReadOnly));
    if (!PostToView(kCmdShowMessage, text)) AdoptText(text);
    return true;
}

WPARAM EmptyTreeSpaceCommand(const std::wstring& path, bool isFolder, bool dragFromTree) {
    if (dragFromTree) return 0;
    if (isFolder) return kCmdAddFolderRootPath;
    return IsPlaylistFileName(path) ? WPARAM{kCmdAddPlaylistRootPath} : 0;
}

ExtensionFilter MediaExtensionFilter() {
    Ref<MediaExtensions> extensions = SharedMediaExtensions();
    return [extensions](const std::wstring& extension) { return extensions && extensions->Contains(extension); };
}
