// The fifteen columns of the file list and the text each shows for a file record: one place for
// the formatting rules, shared by the list's text requests and its row drawing.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "db/FileRecord.h"

// Column indices: the order the columns are created in, and the magnitude of a sort key.
enum ListColumn : int {
    kColumnNumber = 0,
    kColumnTitle,
    kColumnArtist,
    kColumnAlbum,
    kColumnGenre,
    kColumnComment,
    kColumnTrack,
    kColumnYear,
    kColumnLength,
    kColumnBitrate,
    kColumnPlaycount,
    kColumnLastChanged,
    kColumnFilesize,
    kColumnFilepath,
    kColumnFilename,
    kColumnCount
};

// Numbers read best right-aligned so their digits line up.
bool IsRightAligned(int column);

struct CellContext {
    int row = 0;            // zero-based; "#" shows it one-based
    bool hideKbps = false;  // bitrates without their unit
    // The title a playlist file gave the entry, if any.
    std::optional<std::wstring_view> playlistTitle;
    // The zone file times are shown in; null for the system's current one.
    const TIME_ZONE_INFORMATION* zone = nullptr;
};

// Empty for a column outside 0-14.
std::wstring CellText(const FileRecord& record, int column, const CellContext& context);

// The read title; else a remote entry's playlist title (given, or the title the playlist file
// gave the record) or its whole path (a URL has no file name worth showing); else the file name.
std::wstring TitleText(const FileRecord& record, std::optional<std::wstring_view> playlistTitle);
// "mm:ss", or "hh:mm:ss" from one hour; empty when the length is unknown.
std::wstring LengthText(int milliseconds);
// The last-write time as the user's short date and time without seconds, in local time;
// "n/a" for remote entries and records without a time.
std::wstring ChangedText(const FileRecord& record, const TIME_ZONE_INFORMATION* zone = nullptr);
