// Reading the host's bookmark file for the list's "Bookmarks" submenu: 8-bit text, a line with
// a file's path and a line with its title per bookmark.
#pragma once

#include <string>
#include <vector>

struct Bookmark {
    std::wstring path;
    std::wstring title;
};

// The bookmarks in file order; none when the file is missing or unreadable.
std::vector<Bookmark> ReadBookmarkFile(const std::wstring& file);
