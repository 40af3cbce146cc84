// How the paths in a playlist file relate to the file: which entries are URLs or network
// paths, the absolute path of an entry as read, and the shortest form a path is written in.
#pragma once

#include <string>
#include <string_view>

// A URL ("scheme://...") or a network path ("\\server\share\...", also with forward slashes):
// kept as written, never resolved.
bool IsRemoteEntry(std::wstring_view entry);

// The absolute path of an entry read from the playlist at playlistPath. Forward slashes become
// backslashes. Relative: the playlist's folder joined with it; starting with a backslash: the
// playlist's drive (or share) joined with it; with a drive or share: the entry itself. "." and ".."
// parts are folded away, never climbing above the drive.
std::wstring ResolveEntryPath(std::wstring_view entry, std::wstring_view playlistPath);

// The form a file's path is written in: absolute when it is on another drive or share than the
// playlist, the file name when it is in the playlist's folder, the path below that folder when
// it is under it, and otherwise the path from the drive's root with a leading backslash.
std::wstring RelativeEntryPath(std::wstring_view filePath, std::wstring_view playlistPath);

// The drive ("D:") or share ("\\server\share") a path starts with; empty when it has none.
std::wstring_view PathRoot(std::wstring_view path);
