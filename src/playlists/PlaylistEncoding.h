// The character encodings of playlist files: which one a file's bytes are in when read, and
// how text is turned back into bytes when written.
#pragma once

#include <string>
#include <string_view>

// A file's text and the encoding flag (Playlist::kCodePageText, kUtf8WithMark or
// kUtf8WithoutMark) it is to be written back with.
struct DecodedPlaylist {
    std::wstring text;
    int encoding = 0;
};

// A UTF-8 mark means UTF-8; a UTF-16 mark (either byte order), or none but the NUL bytes of
// plain UTF-16 text, means UTF-16, written back as UTF-8 with a mark, since the file layout has
// no UTF-16 form. Without a mark, bytes that are
// valid UTF-8 are read as UTF-8 when the name says so (".m3u8") or when they hold characters
// beyond ASCII, which the system code page would have mangled; anything else is code page text. An empty file has no encoding (0): it is
// written as a new one.
DecodedPlaylist DecodePlaylistBytes(std::string_view bytes, bool utf8Name);

// The encoding a playlist never read is first written in: UTF-8 with a mark for an ".m3u8"
// name (in any case), else the system code page.
int EncodingForNewFile(std::wstring_view path);

// The bytes of text in the encoding; code page text replaces the characters the code page
// lacks with the system's default character. No mark is added here.
std::string EncodePlaylistText(std::wstring_view text, int encoding);

extern const char kUtf8Mark[3];
