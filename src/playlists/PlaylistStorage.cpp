// The real file-system calls behind PlaylistStorage.
#include "playlists/PlaylistStorage.h"

#include <algorithm>
#include <cwchar>

#include "base/Path.h"
#include "base/ReplacingFile.h"
#include "base/Unique.h"

namespace {

// A playlist of a million entries is some 100 MB of text; anything larger is not a playlist,
// and reading it whole would exhaust a 32-bit process.
constexpr long long kLargestPlaylistBytes = 128LL * 1024 * 1024;

long long Join(DWORD high, DWORD low) { return (static_cast<long long>(high) << 32) | low; }

StoredFileInfo InfoOf(const WIN32_FIND_DATAW& found) {
    return {found.cFileName, found.dwFileAttributes, Join(found.nFileSizeHigh, found.nFileSizeLow),
            Join(found.ftLastWriteTime.dwHighDateTime, found.ftLastWriteTime.dwLowDateTime)};
}

}  // namespace

bool PlaylistStorage::ReadAll(const std::wstring& path, std::string& bytes) {
    UniqueFileHandle file(CreateFileW(LongPathForm(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return false;
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file.get(), &size)) return false;
    if (size.QuadPart > kLargestPlaylistBytes) {
        SetLastError(ERROR_FILE_TOO_LARGE);
        return false;
    }
    bytes.assign(static_cast<size_t>(size.QuadPart), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        DWORD chunk = static_cast<DWORD>(bytes.size() - done);
        if (!ReadFile(file.get(), bytes.data() + done, chunk, &read, nullptr)) return false;
        if (read == 0) break;  // it shrank meanwhile
        done += read;
    }
    bytes.resize(done);
    return true;
}

bool PlaylistStorage::FindFile(const std::wstring& path, StoredFileInfo& info) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExW(LongPathForm(path).c_str(), GetFileExInfoStandard, &data)) return false;
    info.attributes = data.dwFileAttributes;
    info.size = Join(data.nFileSizeHigh, data.nFileSizeLow);
    info.lastWrite = Join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime);
    return true;
}

bool PlaylistStorage::ListFolder(const std::wstring& folder, std::vector<StoredFileInfo>& entries) {
    std::wstring pattern = folder;
    if (!pattern.empty() && pattern.back() != L'\\') pattern += L'\\';
    pattern += L"*.*";
    WIN32_FIND_DATAW found = {};
    UniqueFind find(FindFirstFileExW(LongPathForm(pattern).c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0));
    if (!find) return false;
    do {
        if (wcscmp(found.cFileName, L".") == 0 || wcscmp(found.cFileName, L"..") == 0) continue;
        entries.push_back(InfoOf(found));
    } while (FindNextFileW(find.get(), &found));
    return true;
}

// A save goes as deep as a read: the new file's name is longer still than the playlist's, and
// near the old limit only the long form reaches it.
bool PlaylistStorage::WriteNew(const std::wstring& path, std::string_view bytes) {
    return WriteFileThrough(LongPathForm(path), bytes);
}

bool PlaylistStorage::Replace(const std::wstring& newPath, const std::wstring& target) {
    return MoveIntoPlace(LongPathForm(newPath), LongPathForm(target));
}

void PlaylistStorage::Remove(const std::wstring& path) { DeleteFileW(LongPathForm(path).c_str()); }

PlaylistStorage& RealPlaylistStorage() {
    static PlaylistStorage real;
    return real;
}

// A drive without its disc or card would otherwise stop the repair with the system's "insert
// a disk" box; without it, it simply does not answer.
bool PlaylistStorage::VolumeReachable(const std::wstring& root) {
    DWORD previous = 0;
    BOOL quiet = SetThreadErrorMode(SEM_FAILCRITICALERRORS, &previous);
    bool answers = GetFileAttributesW(root.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (quiet) SetThreadErrorMode(previous, nullptr);
    return answers;
}
