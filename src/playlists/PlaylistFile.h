// Reading a playlist file into its entry list, the step a playlist's first listing (or a save
// of a playlist never listed) takes when the list was only marked for loading.
#pragma once

#include <string>

#include "base/RefCounted.h"

#include "playlists/PlaylistLines.h"
#include "playlists/PlaylistStorage.h"

struct Playlist;
struct TextObject;
class FileRecord;

// Reads the file at playlist.path and records its encoding. At the first read the file's
// entries come first, followed by any the playlist was given before (a host entry sent to a
// playlist not yet shown); a later read replaces the entries, unless they have unsaved
// changes, which are kept and the file is not read. Answers whether the file was read; when
// it was not, nothing changes.
bool ReadPlaylistFile(Playlist& playlist, PlaylistStorage& storage = RealPlaylistStorage());

// Reads the file when the playlist is marked for loading, and clears the mark; answers
// whether it read the file.
bool LoadPlaylistIfNeeded(Playlist& playlist, PlaylistStorage& storage = RealPlaylistStorage());

// The record of one entry read from the playlist at playlistPath: a URL or network path keeps
// its text and has no length; any other path is resolved and takes its size and time from
// the file system when the file is there. The #EXTINF title is kept as the record's title,
// its length (when known) as the record's length; the record counts as not yet tagged.
// Records of one folder in a row share lastFolder's text.
Ref<FileRecord> EntryRecord(const PlaylistLine& line, const std::wstring& playlistPath, PlaylistStorage& storage,
                            Ref<TextObject>& lastFolder);
