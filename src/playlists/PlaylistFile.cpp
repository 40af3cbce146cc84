// Playlist file reading: bytes to text, text to entries, entries to file records.
#include "playlists/PlaylistFile.h"

#include "base/Path.h"
#include "base/Text.h"
#include "base/TextObject.h"
#include "playlists/EntryLookup.h"
#include "playlists/EntryPaths.h"
#include "playlists/Playlist.h"
#include "playlists/PlaylistEncoding.h"
#include "playlists/PlaylistLines.h"

namespace {

// Entries of one folder follow each other in most playlists; they share its path text.
Ref<TextObject> FolderText(std::wstring_view folder, Ref<TextObject>& last) {
    if (folder.empty()) return {};
    if (!last || last->text != folder) last = Ref<TextObject>::Make(std::wstring(folder));
    return last;
}

// The record of one entry: a URL or network path keeps its text and has no length; any other
// path is the resolved one, with its size and time when the file is there. The #EXTINF title is
// kept as the record's title, its length (when known) as the record's length; the record
// counts as not yet tagged.
Ref<FileRecord> EntryRecord(const PlaylistLine& line, const std::wstring& resolved, EntryLookup& files,
                            Ref<TextObject>& lastFolder) {
    auto record = Ref<FileRecord>::Make();
    std::wstring_view path = line.text;
    if (resolved.empty()) {
        record->remote = true;
        record->length = -1;
    } else {
        path = resolved;
        StoredFileInfo info;
        if (files.Find(resolved, info)) {
            record->size = info.size;
            record->changed = info.lastWrite;
        }
        // An #EXTINF length of -1 (or none that reads as a number) is "unknown", kept as such
        // so that a save writes -1 again rather than a length of nothing.
        if (line.seconds >= 0) record->length = line.seconds * 1000;
        else if (line.title) record->length = -1;
    }
    FileRecord::TagViews tags;
    if (line.title) tags[static_cast<int>(TagField::kTitle)] = *line.title;
    size_t slash = path.find_last_of(L'\\');
    size_t nameStart = slash == std::wstring_view::npos ? 0 : slash + 1;
    record->Assign(FolderText(path.substr(0, nameStart), lastFolder), path.substr(nameStart), tags);
    return record;
}

// Only a file plainly not there, in a folder that is, has no entries to lose. A locked file, one
// too large, or one on a drive or share that is away may well have some.
bool PlainlyAbsent(const std::wstring& path, DWORD error, PlaylistStorage& storage) {
    if (error != ERROR_FILE_NOT_FOUND) return false;
    size_t slash = path.find_last_of(L'\\');
    StoredFileInfo folder;
    return slash != std::wstring::npos && storage.FindFile(path.substr(0, slash), folder) &&
           (folder.attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

bool ReadPlaylistFile(Playlist& playlist, PlaylistStorage& storage) {
    // Read again (its root came back after its file had gone): unsaved edits win over the file.
    if ((playlist.flags & Playlist::kWasRead) && playlist.modified) return false;
    std::wstring path = playlist.path;
    std::string bytes;
    if (path.empty()) return false;
    if (!storage.ReadAll(path, bytes)) {
        if (!PlainlyAbsent(path, GetLastError(), storage)) playlist.flags |= Playlist::kUnreadable;
        return false;
    }
    DecodedPlaylist decoded = DecodePlaylistBytes(bytes, EqualsNoCase(ExtensionOf(path), L"m3u8"));
    bytes = std::string();
    std::vector<PlaylistLine> lines = SplitPlaylistText(decoded.text);
    decoded.text = std::wstring();
    // Empty for URLs and network paths, which stay as written.
    std::vector<std::wstring> resolved;
    resolved.reserve(lines.size());
    for (const PlaylistLine& line : lines)
        resolved.push_back(IsRemoteEntry(line.text) ? std::wstring() : ResolveEntryPath(line.text, path));
    EntryLookup files(storage, resolved);
    Playlist::Entries read;
    read.reserve(lines.size());
    Ref<TextObject> lastFolder;
    for (size_t i = 0; i < lines.size(); ++i) read.push_back(EntryRecord(lines[i], resolved[i], files, lastFolder));
    bool firstRead = !(playlist.flags & Playlist::kWasRead);
    playlist.EditEntries([&](Playlist::Entries& entries) {
        if (firstRead) read.insert(read.end(), entries.begin(), entries.end());
        entries.swap(read);
    });
    playlist.SetEncoding(decoded.encoding);
    playlist.flags |= Playlist::kWasRead;
    playlist.flags &= ~Playlist::kUnreadable;
    return true;
}

bool LoadPlaylistIfNeeded(Playlist& playlist, PlaylistStorage& storage) {
    return playlist.LoadOnce([&storage](Playlist& unread) { return ReadPlaylistFile(unread, storage); });
}
