// Every section and key of the settings file with its type, buffer length and default: the
// one place that knows them.
#pragma once

enum class SettingType { kFlag, kInteger, kText };

struct SettingKey {
    const wchar_t* section;
    const wchar_t* key;
    SettingType type;
    int intDefault;             // flags and integers
    const wchar_t* textDefault; // text
    int bufferLength;           // text: characters read, terminator included
};

namespace settings {
extern const SettingKey kLanguage;
extern const SettingKey kFileTypes;
}  // namespace settings
