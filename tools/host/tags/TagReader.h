// The stand-in host's tag reader: title, artist, album and the rest, play length and bitrate
// of MP3 and FLAC files, answered per key as the host's file-information request is.
#pragma once

#include <string>

struct FileTags {
    std::wstring title, artist, album, year, track, comment, genre;
    int lengthMs = 0;     // 0 when unknown
    int bitrateKbps = 0;  // 0 when unknown
};

// Reads the file at a wide path. Answers false, with every field empty, when the file cannot
// be opened or carries neither a tag nor audio this reader knows; a damaged file gives what
// could be read before the damage and never more than the file holds.
bool ReadFileTags(const std::wstring& path, FileTags& out);

// One field as text by key ("title", "artist", "album", "year", "track", "bitrate", "comment",
// "genre", "length"; case ignored). Length is in milliseconds and bitrate in kbit/s, both as
// decimal text; unknown values and unknown keys answer empty text.
std::wstring TagValue(const FileTags& tags, const wchar_t* key);
