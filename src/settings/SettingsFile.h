// Reads and writes one private-profile settings file key by key, with no cache of its own.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "settings/SettingKeys.h"

// Told of a write that failed for good, with the file and the reason. A run of writes that
// fail one after the other (the keys of one shutdown) tells it once.
using SettingsWriteReport = void (*)(const std::wstring& path, DWORD error);

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

    // Each write replaces the whole file at once (see ProfileReplace.h), so a kill or a full
    // disk never leaves it half-written. A write that fails answers false and loses only its
    // own change; the report set below hears of it, except of a file made read-only on purpose.
    bool WriteInt(const SettingKey& key, int value) const;
    // Written as 0 or 1, whatever number the file held before.
    bool WriteFlag(const SettingKey& key, bool value) const;
    bool WriteText(const SettingKey& key, const std::wstring& value) const;
    // Several keys in one replacement of the file: all of them reach it, or none.
    bool WriteTexts(const std::vector<std::pair<const SettingKey*, std::wstring>>& values) const;

    // The plugin shows a message; without a report failures go unseen.
    static void SetWriteReport(SettingsWriteReport report);

private:
    std::wstring path_;
};
