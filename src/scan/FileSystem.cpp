// The real file-system calls behind the scanning interface, and the switch tests use. Every
// path goes through LongPathForm: libraries nest deeper than MAX_PATH characters.
#include "scan/FileSystem.h"

#include <atomic>

#include "base/Path.h"
#include "base/Unique.h"

namespace {

long long FileTimeValue(const FILETIME& time) {
    return static_cast<long long>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) |
                                  time.dwLowDateTime);
}

bool IsDotEntry(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

FolderEntry EntryFrom(const WIN32_FIND_DATAW& data) {
    FolderEntry entry;
    entry.name = data.cFileName;
    entry.attributes = data.dwFileAttributes;
    entry.size = static_cast<long long>((static_cast<unsigned long long>(data.nFileSizeHigh) << 32) |
                                        data.nFileSizeLow);
    entry.lastWrite = FileTimeValue(data.ftLastWriteTime);
    return entry;
}

FileSystem& RealFileSystem() {
    static FileSystem real;
    return real;
}

std::atomic<FileSystem*>& Installed() {
    static std::atomic<FileSystem*> installed{&RealFileSystem()};
    return installed;
}

}  // namespace

// The basic information level skips the short names, and the large fetch asks the file system
// for bigger batches: both matter on folders of thousands of files.
bool FileSystem::ListFolder(const std::wstring& folder, std::vector<FolderEntry>& entries) {
    WIN32_FIND_DATAW data;
    UniqueFind find(FindFirstFileExW(LongPathForm(JoinPath(folder, L"*.*")).c_str(), FindExInfoBasic, &data,
                                     FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find) return false;
    do {
        if (!IsDotEntry(data.cFileName)) entries.push_back(EntryFrom(data));
    } while (FindNextFileW(find.get(), &data));
    return true;
}

bool FileSystem::Exists(const std::wstring& path) { return PathExists(path); }

bool FileSystem::IsDirectory(const std::wstring& path) { return IsExistingDirectory(path); }

bool FileSystem::ReadSizeAndTime(const std::wstring& path, long long& size, long long& lastWrite) {
    UniqueFileHandle file(CreateFileW(LongPathForm(path).c_str(), 0, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    LARGE_INTEGER bytes;
    FILETIME written;
    if (!GetFileSizeEx(file.get(), &bytes) || !GetFileTime(file.get(), nullptr, nullptr, &written))
        return false;
    size = bytes.QuadPart;
    lastWrite = FileTimeValue(written);
    return true;
}

bool FileSystem::FindEntry(const std::wstring& path, FolderEntry& entry) {
    WIN32_FIND_DATAW data;
    UniqueFind find(FindFirstFileExW(LongPathForm(path).c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0));
    if (!find) return false;
    entry = EntryFrom(data);
    return true;
}

HANDLE FileSystem::OpenForWatching(const std::wstring& folder) {
    return CreateFileW(LongPathForm(folder).c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_OVERLAPPED | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

DWORD FileSystem::WaitForChanges(HANDLE wake) { return WaitForSingleObjectEx(wake, INFINITE, TRUE); }

FileSystem& Files() { return *Installed().load(); }

ScopedFileSystem::ScopedFileSystem(FileSystem& replacement) : previous_(Installed().exchange(&replacement)) {}

ScopedFileSystem::~ScopedFileSystem() { Installed().store(previous_); }
