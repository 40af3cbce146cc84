// Writing a playlist back to its file: the layout (mark, header, #EXTINF and path lines with
// CR LF), the encoding it was read in, the relative path forms, and a write that never leaves
// a half-written file where the old one was.
#pragma once

#include <functional>
#include <string>

#include "playlists/Playlist.h"
#include "playlists/PlaylistStorage.h"

// How a save is made; what a question or a title needs comes from the caller (the view has
// the host and the list's sort rules).
struct PlaylistWriteOptions {
    // Asked before anything is written; false writes nothing. Empty: no question.
    std::function<bool()> confirm;
    // The #EXTINF title of an entry whose tags were read. Empty: the entry's stored title.
    std::function<std::wstring(const FileRecord&)> formatTitle;
    // Puts the entries in the order of a sort key (a column, negative ascending). Empty: the
    // entries are written in their own order whatever the key.
    std::function<void(Playlist::Entries&, int sortKey)> sortEntries;
};

// The whole file for these entries: the UTF-8 mark for kUtf8WithMark, "#EXTM3U", then per
// entry an #EXTINF line (for an entry whose tags were read, or that brought a title from the
// file it was read from) and its path: a URL or network path as stored, any other path in
// its relative form. Lines end with CR LF. Code page text that the code page cannot hold
// exactly is written as UTF-8 with its mark instead, which encoding then says.
std::string PlaylistFileBytes(const Playlist::Entries& entries, const std::wstring& playlistPath, int& encoding,
                              const std::function<std::wstring(const FileRecord&)>& formatTitle);

// Whether a file is there and marked read-only: a save refuses it.
bool IsReadOnlyFile(const std::wstring& path, PlaylistStorage& storage = RealPlaylistStorage());

// Writes the playlist to path when it has unsaved changes (and the question, if any, was
// answered yes) and the file is not read-only. A playlist never read is read first, so that a save cannot write over
// entries nobody listed yet. The file is written beside the old one and then put in its
// place: when anything fails the old file is left byte for byte and the playlist stays
// modified. Answers whether the file was written.
bool WritePlaylistFile(Playlist& playlist, const std::wstring& path, const PlaylistWriteOptions& options,
                       PlaylistStorage& storage = RealPlaylistStorage());
