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

// The entries one dropped path brings, gathered before the playlist is locked.
Playlist::Entries EntriesOf(const std::wstring& dropped, bool lookUpFiles, const ExtensionFilter& filter,
                            PlaylistStorage& storage) {
    Playlist::Entries entries;
    std::wstring path = WithoutTrailingBackslash(dropped);
    if (IsExistingDirectory(path)) {
        CollectFiles(path, entries, -1, filter, storage);
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

// A playlist never lists itself: dropped on its own node, or inside a dropped folder, its own
// file is left out, or playing it would play it again without end.
size_t AddEntries(Playlist& playlist, Playlist::Entries added, const FileRecord* before) {
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

}  // namespace

size_t InsertDroppedPaths(Playlist& playlist, const std::vector<std::wstring>& paths, const FileRecord* before,
                          const ExtensionFilter& filter, PlaylistStorage& storage) {
    Playlist::Entries added;
    for (const std::wstring& path : paths) {
        Playlist::Entries more = EntriesOf(path, true, filter, storage);
        // Each path goes in at the same place, ahead of those dropped before it.
        added.insert(before ? added.begin() : added.end(), more.begin(), more.end());
    }
    return AddEntries(playlist, std::move(added), before);
}

size_t AppendDroppedPaths(Playlist& playlist, const std::vector<std::wstring>& paths, const ExtensionFilter& filter,
                          PlaylistStorage& storage) {
    Playlist::Entries added;
    for (const std::wstring& path : paths) {
        Playlist::Entries more = EntriesOf(path, false, filter, storage);
        added.insert(added.end(), more.begin(), more.end());
    }
    return AddEntries(playlist, std::move(added), nullptr);
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
