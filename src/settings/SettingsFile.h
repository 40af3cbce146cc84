// Reads and writes one private-profile settings file key by key, with no cache of its own.
#pragma once

#include <string>

#include "settings/SettingKeys.h"

class SettingsFile {
public:
    explicit SettingsFile(std::wstring path) : path_(std::move(path)) {}

    const std::wstring& Path() const { return path_; }
    bool Exists() const;

    // An absent key or section, or a missing file, answers the key's default. A stored value
    // that is not a number reads as 0; leading digits of a longer text are used; negative
    // numbers read back as written.
    int ReadInt(const SettingKey& key) const;
    // Any non-zero number counts as set.
    bool ReadFlag(const SettingKey& key) const;
    // At most the key's buffer length less one characters; a longer value is cut.
    std::wstring ReadText(const SettingKey& key) const;

    // Writes are not checked: a settings file that cannot be written loses the change silently,
    // as the plugin has nowhere sensible to report it at shutdown.
    void WriteInt(const SettingKey& key, int value) const;
    // Written as 0 or 1, whatever number the file held before.
    void WriteFlag(const SettingKey& key, bool value) const;
    void WriteText(const SettingKey& key, const std::wstring& value) const;

private:
    std::wstring path_;
};
