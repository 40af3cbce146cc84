// One key of a private-profile file written without ever leaving the file half-written: the
// file is copied beside itself, the key written into the copy by the profile functions, the
// copy checked to hold everything the old file held, and only then moved into place.
#pragma once

#include <string>

// False when anything failed (a full disk, a read-only file or folder); the file is then left
// byte for byte as it was.
bool WriteProfileKeyReplacing(const std::wstring& path, const wchar_t* section, const wchar_t* key,
                              const std::wstring& value);
