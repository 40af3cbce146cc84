// The host main window and its request table. Requests arrive as message 1024 with the
// request number in the long parameter; each number maps to one handler of the part of the
// host that owns that data.
#include "HostWindow.h"

#include <windowsx.h>

#include <cwchar>
#include <string>

#include "HostApp.h"
#include "HostFrames.h"
#include "HostMenus.h"
#include "HostOutput.h"
#include "HostPlayback.h"
#include "HostPlaylist.h"
#include "HostPrefs.h"
#include "HostServices.h"
#include "HostSkin.h"
#include "HostTags.h"
#include "HostTasks.h"
#include "PlayerInterface.h"

namespace {

constexpr wchar_t kMainClass[] = L"CvHostMain";

LRESULT OnVersion(WPARAM) { return Host().options.version; }

LRESULT OnRestart(WPARAM) {
    OutputLine(L"host: restart requested");
    return 0;
}

LRESULT OnUnknownRequest(WPARAM) { return 0; }

struct RequestEntry {
    LPARAM request;
    LRESULT (*handler)(WPARAM);
};

const RequestEntry kRequests[] = {
    {standin::kGetVersion, &OnVersion},
    {standin::kClearPlaylist, &OnClearPlaylist},
    {standin::kGetPlaybackState, &OnPlaybackState},
    {standin::kSetPlaylistPosition, &OnSetPlaylistPosition},
    {standin::kGetPlaylistLength, &OnPlaylistLength},
    {standin::kGetPlaylistPosition, &OnPlaylistPosition},
    {standin::kRestart, &OnRestart},
    {standin::kGetPlaylistEntryPath, &OnPlaylistEntryPath},
    {standin::kGetShuffle, &OnGetShuffle},
    {standin::kSetShuffle, &OnSetShuffle},
    {standin::kGetWindow, &OnGetWindow},
    {standin::kGetMenu, &OnGetMenu},
    {standin::kFormatTitle, &OnFormatTitle},
    {standin::kRegisterPrefsPage, &OnRegisterPrefsPage},
    {standin::kUnregisterPrefsPage, &OnUnregisterPrefsPage},
    {standin::kOpenPrefs, &OnOpenPrefs},
    {standin::kGetSkinColorBitmap, &OnSkinBitmap},
    {standin::kCreateFrame, &OnCreateFrame},
    {standin::kIsFrameWindow, &OnIsFrameWindow},
    {standin::kEnqueueFile, &OnEnqueueFile},
    {standin::kGetPlayableExtensions, &OnPlayableExtensions},
    {standin::kShowFileInfo, &OnFileInfoDialog},
    {standin::kNewCommandId, &OnNewCommandId},
    {standin::kGetServiceManager, &OnServiceManager},
    {standin::kGetExtendedFileInfo, &OnExtendedFileInfo},
};

LRESULT OnRequest(WPARAM wp, LPARAM request) {
    for (const RequestEntry& entry : kRequests)
        if (entry.request == request) return entry.handler(wp);
    return OnUnknownRequest(wp);
}

void ToggleEditor() {
    HWND editor = Host().playlistEditor;
    ShowWindow(editor, IsWindowVisible(editor) ? SW_HIDE : SW_SHOW);
}

void OnCommand(UINT id) {
    switch (id) {
        case kCmdPlay: Play(); break;
        case kCmdPause: Pause(); break;
        case kCmdStop: Stop(); break;
        case kCmdPreferences: OpenPrefs(nullptr); break;
        case kCmdShowEditor: ToggleEditor(); break;
        case kCmdSkinDefault: UseSkin(false); break;
        case kCmdSkinDark: UseSkin(true); break;
        case kCmdExit: PostMessageW(Host().mainWindow, WM_CLOSE, 0, 0); break;
    }
}

void OnContextMenu(HWND window, LPARAM lp) {
    POINT at = {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    if (at.x == -1 && at.y == -1) {
        at = {0, 0};
        ClientToScreen(window, &at);
    }
    TrackPopupMenu(MainMenu(), TPM_RIGHTBUTTON, at.x, at.y, 0, window, nullptr);
}

// The close sequence: the plugin sees WM_CLOSE first (it subclasses this window) and may post
// more messages for its own windows; the loop ends only after those have been delivered.
void OnClose() {
    if (Host().closing) return;
    Host().closing = true;
    ShowWindow(Host().playlistEditor, SW_HIDE);
    PostMessageW(TaskWindow(), kMsgFinishQuit, 0, 0);
}

// Alt keys arrive here from the plugin's panes as well as from the keyboard; the line lets a
// script see that they reached the host. Default handling then runs the host's own shortcuts.
void LogAltKey(WPARAM key, LPARAM lp) {
    if (!(HIWORD(lp) & KF_ALTDOWN)) return;
    wchar_t name[16];
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) swprintf(name, 16, L"%c", static_cast<wchar_t>(key));
    else if (key >= VK_F1 && key <= VK_F24) swprintf(name, 16, L"F%u", static_cast<unsigned>(key - VK_F1 + 1));
    else swprintf(name, 16, L"0x%02X", static_cast<unsigned>(key));
    OutputLine(std::wstring(L"host: key Alt+") + name);
}

void OnPaint(HWND window) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT r;
    GetClientRect(window, &r);
    SetBkMode(dc, TRANSPARENT);
    std::wstring skin = SkinCaption();
    std::wstring caption = skin.empty() ? L"Stand-in player" : L"Stand-in player (" + skin + L")";
    DrawTextW(dc, caption.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EndPaint(window, &ps);
}

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    switch (message) {
        case standin::kRequestMessage:
            return OnRequest(wp, lp);
        case WM_COMMAND:
            OnCommand(LOWORD(wp));
            return 0;
        case WM_CONTEXTMENU:
            OnContextMenu(window, lp);
            return 0;
        case WM_SYSKEYDOWN:
            LogAltKey(wp, lp);
            break;
        case WM_PAINT:
            OnPaint(window);
            return 0;
        case WM_CLOSE:
            OnClose();
            return 0;
    }
    return DefWindowProcW(window, message, wp, lp);
}

}  // namespace

HWND CreateHostWindow(HINSTANCE instance) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = MainProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kMainClass;
    RegisterClassW(&wc);
    return CreateWindowW(kMainClass, L"Crateview stand-in player", WS_OVERLAPPEDWINDOW, 40, 40, 420, 160,
                         nullptr, MenuBar(), instance, nullptr);
}
