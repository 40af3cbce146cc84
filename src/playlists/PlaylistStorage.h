// The file-system calls playlists make (reading a file whole, looking a file up, listing a
// folder, writing a new file beside an old one and putting it in its place), behind one small
// interface so that tests can inject a full disk, a denied folder or a vanished file.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

struct StoredFileInfo {
    std::wstring name;        // as the directory lists it (ListFolder only)
    DWORD attributes = 0;
    long long size = 0;
    long long lastWrite = 0;  // FILETIME as one 64-bit value
};

// The methods make the real calls; a test derives and overrides one. Failures leave their
// reason in GetLastError, as the system calls do.
class PlaylistStorage {
public:
    virtual ~PlaylistStorage() = default;

    // The whole file. False when it cannot be opened or read, or is too large to be a playlist.
    virtual bool ReadAll(const std::wstring& path, std::string& bytes);
    // The directory's entry for a file, without opening it. False when there is none.
    virtual bool FindFile(const std::wstring& path, StoredFileInfo& info);
    // Every entry of the folder except "." and "..". False when it cannot be listed.
    virtual bool ListFolder(const std::wstring& folder, std::vector<StoredFileInfo>& entries);
    // Creates the file (replacing one of that name) and writes all the bytes to disk.
    virtual bool WriteNew(const std::wstring& path, std::string_view bytes);
    // Puts the file written at newPath in the place of target, which need not exist; the old
    // target's attributes are kept. False leaves target as it was.
    virtual bool Replace(const std::wstring& newPath, const std::wstring& target);
    virtual void Remove(const std::wstring& path);
    // Whether the drive or share root ("D:\", "\\server\share\") answers now: an
    // unplugged drive or an offline share holds files that only look gone.
    virtual bool VolumeReachable(const std::wstring& root);
};

// The storage that makes the real calls; it keeps no state.
PlaylistStorage& RealPlaylistStorage();
