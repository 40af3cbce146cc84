// Replacing a settings file a few keys at a time through a checked copy.
#include "settings/ProfileReplace.h"

#include <windows.h>

#include <cwchar>
#include <functional>
#include <vector>

#include "base/ReplacingFile.h"
#include "base/Text.h"
#include "settings/ProfileEncoding.h"

namespace {

// A list of strings each ended by a null, the whole ended by a second one, as the profile
// functions answer section names and a section's lines.
std::vector<std::wstring> ReadStringList(const std::function<DWORD(wchar_t*, DWORD)>& read) {
    std::vector<wchar_t> buffer(4096);
    DWORD length = 0;
    for (;;) {
        length = read(buffer.data(), static_cast<DWORD>(buffer.size()));
        // A full buffer answers its size less two: the list may have been cut.
        if (length + 2 < buffer.size()) break;
        buffer.resize(buffer.size() * 2);
    }
    std::vector<std::wstring> items;
    for (const wchar_t* p = buffer.data(); *p && p < buffer.data() + length; p += wcslen(p) + 1) items.emplace_back(p);
    return items;
}

std::vector<std::wstring> SectionNames(const std::wstring& path) {
    return ReadStringList([&](wchar_t* b, DWORD n) { return GetPrivateProfileSectionNamesW(b, n, path.c_str()); });
}

std::vector<std::wstring> SectionLines(const std::wstring& path, const std::wstring& section) {
    return ReadStringList(
        [&](wchar_t* b, DWORD n) { return GetPrivateProfileSectionW(section.c_str(), b, n, path.c_str()); });
}

std::wstring_view Trimmed(std::wstring_view text) {
    while (!text.empty() && iswspace(text.front())) text.remove_prefix(1);
    while (!text.empty() && iswspace(text.back())) text.remove_suffix(1);
    return text;
}

bool IsLineOf(const std::wstring& line, const wchar_t* key) {
    size_t equals = line.find(L'=');
    return EqualsNoCase(Trimmed(std::wstring_view(line).substr(0, equals)), key);
}

bool IsWrittenIn(const ProfileValue& value, const std::wstring& section) { return EqualsNoCase(section, value.section); }

// The lines of the keys written into this section, whatever their values, are taken out of
// both sides before they are compared; found tells whether each key was there.
std::vector<std::wstring> WithoutKeys(std::vector<std::wstring> lines, const std::wstring& section,
                                      const std::vector<ProfileValue>& values, std::vector<bool>& found) {
    found.assign(values.size(), false);
    for (size_t k = 0; k < values.size(); ++k) {
        if (!IsWrittenIn(values[k], section)) continue;
        for (size_t i = lines.size(); i-- > 0;)
            if (IsLineOf(lines[i], values[k].key)) {
                lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
                found[k] = true;
            }
    }
    return lines;
}

// A write cut short by a full disk loses the file's tail: the profile functions end every line
// with a line break, so a whole file ends with one (in either of their encodings).
bool EndsWithLineBreak(const std::string& bytes) {
    size_t end = bytes.size();
    while (end > 0 && bytes[end - 1] == '\0') --end;
    return end > 0 && bytes[end - 1] == '\n';
}

// The copy holds every section and line of the old file and every key written, and is whole.
bool HoldsOldAndKeys(const std::wstring& oldPath, const std::wstring& newPath, const std::vector<ProfileValue>& values) {
    std::string bytes;
    if (!ReadWholeFile(newPath, bytes) || !EndsWithLineBreak(bytes)) return false;
    std::vector<std::wstring> names = SectionNames(oldPath);
    for (const ProfileValue& value : values) {
        bool sectionWasThere = false;
        for (const std::wstring& name : names) sectionWasThere = sectionWasThere || IsWrittenIn(value, name);
        if (!sectionWasThere) names.emplace_back(value.section);
    }
    for (const std::wstring& name : names) {
        std::vector<bool> inOld, inNew;
        std::vector<std::wstring> before = WithoutKeys(SectionLines(oldPath, name), name, values, inOld);
        std::vector<std::wstring> after = WithoutKeys(SectionLines(newPath, name), name, values, inNew);
        if (before != after) return false;
        for (size_t k = 0; k < values.size(); ++k)
            if (IsWrittenIn(values[k], name) && !inNew[k]) return false;
    }
    return true;
}

// Every value at once: the copy needs UTF-16 when any of them does.
std::wstring AllValues(const std::vector<ProfileValue>& values) {
    std::wstring all;
    for (const ProfileValue& value : values) all += value.value;
    return all;
}

bool WriteValues(const std::wstring& path, const std::vector<ProfileValue>& values) {
    for (const ProfileValue& value : values)
        if (!WritePrivateProfileStringW(value.section, value.key, value.value.c_str(), path.c_str())) return false;
    return true;
}

// The profile functions may keep a parsed copy of a file they wrote or read, checked only by
// its write time; a file replaced within the same clock tick would otherwise be read as the
// copy. All three names absent asks them to write out and forget it.
void ForgetParsedCopy(const std::wstring& path) { WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str()); }

}  // namespace

bool WriteProfileKeysReplacing(const std::wstring& path, const std::vector<ProfileValue>& values, DWORD patience,
                               DWORD& error) {
    error = ERROR_INVALID_NAME;
    if (path.empty()) return false;
    std::string old;
    if (!ReadWholeFile(path, old)) old.clear();
    ReplacingFile file(path);
    bool written = file.Write(ProfileCopyFor(old, AllValues(values)));
    if (written) {
        ForgetParsedCopy(file.NewPath());
        written = WriteValues(file.NewPath(), values);
        error = written ? ERROR_SUCCESS : GetLastError();
        ForgetParsedCopy(file.NewPath());
    }
    if (!written) {
        error = file.Error() != ERROR_SUCCESS ? file.Error() : error;
        return false;
    }
    if (!HoldsOldAndKeys(path, file.NewPath(), values)) {
        error = ERROR_FILE_CORRUPT;
        return false;
    }
    ForgetParsedCopy(path);
    bool replaced = file.Commit(patience);
    ForgetParsedCopy(path);
    error = file.Error();
    return replaced;
}
