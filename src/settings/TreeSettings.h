// The folder tree's stored settings: its double-click command and the folder selected when it
// was last destroyed.
#pragma once

#include <string>

#include "settings/SettingsFile.h"

// The tree's double-click command when it has none: a double-click only opens or closes.
constexpr int kTreeNoDoubleClickCommand = 0;

// 3010-3013, or kTreeNoDoubleClickCommand for "None"; "Play" (3010) when never saved.
int LoadTreeDoubleClick(const SettingsFile& file);
void SaveTreeDoubleClick(const SettingsFile& file, int command);

// The path of the folder selected when the tree was destroyed; empty when none was.
std::wstring LoadTreeFolder(const SettingsFile& file);
// Both keys in one write of the file, as the tree saves them when it goes.
void SaveTreeKeys(const SettingsFile& file, const std::wstring& path, int command);
