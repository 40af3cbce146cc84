// The plugin record and its start-up, configure and shutdown entries, run by the host on its
// user-interface thread.
#include <windows.h>

#include "host/HostVersion.h"
#include "host/PluginRecord.h"
#include "settings/PluginContext.h"
#include "settings/SettingsFile.h"
#include "settings/SettingKeys.h"
#include "StringIds.h"

namespace {

constexpr wchar_t kRunningProperty[] = L"CV_20";

int __cdecl Init();
void __cdecl Config();
void __cdecl Quit();

PluginRecord record = {kPluginRecordVersion, "Crateview 2.02", Init, Config, Quit, nullptr, nullptr};

int __cdecl Init() {
    HWND host = record.hostWindow;
    if (GetPropW(host, kRunningProperty) == reinterpret_cast<HANDLE>(1)) return 1;
    SetPropW(host, kRunningProperty, reinterpret_cast<HANDLE>(1));

    if (!HostVersionSupported(host)) {
        MessageBoxW(nullptr, L"Crateview requires Winamp 5.33 or later.", L"Error",
                    MB_OK | MB_TOPMOST);
        return 0;
    }

    PluginContext& context = PluginContext::Create(record.instance);
    SettingsFile settings(context.GetPath(PathKind::kSettingsFile));
    bool firstRun = !settings.Exists();
    std::wstring language = settings.ReadText(settings::kLanguage);
    if (!language.empty()) context.LoadLanguageModule(language);
    if (firstRun) settings.WriteText(settings::kFileTypes, L"mp3;");
    return 0;
}

void __cdecl Config() {}

void __cdecl Quit() {
    if (record.hostWindow) RemovePropW(record.hostWindow, kRunningProperty);
    PluginContext::Destroy();
}

}  // namespace

PluginRecord* ThePluginRecord() { return &record; }
