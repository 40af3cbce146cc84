// Reads a settings file the way a user looking at it would: as text, section by section.
#pragma once

#include <string>
#include <vector>

#include "base/Text.h"
#include "support/TempFolder.h"

struct IniEntry {
    std::string key;
    std::string value;
};

// The file's text as UTF-8 when it was written as UTF-16 (after its byte-order mark), else its
// bytes as they are.
inline std::string IniFileText(const std::wstring& path) {
    std::string bytes = ReadBytes(path);
    if (bytes.compare(0, 2, "\xFF\xFE") != 0) return bytes;
    std::wstring text;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2)
        text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8);
    return WideToUtf8(text);
}

// The entries of one section in file order; empty when the file or section is missing.
inline std::vector<IniEntry> SectionEntries(const std::wstring& path, const std::string& section) {
    std::string text = IniFileText(path);
    std::vector<IniEntry> entries;
    bool inSection = false;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line.front() == '[') {
            inSection = line == "[" + section + "]";
        } else if (inSection) {
            size_t eq = line.find('=');
            if (eq == std::string::npos) continue;
            entries.push_back({line.substr(0, eq), line.substr(eq + 1)});
        }
    }
    return entries;
}

inline std::vector<std::string> SectionKeys(const std::wstring& path, const std::string& section) {
    std::vector<std::string> keys;
    for (const IniEntry& entry : SectionEntries(path, section)) keys.push_back(entry.key);
    return keys;
}

// The value as written, or "<absent>".
inline std::string StoredValue(const std::wstring& path, const std::string& section,
                               const std::string& key) {
    for (const IniEntry& entry : SectionEntries(path, section))
        if (entry.key == key) return entry.value;
    return "<absent>";
}
