// Shared helpers of the playlist tests.
#include "playlists/PlaylistTestSupport.h"

#include <windows.h>

#include "playlists/PlaylistFile.h"
#include "support/BuildFiles.h"

// Beside the repository, which ctest names.
std::wstring SharedPlaylistsFolder() { return SharedFile(L"playlists"); }

std::vector<std::wstring> SharedPlaylistNames() {
    std::vector<std::wstring> names;
    std::vector<StoredFileInfo> found;
    RealPlaylistStorage().ListFolder(SharedPlaylistsFolder(), found);
    for (const StoredFileInfo& file : found) {
        std::wstring name = file.name;
        size_t dot = name.rfind(L'.');
        std::wstring extension = dot == std::wstring::npos ? L"" : name.substr(dot);
        if (extension == L".m3u" || extension == L".m3u8") names.push_back(name);
    }
    return names;
}

std::wstring CopySharedPlaylist(const std::wstring& name, const TempFolder& into) {
    std::wstring copy = into.File(name);
    CopyFileW((SharedPlaylistsFolder() + L"\\" + name).c_str(), copy.c_str(), FALSE);
    SetFileAttributesW(copy.c_str(), FILE_ATTRIBUTE_NORMAL);
    return copy;
}

Ref<Playlist> ReadPlaylist(const std::wstring& path, PlaylistStorage& storage) {
    auto playlist = Ref<Playlist>::Make();
    playlist->path = path;
    ReadPlaylistFile(*playlist, storage);
    return playlist;
}

std::vector<std::wstring> PathsOf(const Playlist& playlist) {
    std::vector<std::wstring> paths;
    for (const Ref<FileRecord>& entry : playlist.CopyEntries()) paths.push_back(entry->Path());
    return paths;
}

std::vector<std::optional<std::wstring>> TitlesOf(const Playlist& playlist) {
    std::vector<std::optional<std::wstring>> titles;
    for (const Ref<FileRecord>& entry : playlist.CopyEntries()) {
        std::optional<std::wstring_view> title = entry->Tag(TagField::kTitle);
        titles.push_back(title ? std::optional<std::wstring>(std::wstring(*title)) : std::nullopt);
    }
    return titles;
}

bool FailingStorage::WriteNew(const std::wstring& path, std::string_view bytes) {
    ++writes;
    if (!failWrite) return PlaylistStorage::WriteNew(path, bytes);
    PlaylistStorage::WriteNew(path, bytes.substr(0, bytes.size() / 2));
    SetLastError(ERROR_DISK_FULL);
    return false;
}

bool FailingStorage::Replace(const std::wstring& newPath, const std::wstring& target) {
    if (!failReplace) return PlaylistStorage::Replace(newPath, target);
    SetLastError(ERROR_SHARING_VIOLATION);
    return false;
}
