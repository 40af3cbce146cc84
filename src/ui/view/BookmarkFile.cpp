// Reads the host's bookmark file: pairs of lines, path then title, in the system's code page.
#include "ui/view/BookmarkFile.h"

#include <windows.h>

#include "base/Unique.h"

namespace {

std::wstring Widen(const std::string& text) {
    if (text.empty()) return {};
    int size = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
    return out;
}

std::string ReadAll(const std::wstring& file) {
    UniqueFileHandle handle(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string bytes;
    if (!handle) return bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(handle.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
    return bytes;
}

// The lines without their line ends. The host writes CR LF; a bare LF ends a line too.
std::vector<std::string> SplitLines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

}  // namespace

// An empty line where a path should start is skipped, so a stray blank line does not turn
// every later title into a path. A path whose title line is missing is shown by its path.
std::vector<Bookmark> ReadBookmarkFile(const std::wstring& file) {
    std::vector<Bookmark> bookmarks;
    if (file.empty()) return bookmarks;
    std::vector<std::string> lines = SplitLines(ReadAll(file));
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].empty()) continue;
        Bookmark bookmark{Widen(lines[i]), {}};
        bookmark.title = i + 1 < lines.size() ? Widen(lines[++i]) : bookmark.path;
        bookmarks.push_back(std::move(bookmark));
    }
    return bookmarks;
}
