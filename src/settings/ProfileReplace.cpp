// Replacing a settings file one key at a time through a checked copy.
#include "settings/ProfileReplace.h"

#include <windows.h>

#include <cwchar>
#include <functional>
#include <vector>

#include "base/ReplacingFile.h"
#include "base/Text.h"

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

// The line of the key, whatever its value, is taken out of both sides before they are compared.
std::vector<std::wstring> WithoutKey(std::vector<std::wstring> lines, const wchar_t* key, bool& found) {
    found = false;
    for (size_t i = lines.size(); i-- > 0;)
        if (IsLineOf(lines[i], key)) {
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
            found = true;
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

// The copy holds every section and line of the old file and the key, and is whole.
bool HoldsOldAndKey(const std::wstring& oldPath, const std::wstring& newPath, const wchar_t* section,
                    const wchar_t* key) {
    std::string bytes;
    if (!ReadWholeFile(newPath, bytes) || !EndsWithLineBreak(bytes)) return false;
    std::vector<std::wstring> names = SectionNames(oldPath);
    bool sectionWasThere = false;
    for (const std::wstring& name : names) sectionWasThere = sectionWasThere || EqualsNoCase(name, section);
    if (!sectionWasThere) names.emplace_back(section);
    for (const std::wstring& name : names) {
        bool keyInOld = false, keyInNew = false;
        std::vector<std::wstring> before = WithoutKey(SectionLines(oldPath, name), key, keyInOld);
        std::vector<std::wstring> after = WithoutKey(SectionLines(newPath, name), key, keyInNew);
        bool isKeySection = EqualsNoCase(name, section);
        if (before != after || (isKeySection && !keyInNew)) return false;
    }
    return true;
}

// The profile functions may keep a parsed copy of a file they wrote or read, checked only by
// its write time; a file replaced within the same clock tick would otherwise be read as the
// copy. All three names absent asks them to write out and forget it.
void ForgetParsedCopy(const std::wstring& path) { WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str()); }

}  // namespace

bool WriteProfileKeyReplacing(const std::wstring& path, const wchar_t* section, const wchar_t* key,
                              const std::wstring& value) {
    if (path.empty()) return false;
    std::string old;
    if (!ReadWholeFile(path, old)) old.clear();
    ReplacingFile file(path);
    if (!file.Write(old)) return false;
    ForgetParsedCopy(file.NewPath());
    bool written = WritePrivateProfileStringW(section, key, value.c_str(), file.NewPath().c_str()) != FALSE;
    ForgetParsedCopy(file.NewPath());
    if (!written || !HoldsOldAndKey(path, file.NewPath(), section, key)) return false;
    ForgetParsedCopy(path);
    bool replaced = file.Commit();
    ForgetParsedCopy(path);
    return replaced;
}
