// Resolving playlist entries against the playlist's own path and making them relative again,
// on plain strings: nothing here touches the disk, and no path length limit applies.
#include "playlists/EntryPaths.h"

#include <cwctype>
#include <vector>

#include "base/Text.h"

namespace {

bool IsSlash(wchar_t c) { return c == L'\\' || c == L'/'; }

bool HasDrive(std::wstring_view path) { return path.size() >= 2 && std::iswalpha(path[0]) && path[1] == L':'; }

std::wstring WithBackslashes(std::wstring_view path) {
    std::wstring out(path);
    for (wchar_t& c : out)
        if (c == L'/') c = L'\\';
    return out;
}

// The root kept as it is, then each part: "." dropped, ".." removing the part before it (or
// nothing at the root), empty parts from doubled backslashes dropped. A trailing backslash goes.
std::wstring Folded(std::wstring_view path) {
    std::wstring_view root = PathRoot(path);
    std::vector<std::wstring_view> parts;
    size_t at = root.size();
    while (at <= path.size()) {
        size_t end = path.find(L'\\', at);
        if (end == std::wstring_view::npos) end = path.size();
        std::wstring_view part = path.substr(at, end - at);
        if (part == L"..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != L".") {
            parts.push_back(part);
        }
        at = end + 1;
    }
    std::wstring out(root);
    bool rooted = !root.empty() || (!path.empty() && path.front() == L'\\');
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0 || rooted) out += L'\\';
        out += parts[i];
    }
    if (parts.empty() && rooted) out += L'\\';
    return out;
}

// The folder part of a path without its trailing backslash.
std::wstring_view FolderOf(std::wstring_view path) {
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring_view::npos ? std::wstring_view() : path.substr(0, slash);
}

}  // namespace

std::wstring_view PathRoot(std::wstring_view path) {
    if (HasDrive(path)) return path.substr(0, 2);
    if (path.size() < 2 || !IsSlash(path[0]) || !IsSlash(path[1])) return {};
    // "\\server\share": up to the slash after the share name, or the whole path.
    size_t server = path.find_first_of(L"\\/", 2);
    if (server == std::wstring_view::npos) return path;
    size_t share = path.find_first_of(L"\\/", server + 1);
    return share == std::wstring_view::npos ? path : path.substr(0, share);
}

bool IsRemoteEntry(std::wstring_view entry) {
    if (entry.size() >= 2 && IsSlash(entry[0]) && IsSlash(entry[1])) return true;
    size_t colon = entry.find(L"://");
    // One letter before the colon is a drive, not a scheme.
    if (colon == std::wstring_view::npos || colon < 2) return false;
    for (size_t i = 0; i < colon; ++i) {
        wchar_t c = entry[i];
        bool schemeCharacter = std::iswalnum(c) || c == L'+' || c == L'-' || c == L'.';
        if (c > 0x7F || !schemeCharacter || (i == 0 && !std::iswalpha(c))) return false;
    }
    return true;
}

std::wstring ResolveEntryPath(std::wstring_view entry, std::wstring_view playlistPath) {
    std::wstring path = WithBackslashes(entry);
    if (!PathRoot(path).empty()) return Folded(path);
    std::wstring folder = WithBackslashes(FolderOf(playlistPath));
    if (!path.empty() && path.front() == L'\\') return Folded(std::wstring(PathRoot(folder)) + path);
    return Folded(folder + L'\\' + path);
}

namespace {

// A line that begins with "#" is a directive, blanks around a line are dropped when it is read,
// and a line that looks like a drive path or a URL is taken for one: a file named "#1 hit.mp3"
// or " intro.mp3" beside the playlist would be lost or become another file. Led by ".\" the
// line reads back to the same path.
std::wstring ReadableRelative(std::wstring_view relative) {
    bool misread = !relative.empty() && (relative.front() == L'#' || relative.front() == L' ' ||
                                         relative.front() == L'\t' || HasDrive(relative) || IsRemoteEntry(relative));
    return misread ? L".\\" + std::wstring(relative) : std::wstring(relative);
}

}  // namespace

std::wstring RelativeEntryPath(std::wstring_view filePath, std::wstring_view playlistPath) {
    std::wstring_view fileRoot = PathRoot(filePath);
    std::wstring_view playlistRoot = PathRoot(playlistPath);
    if (fileRoot.empty() || !EqualsNoCase(fileRoot, playlistRoot)) return std::wstring(filePath);
    std::wstring_view fileFolder = FolderOf(filePath);
    std::wstring_view playlistFolder = FolderOf(playlistPath);
    if (EqualsNoCase(fileFolder, playlistFolder)) return ReadableRelative(filePath.substr(fileFolder.size() + 1));
    if (fileFolder.size() > playlistFolder.size() && IsSlash(fileFolder[playlistFolder.size()]) &&
        EqualsNoCase(fileFolder.substr(0, playlistFolder.size()), playlistFolder))
        return ReadableRelative(filePath.substr(playlistFolder.size() + 1));
    return std::wstring(filePath.substr(fileRoot.size()));
}
