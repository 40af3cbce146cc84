// The plugin record and its start-up, configure and shutdown entries, run by the host on its
// user-interface thread.
#include <windows.h>

#include "StringIds.h"
#include "Version.h"
#include "base/SafeFormat.h"
#include "bus/CommandCodes.h"
#include "bus/Messages.h"
#include "bus/WindowRegistry.h"
#include "host/EmbeddedFrame.h"
#include "host/HostApi.h"
#include "host/HostWindow.h"
#include "host/PluginRecord.h"
#include "scan/AbortScan.h"
#include "scan/MediaExtensions.h"
#include "settings/PluginContext.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsFile.h"

namespace {

constexpr wchar_t kRunningProperty[] = L"CV_20";
// The host encodes version 5.33 as 0x5033.
constexpr LRESULT kOldestHostVersion = 0x5033;

int __cdecl Init();
void __cdecl Config();
void __cdecl Quit();

PluginRecord record = {kPluginRecordVersion, "Crateview " CV_VERSION_TEXT, Init, Config, Quit, nullptr, nullptr};

// The process-wide objects of a running plugin.
Ref<HostWindow>& TheHostWindow() {
    static Ref<HostWindow> window;
    return window;
}
// Filled by the start-up command once the host's message loop delivers it.
EmbeddedFrame* frameSlot = nullptr;

// The registry keeps the last handle set; after Quit those windows are gone or the host's own,
// and a handle may be reused for another window by the time the plugin is started again.
void ForgetWindows() {
    for (WindowId id : {kTreeWindowId, kListWindowId, kHostWindowId, kPlaylistEditorWindowId, kMainViewWindowId,
                        kFrameWindowId})
        RegisterWindow(id, nullptr);
}

// Shown at most once per run of failing writes, which may be the many keys of a shutdown.
void ReportSettingsNotSaved(const std::wstring& path, DWORD) {
    std::wstring text = SafeFormat(GetString(kStrMsgSettingsNotSaved), {path});
    MessageBoxW(nullptr, text.c_str(), L"Error", MB_OK | MB_ICONWARNING | MB_TOPMOST);
}

bool IsRunningIn(HWND host) { return GetPropW(host, kRunningProperty) == reinterpret_cast<HANDLE>(1); }

int StartUp() {
    HWND host = record.hostWindow;
    if (IsRunningIn(host)) return 1;
    SetPropW(host, kRunningProperty, reinterpret_cast<HANDLE>(1));

    if (SendMessageW(host, kHostMessage, 0, kHostGetVersion) < kOldestHostVersion) {
        MessageBoxW(nullptr, L"Crateview requires Winamp 5.33 or later.", L"Error", MB_OK | MB_TOPMOST);
        return 0;
    }

    // A plugin started again in the same process begins a life of its own: the last life's
    // shutdown raised the abort flag, which would stop every scan of this one.
    LowerAbortScan();
    PluginContext& context = PluginContext::Create(record.instance);
    SettingsFile::SetWriteReport(&ReportSettingsNotSaved);
    SettingsFile settings(context.GetPath(PathKind::kSettingsFile));
    std::wstring language = settings.ReadText(settings::kLanguage);
    if (!language.empty()) context.LoadLanguageModule(language);
    if (!settings.Exists()) settings.WriteText(settings::kFileTypes, L"mp3;");

    TheHostWindow() = Ref<HostWindow>::Adopt(new HostWindow(host));
    PostMessageW(host, kCommandMessage, kCmdStartUp, reinterpret_cast<LPARAM>(&frameSlot));
    return 0;
}

int __cdecl Init() {
    try {
        return StartUp();
    } catch (...) {
        return 0;
    }
}

void __cdecl Config() {
    if (HWND frame = GetWindow(kFrameWindowId)) PostMessageW(frame, kCommandMessage, kCmdOpenPreferences, 0);
}

// A host may call Quit without closing first (its own shutdown failed half-way, or it never
// sends the close request): the close sequence then runs here, so that scans stop, the view
// saves what it remembers and no host window is left routed into this module.
void __cdecl Quit() {
    try {
        if (record.hostWindow) RemovePropW(record.hostWindow, kRunningProperty);
        Ref<HostWindow> host = TheHostWindow();
        if (host) host->CloseView();
        if (EmbeddedFrame* frame = frameSlot) {
            frameSlot = nullptr;
            frame->Release();
        }
        // Nothing may route into this module once the host unloads it.
        if (host) {
            host->RemoveMenuEntries();
            host->Unbind();
            host.Reset();
            TheHostWindow().Reset();
        }
        // Asked of the host afresh by the next life, which may run in another host.
        ReleaseSharedMediaExtensions();
        ForgetWindows();
        // Its message comes from the context's strings.
        SettingsFile::SetWriteReport(nullptr);
        PluginContext::Destroy();
    } catch (...) {
    }
}

}  // namespace

PluginRecord* ThePluginRecord() { return &record; }
