// Private-profile reads and writes of single settings keys.
#include "settings/SettingsFile.h"

#include <windows.h>

#include <vector>

#include "base/Path.h"
#include "settings/ProfileReplace.h"

bool SettingsFile::Exists() const { return !path_.empty() && PathExists(path_); }

// The profile function parses a leading sign but answers unsigned; the cast gives negative
// values such as the tree's "None" (-3010) back their sign.
int SettingsFile::ReadInt(const SettingKey& key) const {
    UINT value = GetPrivateProfileIntW(key.section, key.key, key.intDefault, path_.c_str());
    return static_cast<int>(value);
}

bool SettingsFile::ReadFlag(const SettingKey& key) const { return ReadInt(key) != 0; }

std::wstring SettingsFile::ReadText(const SettingKey& key) const {
    size_t length = key.bufferLength > 0 ? static_cast<size_t>(key.bufferLength) : 1;
    std::vector<wchar_t> buffer(length, L'\0');
    DWORD n = GetPrivateProfileStringW(key.section, key.key, key.textDefault, buffer.data(),
                                       static_cast<DWORD>(buffer.size()), path_.c_str());
    return std::wstring(buffer.data(), n);
}

bool SettingsFile::WriteInt(const SettingKey& key, int value) const {
    return WriteText(key, std::to_wstring(value));
}

bool SettingsFile::WriteFlag(const SettingKey& key, bool value) const {
    return WriteInt(key, value ? 1 : 0);
}

bool SettingsFile::WriteText(const SettingKey& key, const std::wstring& value) const {
    return WriteProfileKeyReplacing(path_, key.section, key.key, value);
}
