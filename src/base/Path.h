// Path helpers: joining, trailing backslashes and existence tests, all on UTF-16 paths.
#pragma once

#include <string>
#include <string_view>

// Joins with exactly one backslash between the parts.
std::wstring JoinPath(std::wstring_view folder, std::wstring_view name);
std::wstring WithTrailingBackslash(std::wstring_view path);
// The path without its last component ("C:\a\b.dll" -> "C:\a"); empty when there is none.
std::wstring ParentPath(std::wstring_view path);
// The text after the last backslash.
std::wstring FileNamePart(std::wstring_view path);
// The text after the last dot of the file name, without the dot; empty when there is none.
std::wstring ExtensionOf(std::wstring_view path);

// The form of an absolute path that file-system calls take beyond MAX_PATH characters:
// "\\?\C:\..." or "\\?\UNC\server\share\...". A path short enough for the plain calls,
// a relative one, or one already in a device form comes back as it is. The path must hold no
// "." or ".." parts and no forward slashes, which the long form does not resolve.
std::wstring LongPathForm(const std::wstring& path);

// The root of the drive or share a path lies on: "D:\" or "\\server\share\"; empty for
// anything else (a relative path, a device form).
std::wstring VolumeRootOf(const std::wstring& path);

// Both follow LongPathForm, so a file deep in a library is found however long its path.
bool PathExists(const std::wstring& path);
bool IsExistingDirectory(const std::wstring& path);
void CreateFolderIfMissing(const std::wstring& path);
std::wstring ModuleFileName(void* module);
