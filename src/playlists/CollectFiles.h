// Gathering the files below a folder as playlist entries, for a folder dropped onto a playlist
// or onto the list.
#pragma once

#include <functional>
#include <string>

#include "playlists/Playlist.h"
#include "playlists/PlaylistStorage.h"

// Answers whether a file with this extension (without the dot) is taken.
using ExtensionFilter = std::function<bool(const std::wstring& extension)>;
// Asked before each folder is listed and after each file is taken, with the number of files
// taken so far by this walk; false stops the walk where it is. A dropped drive root may take
// minutes, and the user must be able to stop it.
using KeepCollecting = std::function<bool(size_t taken)>;

// Adds every file below folder, sub-folders included, whose extension passes the filter (an
// empty filter takes every file), as a record with its full path, size and time. The records
// go in at position, which moves on past each one, or are appended when position is -1.
// Linked folders (junctions, symbolic links) are not entered: they may lead back up the tree.
// Answers the position after the last record added (-1 when appending).
int CollectFiles(const std::wstring& folder, Playlist::Entries& entries, int position, const ExtensionFilter& filter,
                 PlaylistStorage& storage = RealPlaylistStorage(), const KeepCollecting& keepGoing = {});
