// What drops do to a playlist and to the roots: dropped folders bring the media files below
// them, dropped files come one each, and a drop on the tree's empty space may add a root.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "playlists/CollectFiles.h"
#include "playlists/Playlist.h"
#include "playlists/PlaylistStorage.h"

// Neither adds the playlist's own file, which it would then play without end.
// A drop on the list: each path in order goes in before the entry `before` (so several
// dropped on one entry end up there in reverse order), or all are appended in order when
// `before` is null or no longer in the playlist. A folder brings every file below it that the
// filter takes, in the order they are listed; a file comes as one entry with its size and
// time when it is found. Answers how many entries were added; any marks the playlist modified.
size_t InsertDroppedPaths(Playlist& playlist, const std::vector<std::wstring>& paths, const FileRecord* before,
                          const ExtensionFilter& filter, PlaylistStorage& storage = RealPlaylistStorage());

// A drop on a playlist's tree item: folders and files as above, all appended in order; a
// file's entry holds its path alone. Answers how many entries were added.
size_t AppendDroppedPaths(Playlist& playlist, const std::vector<std::wstring>& paths, const ExtensionFilter& filter,
                          PlaylistStorage& storage = RealPlaylistStorage());

// A read-only playlist could never keep what is dropped on it: answers true, after telling the
// user so, before anything is added.
bool RefusedAsReadOnly(const Playlist& playlist);

// A path dropped on the tree's empty space: the view command that adds it as a root (a folder,
// or a playlist file by its extension), or 0 for nothing. Nothing comes of a drag that began
// in the tree itself: its folders are roots or lie within them already.
WPARAM EmptyTreeSpaceCommand(const std::wstring& path, bool isFolder, bool dragFromTree);

// The filter of the media extensions the plugin collects.
ExtensionFilter MediaExtensionFilter();
