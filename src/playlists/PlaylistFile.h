// Reading a playlist file into its entry list, the step a playlist's first listing (or a save
// of a playlist never listed) takes when the list was only marked for loading.
#pragma once

#include "playlists/PlaylistStorage.h"

struct Playlist;

// Reads the file at playlist.path and records its encoding. At the first read the file's
// entries come first, followed by any the playlist was given before (a host entry sent to a
// playlist not yet shown); a later read replaces the entries, unless they have unsaved
// changes, which are kept and the file is not read. Answers whether the file was read; when
// it was not, nothing changes.
bool ReadPlaylistFile(Playlist& playlist, PlaylistStorage& storage = RealPlaylistStorage());

// Reads the file when the playlist is marked for loading, and clears the mark; answers
// whether it read the file.
bool LoadPlaylistIfNeeded(Playlist& playlist, PlaylistStorage& storage = RealPlaylistStorage());
