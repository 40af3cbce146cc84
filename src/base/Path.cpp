// Path helpers over the shell's path functions, with no fixed-size buffers on our side.
#include "base/Path.h"

#include <windows.h>
#include <shlwapi.h>

#include <cwctype>

std::wstring JoinPath(std::wstring_view folder, std::wstring_view name) {
    std::wstring out(folder);
    while (!name.empty() && name.front() == L'\\') name.remove_prefix(1);
    if (!out.empty() && out.back() != L'\\') out += L'\\';
    out += name;
    return out;
}

std::wstring WithTrailingBackslash(std::wstring_view path) {
    std::wstring out(path);
    if (out.empty() || out.back() != L'\\') out += L'\\';
    return out;
}

std::wstring ParentPath(std::wstring_view path) {
    size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring_view::npos) return {};
    return std::wstring(path.substr(0, slash));
}

std::wstring FileNamePart(std::wstring_view path) {
    size_t slash = path.find_last_of(L"\\/");
    return std::wstring(slash == std::wstring_view::npos ? path : path.substr(slash + 1));
}

std::wstring ExtensionOf(std::wstring_view path) {
    std::wstring name = FileNamePart(path);
    size_t dot = name.rfind(L'.');
    return dot == std::wstring::npos ? std::wstring() : name.substr(dot + 1);
}

namespace {
// The longest path the plain calls take everywhere: a folder's path leaves room for an 8.3 name.
constexpr size_t kLongestPlainPath = MAX_PATH - 12;
}  // namespace

std::wstring LongPathForm(const std::wstring& path) {
    if (path.size() < kLongestPlainPath) return path;
    bool drive = path.size() >= 3 && iswalpha(path[0]) && path[1] == L':' && path[2] == L'\\';
    if (drive) return L"\\\\?\\" + path;
    // "\\server\share\...", but not "\\?\..." or "\\.\...", which are device forms already.
    bool share = path.size() > 2 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'?' && path[2] != L'.';
    if (share) return L"\\\\?\\UNC\\" + path.substr(2);
    return path;
}

bool PathExists(const std::wstring& path) {
    return !path.empty() && GetFileAttributesW(LongPathForm(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsExistingDirectory(const std::wstring& path) {
    DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(LongPathForm(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void CreateFolderIfMissing(const std::wstring& path) {
    if (!path.empty() && !PathFileExistsW(path.c_str())) CreateDirectoryW(path.c_str(), nullptr);
}

std::wstring ModuleFileName(void* module) {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(static_cast<HMODULE>(module), buffer.data(),
                                     static_cast<DWORD>(buffer.size()));
        if (n == 0) return {};
        if (n < buffer.size()) {
            buffer.resize(n);
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring VolumeRootOf(const std::wstring& path) {
    if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') return path.substr(0, 3);
    if (path.rfind(L"\\\\", 0) != 0 || path.rfind(L"\\\\?\\", 0) == 0 || path.rfind(L"\\\\.\\", 0) == 0)
        return std::wstring();
    size_t server = path.find(L'\\', 2);
    size_t share = server == std::wstring::npos ? server : path.find(L'\\', server + 1);
    return share == std::wstring::npos ? std::wstring() : path.substr(0, share + 1);
}
