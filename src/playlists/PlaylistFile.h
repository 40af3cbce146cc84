// Reading a playlist file into its entry list, the step a playlist's first listing takes when
// the list was only marked for loading.
#pragma once

struct Playlist;

// Replaces the entries with the records read from playlist.path; answers whether the file was
// read. On failure the entries stay as they were.
bool ReadPlaylistFile(Playlist& playlist);
