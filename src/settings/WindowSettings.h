// The frame window's stored rectangle and visibility, handed to the host when the frame is
// created and saved when it closes.
#pragma once

#include <windows.h>

#include "settings/SettingsFile.h"

struct WindowSettings {
    RECT frame{};
    bool visible = false;  // shown at start-up when it was visible at the last close

    void Load(const SettingsFile& file);
    void Save(const SettingsFile& file) const;
};
