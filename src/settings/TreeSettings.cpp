// Reading and writing the folder tree's [Tree] keys.
#include "settings/TreeSettings.h"

#include "settings/SettingKeys.h"

// The value is stored as an offset from the first play command, and "None" as minus that
// command, so that the offset arithmetic alone turns it into no command and back.
int LoadTreeDoubleClick(const SettingsFile& file) {
    return file.ReadInt(settings::kTreeDoubleClick) + settings::kDoubleClickCommandBase;
}

void SaveTreeDoubleClick(const SettingsFile& file, int command) {
    file.WriteInt(settings::kTreeDoubleClick, command - settings::kDoubleClickCommandBase);
}

std::wstring LoadTreeFolder(const SettingsFile& file) {
    return file.ReadText(settings::kTreeFolder);
}

void SaveTreeFolder(const SettingsFile& file, const std::wstring& path) {
    file.WriteText(settings::kTreeFolder, path);
}
