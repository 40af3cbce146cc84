// Keys of a private-profile file written without ever leaving the file half-written: the file
// is copied beside itself, the keys written into the copy by the profile functions, the copy
// checked to hold everything the old file held, and only then moved into place.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct ProfileValue {
    const wchar_t* section;
    const wchar_t* key;
    std::wstring value;
};

// All the values reach the file in one replacement, or none does. False when anything failed
// (a full disk, a read-only file or folder, a file another program held for longer than
// patience milliseconds); the file is then left byte for byte as it was and error tells why.
bool WriteProfileKeysReplacing(const std::wstring& path, const std::vector<ProfileValue>& values, DWORD patience,
                               DWORD& error);
