// Reading and writing the folder tree's [Tree] keys.
#include "settings/TreeSettings.h"

#include "settings/SettingKeys.h"

namespace {

std::wstring StoredDoubleClick(int command) { return std::to_wstring(command - settings::kDoubleClickCommandBase); }

}  // namespace

// The value is stored as an offset from the first play command, and "None" as minus that
// command, so that the offset arithmetic alone turns it into no command and back.
// Any other value, edited by hand, is the default rather than whatever command it names.
int LoadTreeDoubleClick(const SettingsFile& file) {
    int command = file.ReadInt(settings::kTreeDoubleClick) + settings::kDoubleClickCommandBase;
    if (command == 0 || settings::IsDoubleClickCommand(command)) return command;
    return settings::kTreeDoubleClick.intDefault + settings::kDoubleClickCommandBase;
}

void SaveTreeDoubleClick(const SettingsFile& file, int command) {
    file.WriteText(settings::kTreeDoubleClick, StoredDoubleClick(command));
}

std::wstring LoadTreeFolder(const SettingsFile& file) {
    return file.ReadText(settings::kTreeFolder);
}

void SaveTreeKeys(const SettingsFile& file, const std::wstring& path, int command) {
    file.WriteTexts({{&settings::kTreeFolder, path}, {&settings::kTreeDoubleClick, StoredDoubleClick(command)}});
}
