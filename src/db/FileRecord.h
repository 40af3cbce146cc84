// One media file as listed: a Files row joined with its folder, shared by reference between
// the worker that reads it and the view that shows it.
#pragma once

#include <optional>
#include <string>

#include "base/RefCounted.h"

struct FileRecord : RefCounted {
    long long fileId = -1;  // -1 until stored
    std::wstring path;      // full path: folder path followed by the file name
    std::optional<std::wstring> title, artist, album, genre, comment;
    int track = 0;
    int year = 0;
    int length = 0;         // milliseconds
    int bitrate = 0;        // kbit/s
    int playCount = 0;
    long long changed = 0;  // FILETIME of the last write
    long long size = 0;     // bytes
    bool tagged = false;
    int folderId = 0;
    bool remote = false;    // a playlist entry that is a network path or a URL
};
