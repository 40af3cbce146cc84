// The stand-in player's entry: reads the command line, builds the host's windows, loads and
// starts the plugin, runs the message loop (and the automation script when one is given),
// and shuts the plugin down the way the player does.
#include <windows.h>

#include <commctrl.h>
#include <ole2.h>

#include <vector>

#include "Automation.h"
#include "HostApp.h"
#include "HostDocuments.h"
#include "HostFrames.h"
#include "base/GuiObjects.h"
#include "HostMenus.h"
#include "HostMessageLoop.h"
#include "HostOutput.h"
#include "HostPlaylist.h"
#include "HostPlugin.h"
#include "HostPrefs.h"
#include "HostServices.h"
#include "HostSkin.h"
#include "HostTasks.h"
#include "HostWindow.h"
#include "OtherPlugin.h"
#include "base/Text.h"

namespace {

constexpr int kExitPluginLeftSomething = 3;

class OleSession {
public:
    OleSession() : ok_(SUCCEEDED(OleInitialize(nullptr))) {}
    ~OleSession() {
        if (ok_) OleUninitialize();
    }
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;

private:
    bool ok_;
};

bool ReadOptions(int argc, wchar_t** argv) {
    std::vector<std::wstring> args(argv + 1, argv + argc);
    HostOptions& options = Host().options;
    options = ParseHostOptions(args);
    if (!options.error.empty()) {
        OutputLine(L"host: " + options.error);
        OutputLine(HostUsage());
        return false;
    }
    options.plugin = NormalizeHostPath(options.plugin);
    options.documents = NormalizeHostPath(options.documents);
    options.script = NormalizeHostPath(options.script);
    options.skin = NormalizeHostPath(options.skin);
    // A skin that cannot be worn is said at once, not found out from a view in the wrong colours.
    if (!options.skin.empty() && !IsSkinFile(options.skin)) {
        OutputLine(L"host: --skin " + options.skin + L" is not a bitmap file");
        return false;
    }
    Host().skin.file = options.skin;
    return true;
}

void CreateHostWindows() {
    HostState& host = Host();
    CreateTaskWindow(host.instance);
    CreateHostMenus();
    if (!host.skin.file.empty()) CheckSkinItem(0);
    host.mainWindow = CreateHostWindow(host.instance);
    host.playlistEditor = CreatePlaylistEditor(host.instance, host.mainWindow);
    ShowWindow(host.mainWindow, SW_SHOWNORMAL);
    ShowWindow(host.playlistEditor, SW_SHOWNOACTIVATE);
    UpdateWindow(host.mainWindow);
}

void DestroyHostWindows() {
    HostState& host = Host();
    if (IsWindow(host.playlistEditor)) DestroyWindow(host.playlistEditor);
    if (IsWindow(host.mainWindow)) {
        SetMenu(host.mainWindow, nullptr);
        DestroyWindow(host.mainWindow);
    }
    host.playlistEditor = host.mainWindow = nullptr;
    DestroyHostMenus();
    DestroyTaskWindow();
}

void PrepareModule(HostPlugin& plugin) {
    const HostOptions& options = Host().options;
    if (!options.documents.empty() && !RedirectDocuments(plugin.module(), options.documents))
        OutputLine(L"host: the plugin does not ask the shell for the documents folder; --documents has no effect");
    if (!options.script.empty()) InstallAutomationHooks(plugin.module());
}

// The host's windows our plugin must have given back their own procedures: those the other
// plugin hooked carry its procedure instead, and it checks them itself.
std::vector<HWND> WindowsToGiveBack() {
    std::vector<HWND> windows = HostFrames();
    windows.push_back(Host().mainWindow);
    windows.push_back(Host().playlistEditor);
    std::vector<HWND> given;
    for (HWND window : windows)
        if (!OtherPluginHooked(window)) given.push_back(window);
    return given;
}

// The player's shutdown: the plugin's pages close, the plugin quits while its frames still
// exist, then the frames go and the module is unloaded; another plugin quits last. Answers
// false when the plugin left anything of its own on the host's windows or services, freed a
// record the host still writes, or left a way into its unloaded code: the player would crash
// or misbehave where this host only reports it. Each check prints what it found.
bool ShutDown(HostPlugin& plugin) {
    ClosePrefs();
    plugin.Quit();
    bool clean = true;
    clean &= plugin.CheckProceduresGiven(WindowsToGiveBack());
    clean &= ReportServicesLeft();
    clean &= ReportMenuItemsLeft(PlaylistEditorMenu());
    clean &= ReportPrefsPagesLeft(plugin.module());
    clean &= OtherPluginHooksKept();
    DestroyFrames();
    plugin.Unload();
    clean &= FrameRecordsHeld();
    clean &= PluginFaults() == 0;
    clean &= OtherPluginOutlivesUnload(plugin.FormerRange());
    return clean;
}

}  // namespace

HostState& Host() {
    static HostState state;
    return state;
}

int wmain(int argc, wchar_t** argv) {
    if (!ReadOptions(argc, argv)) return 2;
    OleSession ole;
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    HostState& host = Host();
    host.instance = GetModuleHandleW(nullptr);
    host.uiThreadId = GetCurrentThreadId();
    CreateHostWindows();

    bool automated = !host.options.script.empty();
    if (automated) StartMessageBoxWatcher();
    GuiObjectCounts before = CountGuiObjects();
    HostPlugin plugin;
    int exitCode = 0;
    if (plugin.Load(host.options.plugin)) {
        host.plugin = plugin.module();
        PrepareModule(plugin);
        plugin.Start(host.mainWindow);
        // Posted behind the plugin's start-up command, so that its frame exists by then.
        if (host.options.otherPlugin) PostToUi(&StartOtherPlugin);
        if (automated) StartScript(host.options.script);
        exitCode = RunHostMessageLoop();
        if (!ShutDown(plugin) && exitCode == 0) exitCode = kExitPluginLeftSomething;
        host.plugin = nullptr;
    } else {
        exitCode = 1;
    }
    GuiObjectCounts after = CountGuiObjects();
    OutputLine(L"host: gdi " + FormatInt(before.gdi) + L"->" + FormatInt(after.gdi) + L" user " +
               FormatInt(before.user) + L"->" + FormatInt(after.user));
    if (automated) StopAutomation();
    if (automated && UnexpectedMessageBoxes() > 0 && exitCode == 0) exitCode = kExitUnexpectedBox;
    DestroyHostWindows();
    return exitCode;
}
