// The file-system calls that scanning and watching make, behind one small interface so that
// tests can replace a call to inject a denied folder, a vanished folder or a sharing violation.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// One entry of a folder listing, as the directory itself reports it (nothing is opened).
struct FolderEntry {
    std::wstring name;
    DWORD attributes = 0;
    long long size = 0;
    long long lastWrite = 0;  // FILETIME as one 64-bit value

    bool IsDirectory() const { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
};

// The default methods make the real calls; a test derives, overrides one and installs it.
// Failures leave their reason in GetLastError, as the system calls do.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Every entry of the folder except "." and "..", in the file system's order. False when
    // the folder cannot be listed.
    virtual bool ListFolder(const std::wstring& folder, std::vector<FolderEntry>& entries);
    // A file or a folder.
    virtual bool Exists(const std::wstring& path);
    virtual bool IsDirectory(const std::wstring& path);
    // Opens the file without asking for any access, for a file that a change notice names.
    virtual bool ReadSizeAndTime(const std::wstring& path, long long& size, long long& lastWrite);
    // The directory's entry for one file or folder, without opening it.
    virtual bool FindEntry(const std::wstring& path, FolderEntry& entry);
    // A handle for directory-change requests with completion routines, or INVALID_HANDLE_VALUE.
    virtual HANDLE OpenForWatching(const std::wstring& folder);
    // The watcher's wait between requests: without limit and alertable, so that the request's
    // completion routine runs on the waiting thread. Answers as WaitForSingleObjectEx does.
    virtual DWORD WaitForChanges(HANDLE wake);
};

// The installed file system; the real one unless a test installed another.
FileSystem& Files();

// Installs a replacement for the life of the scope. Install before starting the threads that
// use it, and end the scope after they stopped.
class ScopedFileSystem {
public:
    explicit ScopedFileSystem(FileSystem& replacement);
    ~ScopedFileSystem();
    ScopedFileSystem(const ScopedFileSystem&) = delete;
    ScopedFileSystem& operator=(const ScopedFileSystem&) = delete;

private:
    FileSystem* previous_;
};
