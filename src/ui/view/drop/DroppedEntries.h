// What drops do to a playlist and to the roots: dropped folders bring the media files below
// them, dropped files come one each, and a drop on the tree's empty space may add a root.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "playlists/CollectFiles.h"
#include "playlists/Playlist.h"
#include "playlists/PlaylistStorage.h"

// How a drop places what it brings.
struct DropPlacement {
    // A drop on an entry of the list: each path goes in ahead of those dropped before it, so
    // that several dropped on one entry end up there in reverse order. Otherwise all in order.
    bool ahead = false;
    // A dropped file's entry gets its size and time when the file is found, for the list's
    // columns; a drop on a tree item takes the path alone.
    bool lookUpFiles = false;
};

// The entries the dropped paths bring, in the order they go in: a folder brings every file
// below it that the filter takes, in the order they are listed; a file comes as one entry.
// Touches no playlist, so it may run on any thread; keepGoing is asked as files are found,
// with the number found so far, and false stops the walk (what was found is answered).
Playlist::Entries GatherDroppedEntries(const std::vector<std::wstring>& paths, DropPlacement placement,
                                       const ExtensionFilter& filter, PlaylistStorage& storage = RealPlaylistStorage(),
                                       const KeepCollecting& keepGoing = {});

// Puts gathered entries into the playlist before the entry `before`, or at its end when
// `before` is null or no longer in the playlist. The playlist's own file is left out, or
// playing it would play it again without end. Answers how many went in; any marks the
// playlist modified.
size_t AddDroppedEntries(Playlist& playlist, Playlist::Entries entries, const FileRecord* before);

// A read-only playlist could never keep what is dropped on it: answers true, after telling the
// user so, before anything is added.
bool RefusedAsReadOnly(const Playlist& playlist);

// A path dropped on the tree's empty space: the view command that adds it as a root (a folder,
// or a playlist file by its extension), or 0 for nothing. Nothing comes of a drag that began
// in the tree itself: its folders are roots or lie within them already.
WPARAM EmptyTreeSpaceCommand(const std::wstring& path, bool isFolder, bool dragFromTree);

// The filter of the media extensions the plugin collects.
ExtensionFilter MediaExtensionFilter();
