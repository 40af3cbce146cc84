// The tag callbacks through which the host formats a display title from a file record, and the
// request that asks it to: titles for files the host has not read itself come from our cache.
#pragma once

#include <windows.h>

#include <string>

class FileRecord;

constexpr int kTitleTagUnits = 260;  // every answer block holds this many UTF-16 units

// The host's tag callback; context is a const FileRecord*. A known key with a value answers a
// zero-filled GlobalAlloc block of kTitleTagUnits units holding it, cut to fit with its
// terminator kept: "FILENAME" is the full path; "artist", "title", "album", "comment", "genre"
// the tag texts; "tracknumber" and "year" the numbers in decimal. A known key with no value
// answers kTitleTagEmpty; any other key, or a call without key or record, answers null.
wchar_t* __cdecl TitleTag(const wchar_t* key, void* context);
// Releases a block TitleTag answered; null and kTitleTagEmpty are left alone.
void __cdecl FreeTitleTag(wchar_t* value, void* context);

// The title the host's default title format makes of the record; when the host wrote none, the
// record's stored title, else its file name.
std::wstring FormatTitle(HWND host, const FileRecord& record);
