// Reads and writes one private-profile settings file key by key, with no cache of its own.
#pragma once

#include <string>

#include "settings/SettingKeys.h"

class SettingsFile {
public:
    explicit SettingsFile(std::wstring path) : path_(std::move(path)) {}

    const std::wstring& Path() const { return path_; }
    bool Exists() const;

    int ReadInt(const SettingKey& key) const;
    bool ReadFlag(const SettingKey& key) const;
    std::wstring ReadText(const SettingKey& key) const;

    void WriteInt(const SettingKey& key, int value) const;
    void WriteFlag(const SettingKey& key, bool value) const;
    void WriteText(const SettingKey& key, const std::wstring& value) const;

private:
    std::wstring path_;
};
