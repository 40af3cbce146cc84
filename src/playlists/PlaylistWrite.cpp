// Playlist file writing.
#include "playlists/PlaylistWrite.h"

#include "base/Text.h"
#include "playlists/EntryPaths.h"
#include "playlists/PlaylistEncoding.h"
#include "playlists/PlaylistFile.h"

namespace {

const wchar_t kNewFileSuffix[] = L".saving";

// A title is one line of the file: a line break inside it would turn its rest into an entry.
std::wstring OneLine(std::wstring text) {
    for (wchar_t& c : text)
        if (c == L'\r' || c == L'\n') c = L' ';
    return text;
}

// An unknown length is written as -1, as other players write it.
int WholeSeconds(int milliseconds) { return milliseconds < 0 ? -1 : milliseconds / 1000; }

std::optional<std::wstring> InfoTitle(const FileRecord& entry,
                                      const std::function<std::wstring(const FileRecord&)>& formatTitle) {
    if (entry.tagged && formatTitle) return formatTitle(entry);
    std::optional<std::wstring_view> stored = entry.Tag(TagField::kTitle);
    if (entry.tagged) return std::wstring(stored.value_or(std::wstring_view()));
    // An entry not read yet keeps the title its file gave it, so a save loses no title.
    if (stored) return std::wstring(*stored);
    return std::nullopt;
}

}  // namespace

bool IsReadOnlyFile(const std::wstring& path, PlaylistStorage& storage) {
    StoredFileInfo info;
    return storage.FindFile(path, info) && (info.attributes & FILE_ATTRIBUTE_READONLY);
}

// A path the code page could only approximate would be saved as another file's or none: such
// a file is written as UTF-8 with its mark, which current players read, and one whose every
// line the code page holds stays code page text, byte for byte as before.
std::string PlaylistFileBytes(const Playlist::Entries& entries, const std::wstring& playlistPath, int& encoding,
                              const std::function<std::wstring(const FileRecord&)>& formatTitle) {
    std::wstring text;
    auto line = [&text](const std::wstring& content) {
        text += content;
        text += L"\r\n";
    };
    line(L"#EXTM3U");
    for (const Ref<FileRecord>& entry : entries) {
        if (!entry) continue;
        if (std::optional<std::wstring> title = InfoTitle(*entry, formatTitle))
            line(L"#EXTINF:" + std::to_wstring(WholeSeconds(entry->length)) + L"," + OneLine(std::move(*title)));
        std::wstring path = entry->Path();
        line(entry->remote ? path : RelativeEntryPath(path, playlistPath));
    }
    if (encoding == Playlist::kCodePageText && !CodePageHolds(text)) encoding = Playlist::kUtf8WithMark;
    std::string bytes;
    if (encoding == Playlist::kUtf8WithMark) bytes.assign(kUtf8Mark, sizeof kUtf8Mark);
    return bytes + EncodePlaylistText(text, encoding);
}

bool WritePlaylistFile(Playlist& playlist, const std::wstring& path, const PlaylistWriteOptions& options,
                       PlaylistStorage& storage) {
    if (!playlist.modified || path.empty()) return false;
    // Replacing a file goes around its read-only attribute on some systems; the user set it.
    if (IsReadOnlyFile(path, storage)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    if (options.confirm && !options.confirm()) return false;
    LoadPlaylistIfNeeded(playlist, storage);
    // Writing now would put what was added over entries that were never read.
    if (playlist.Unreadable()) {
        SetLastError(ERROR_READ_FAULT);
        return false;
    }
    int encoding = playlist.Encoding();
    if (encoding == 0) encoding = EncodingForNewFile(path);

    Playlist::Entries entries = playlist.CopyEntries();
    if (playlist.sortKey != 0 && options.sortEntries) {
        Playlist::Entries unsorted = entries;
        options.sortEntries(entries, playlist.sortKey);
        // The playlist takes the order written, unless it changed meanwhile.
        playlist.EditEntries([&](Playlist::Entries& now) {
            if (now == unsorted) now = entries;
        });
    }
    std::string bytes = PlaylistFileBytes(entries, path, encoding, options.formatTitle);

    std::wstring newPath = path + kNewFileSuffix;
    if (!storage.WriteNew(newPath, bytes) || !storage.Replace(newPath, path)) {
        DWORD error = GetLastError();
        storage.Remove(newPath);
        SetLastError(error);
        return false;
    }
    playlist.SetEncoding(encoding);
    // The file now holds these entries: a later read replaces them rather than adding to them.
    playlist.flags |= Playlist::kWasRead;
    playlist.modified = false;
    return true;
}
