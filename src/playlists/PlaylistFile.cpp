// Playlist file reading: bytes to text, text to entries, entries to file records.
#include "playlists/PlaylistFile.h"

#include "base/Path.h"
#include "base/Text.h"
#include "base/TextObject.h"
#include "playlists/EntryPaths.h"
#include "playlists/Playlist.h"
#include "playlists/PlaylistEncoding.h"

namespace {

// Entries of one folder follow each other in most playlists; they share its path text.
Ref<TextObject> FolderText(std::wstring_view folder, Ref<TextObject>& last) {
    if (folder.empty()) return {};
    if (!last || last->text != folder) last = Ref<TextObject>::Make(std::wstring(folder));
    return last;
}

}  // namespace

Ref<FileRecord> EntryRecord(const PlaylistLine& line, const std::wstring& playlistPath, PlaylistStorage& storage,
                            Ref<TextObject>& lastFolder) {
    auto record = Ref<FileRecord>::Make();
    std::wstring path = line.text;
    if (IsRemoteEntry(path)) {
        record->remote = true;
        record->length = -1;
    } else {
        path = ResolveEntryPath(path, playlistPath);
        StoredFileInfo info;
        if (storage.FindFile(path, info) && !(info.attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            record->size = info.size;
            record->changed = info.lastWrite;
        }
        if (line.seconds >= 0) record->length = line.seconds * 1000;
    }
    FileRecord::TagViews tags;
    if (line.title) tags[static_cast<int>(TagField::kTitle)] = *line.title;
    size_t slash = path.find_last_of(L'\\');
    size_t nameStart = slash == std::wstring::npos ? 0 : slash + 1;
    record->Assign(FolderText(std::wstring_view(path).substr(0, nameStart), lastFolder),
                   std::wstring_view(path).substr(nameStart), tags);
    return record;
}

bool ReadPlaylistFile(Playlist& playlist, PlaylistStorage& storage) {
    // Read again (its root came back after its file had gone): unsaved edits win over the file.
    if ((playlist.flags & Playlist::kWasRead) && playlist.modified) return false;
    std::wstring path = playlist.path;
    std::string bytes;
    if (path.empty() || !storage.ReadAll(path, bytes)) return false;
    DecodedPlaylist decoded = DecodePlaylistBytes(bytes, EqualsNoCase(ExtensionOf(path), L"m3u8"));
    bytes = std::string();
    std::vector<PlaylistLine> lines = SplitPlaylistText(decoded.text);
    decoded.text = std::wstring();
    Playlist::Entries read;
    read.reserve(lines.size());
    Ref<TextObject> lastFolder;
    for (const PlaylistLine& line : lines) read.push_back(EntryRecord(line, path, storage, lastFolder));
    bool firstRead = !(playlist.flags & Playlist::kWasRead);
    playlist.EditEntries([&](Playlist::Entries& entries) {
        if (firstRead) read.insert(read.end(), entries.begin(), entries.end());
        entries.swap(read);
    });
    playlist.SetEncoding(decoded.encoding);
    playlist.flags |= Playlist::kWasRead;
    return true;
}

bool LoadPlaylistIfNeeded(Playlist& playlist, PlaylistStorage& storage) {
    return playlist.LoadOnce([&storage](Playlist& unread) { return ReadPlaylistFile(unread, storage); });
}
