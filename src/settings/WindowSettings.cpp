// Reading and writing the frame window's [Window] keys.
#include "settings/WindowSettings.h"

#include "settings/SettingKeys.h"

void WindowSettings::Load(const SettingsFile& file) {
    frame.left = file.ReadInt(settings::kWindowLeft);
    frame.top = file.ReadInt(settings::kWindowTop);
    frame.right = file.ReadInt(settings::kWindowRight);
    frame.bottom = file.ReadInt(settings::kWindowBottom);
    visible = file.ReadFlag(settings::kWindowVisible);
}

void WindowSettings::Save(const SettingsFile& file) const {
    file.WriteInt(settings::kWindowLeft, frame.left);
    file.WriteInt(settings::kWindowTop, frame.top);
    file.WriteInt(settings::kWindowRight, frame.right);
    file.WriteInt(settings::kWindowBottom, frame.bottom);
    file.WriteFlag(settings::kWindowVisible, visible);
}
