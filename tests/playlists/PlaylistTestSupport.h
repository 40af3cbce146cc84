// What the playlist tests share: the real playlists of other programs (copied at test time),
// reading a file into a fresh playlist, the entries' paths and titles, and a storage whose
// writes can be made to fail.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "playlists/Playlist.h"
#include "playlists/PlaylistStorage.h"
#include "support/TempFolder.h"

// The folder of playlists collected from other projects, beside the repository.
std::wstring SharedPlaylistsFolder();
// The names of its playlist files.
std::vector<std::wstring> SharedPlaylistNames();
// Copies one of them into the folder; answers the copy's path.
std::wstring CopySharedPlaylist(const std::wstring& name, const TempFolder& into);

// A new playlist for the path, read from its file.
Ref<Playlist> ReadPlaylist(const std::wstring& path, PlaylistStorage& storage = RealPlaylistStorage());
std::vector<std::wstring> PathsOf(const Playlist& playlist);
std::vector<std::optional<std::wstring>> TitlesOf(const Playlist& playlist);

// A storage that fails the write of the new file after half of it (a full disk), or the step
// that puts it in place, as told.
class FailingStorage : public PlaylistStorage {
public:
    bool failWrite = false;
    bool failReplace = false;
    int writes = 0;

    bool WriteNew(const std::wstring& path, std::string_view bytes) override;
    bool Replace(const std::wstring& newPath, const std::wstring& target) override;
};
