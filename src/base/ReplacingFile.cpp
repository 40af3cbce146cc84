// Writing a file beside its target and moving it into place.
#include "base/ReplacingFile.h"

#include <algorithm>

#include "base/Unique.h"

namespace {

const wchar_t kNewFileSuffix[] = L".saving";
constexpr DWORD kWriteChunk = 1 << 20;
constexpr DWORD kRetryStep = 20;

// A rename over a file that another program opened without sharing its deletion fails with
// one of these until that program lets go.
bool IsHeldByOther(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION;
}

bool WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), kWriteChunk));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) return false;
        if (written == 0) {
            SetLastError(ERROR_DISK_FULL);
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

bool FlushExisting(const std::wstring& path) {
    UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    return file && FlushFileBuffers(file.get());
}

bool WriteNewFile(const std::wstring& path, std::string_view bytes, bool flush) {
    UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    // A full disk may only show when the data reaches it.
    return WriteAll(file.get(), bytes) && (!flush || FlushFileBuffers(file.get()));
}

}  // namespace

bool WriteFileThrough(const std::wstring& path, std::string_view bytes) { return WriteNewFile(path, bytes, true); }

bool ReadWholeFile(const std::wstring& path, std::string& bytes) {
    UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return false;
    bytes.clear();
    char buffer[64 * 1024];
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr)) return false;
        if (read == 0) return true;
        bytes.append(buffer, read);
    }
}

// One rename, so that a kill finds either file whole. The old file's attributes (hidden, say)
// are set on the new one first, as a rename keeps the new file's own.
// A read-only target refuses the rename for good, so it is not waited for.
bool MoveIntoPlace(const std::wstring& newPath, const std::wstring& target, DWORD patience) {
    DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesW(newPath.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    bool readOnly = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    DWORD start = GetTickCount();
    for (;;) {
        if (MoveFileExW(newPath.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
        DWORD error = GetLastError();
        if (readOnly || !IsHeldByOther(error) || GetTickCount() - start >= patience) {
            SetLastError(error);
            return false;
        }
        Sleep(kRetryStep);
    }
}

ReplacingFile::ReplacingFile(std::wstring target) : target_(std::move(target)), newPath_(target_ + kNewFileSuffix) {}

ReplacingFile::~ReplacingFile() {
    if (!committed_) DeleteFileW(newPath_.c_str());
}

bool ReplacingFile::Fail() {
    error_ = GetLastError();
    if (error_ == ERROR_SUCCESS) error_ = ERROR_WRITE_FAULT;
    return false;
}

bool ReplacingFile::Write(std::string_view bytes) {
    if (target_.empty()) return false;
    // Commit flushes it, after any other writer had its turn.
    return WriteNewFile(newPath_, bytes, false) || Fail();
}

bool ReplacingFile::Commit(DWORD patience) {
    if (committed_) return true;
    DWORD attributes = GetFileAttributesW(target_.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return Fail();
    }
    if (!FlushExisting(newPath_) || !MoveIntoPlace(newPath_, target_, patience)) return Fail();
    committed_ = true;
    return true;
}
