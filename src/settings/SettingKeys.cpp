// The table of settings keys.
#include "settings/SettingKeys.h"

namespace settings {
const SettingKey kLanguage = {L"General", L"Language", SettingType::kText, 0, L"", 260};
const SettingKey kFileTypes = {L"General", L"File types", SettingType::kText, 0, L"", 2048};
}  // namespace settings
