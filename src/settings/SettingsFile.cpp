// Private-profile reads and writes of single settings keys.
#include "settings/SettingsFile.h"

#include <windows.h>

#include <set>
#include <vector>

#include "base/CriticalSection.h"
#include "base/Path.h"
#include "base/ReplacingFile.h"
#include "settings/ProfileReplace.h"

namespace {

// The files whose last write failed. The keys of one shutdown follow each other within
// moments, so once one write has waited out another program's hold in vain, the rest neither
// wait again nor report again; the next write that succeeds ends the run.
class FailingFiles {
public:
    bool Contains(const std::wstring& path) {
        Lock lock(cs_);
        return paths_.count(path) != 0;
    }
    // True for the first failure of a run.
    bool Add(const std::wstring& path) {
        Lock lock(cs_);
        return paths_.insert(path).second;
    }
    void Remove(const std::wstring& path) {
        Lock lock(cs_);
        paths_.erase(path);
    }

private:
    CriticalSection cs_;
    std::set<std::wstring> paths_;
};

FailingFiles& Failing() {
    static FailingFiles files;
    return files;
}

SettingsWriteReport writeReport = nullptr;

bool IsReadOnly(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

}  // namespace

void SettingsFile::SetWriteReport(SettingsWriteReport report) { writeReport = report; }

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
    return WriteTexts({{&key, value}});
}

bool SettingsFile::WriteTexts(const std::vector<std::pair<const SettingKey*, std::wstring>>& values) const {
    std::vector<ProfileValue> profileValues;
    for (const auto& [key, text] : values) profileValues.push_back({key->section, key->key, text});
    DWORD patience = Failing().Contains(path_) ? 0 : kReplacePatience;
    DWORD error = ERROR_SUCCESS;
    if (WriteProfileKeysReplacing(path_, profileValues, patience, error)) {
        Failing().Remove(path_);
        return true;
    }
    // Without a path there is no file to lose, and a read-only file was made so by its owner.
    if (path_.empty() || IsReadOnly(path_)) return false;
    if (Failing().Add(path_) && writeReport) writeReport(path_, error);
    return false;
}
