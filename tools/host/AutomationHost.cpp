// Host commands: the host's playlist and playback, the plugin's settings file, the skin,
// screenshots, pauses and quitting.
#include <windows.h>

#include <shlobj.h>

#include "base/Gdi.h"
#include "AutomationCommon.h"
#include "HostApp.h"
#include "HostCapture.h"
#include "HostFrames.h"
#include "HostMenus.h"
#include "HostPlaylist.h"
#include "HostPrefs.h"
#include "HostSkin.h"
#include "HostTagDelay.h"
#include "HostTasks.h"
#include "base/Path.h"
#include "base/Text.h"
#include "base/Unique.h"
#include "logic/PngWriter.h"
#include "logic/ScriptLine.h"

namespace {

void OnPlaylist(const std::wstring&) {
    std::vector<std::wstring> lines;
    RunOnUi([&] {
        const PlaylistModel& model = ThePlaylist();
        for (int i = 0; i < model.Length(); ++i) {
            const PlaylistEntry* entry = model.At(i);
            lines.push_back(FormatInt(i) + L"\t" + entry->path + L"\t" + EscapeForLine(entry->title) + L"\t" +
                            FormatInt(entry->lengthSeconds));
        }
    });
    for (const std::wstring& line : lines) Say(line);
}

void OnPlay(const std::wstring& argument) {
    int index = 0;
    if (!ParseInt(argument, index)) return Say(L"play: expected an entry number");
    std::wstring outcome;
    RunOnUi([&] {
        if (!ThePlaylist().At(index)) {
            outcome = L"no entry: " + argument;
            return;
        }
        ThePlaylist().SetPosition(index);
        PostMessageW(Host().mainWindow, WM_COMMAND, kCmdPlay, 0);
    });
    if (!outcome.empty()) Say(outcome);
    SettleUi();
}

std::wstring DocumentsFolder() {
    if (!Host().options.documents.empty()) return Host().options.documents;
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

// Private-profile files are 8-bit text unless they start with a UTF-16 byte-order mark.
std::wstring DecodeSettings(const std::string& bytes) {
    if (bytes.size() >= 2 && static_cast<uint8_t>(bytes[0]) == 0xFF && static_cast<uint8_t>(bytes[1]) == 0xFE)
        return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) return Utf8ToWide(bytes.substr(3));
    int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(length, L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), &text[0], length);
    return text;
}

void OnSettings(const std::wstring&) {
    std::wstring path = JoinPath(DocumentsFolder(), L"Crateview\\gen_cv.ini");
    UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return Say(L"no settings file");
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0) bytes.append(buffer, read);
    std::wstring text = DecodeSettings(bytes);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = text.substr(start, end - start);
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        Say(line);
        start = end + 1;
    }
}

void OnSkinChange(const std::wstring&) {
    RunOnUi([] { ChangeSkin(); });
    SettleUi();
}

// "skin FILE.bmp" wears a skin file, "skin default" and "skin dark" the host's own ones; the
// plugin gets the notice the player sends after the user chose another skin.
void OnSkin(const std::wstring& argument) {
    if (argument.empty()) return Say(L"skin: expected default, dark or a bitmap file");
    bool worn = true;
    std::wstring path = argument == L"default" || argument == L"dark" ? L"" : NormalizeHostPath(argument);
    RunOnUi([&] {
        if (path.empty()) UseSkin(argument == L"dark");
        else worn = UseSkinFile(path);
    });
    SettleUi();
    if (!worn) return Say(L"skin: " + path + L" is not a bitmap file");
    Say(L"skin: " + (path.empty() ? argument : path));
}

void OnSleep(const std::wstring& argument) {
    int ms = 0;
    if (!ParseInt(argument, ms) || ms < 0) return Say(L"sleep: expected milliseconds");
    Sleep(ms);
}

// --- screenshots -------------------------------------------------------------------------

class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetWindowDC(window)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// The whole window, frame included, as top-down RGB rows; with menus, the screen area that holds
// the window and every open menu level, as a user sees them over it. A window is captured on the
// user-interface thread; menus from the script thread, since the menu's own loop owns that one.
bool CaptureWindow(HWND window, int& width, int& height, std::vector<uint8_t>& rgb,
                   const std::vector<HWND>& menus = {}) {
    if (menus.empty())
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT r;
    GetWindowRect(window, &r);
    for (HWND menu : menus) {
        RECT m;
        if (GetWindowRect(menu, &m)) UnionRect(&r, &r, &m);
    }
    width = r.right - r.left;
    height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return false;
    WindowDc screen(menus.empty() ? window : nullptr);
    CaptureBitmap capture(screen.get(), width, height);
    if (!capture) return false;
    // A hidden window has nothing on screen to copy; it is asked to print itself instead.
    int x = menus.empty() ? 0 : r.left, y = menus.empty() ? 0 : r.top;
    if (IsWindowVisible(window)) BitBlt(capture.Dc(), 0, 0, width, height, screen.get(), x, y, SRCCOPY);
    else PrintWindow(window, capture.Dc(), 0);
    const DWORD* pixels = capture.Pixels();
    rgb.resize(static_cast<size_t>(width) * height * 3);
    for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i) {
        rgb[i * 3] = static_cast<uint8_t>(pixels[i] >> 16);
        rgb[i * 3 + 1] = static_cast<uint8_t>(pixels[i] >> 8);
        rgb[i * 3 + 2] = static_cast<uint8_t>(pixels[i]);
    }
    return true;
}

HWND ScreenshotTarget(const std::wstring& which) {
    if (which.empty() || which == L"frame") return FindFrame();
    if (which == L"main") return Host().mainWindow;
    if (which == L"playlist") return Host().playlistEditor;
    if (which == L"prefs") return PrefsWindow();
    if (which == L"dialog") {
        HWND active = GetActiveWindow();
        return active && ClassNameOf(active) == L"#32770" ? active : nullptr;
    }
    return nullptr;
}

void OnScreenshot(const std::wstring& argument) {
    std::vector<std::wstring> words = SplitWords(argument);
    if (words.empty()) return Say(L"screenshot: expected a file name");
    std::wstring path = NormalizeHostPath(words[0]);
    std::wstring which = words.size() > 1 ? words[1] : L"";
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
    bool found = false, captured = false;
    if (which == L"menu") {
        // A menu the last line opened may still be on its way to the screen.
        std::vector<HWND> menus = OpenMenuWindows();
        for (DWORD start = GetTickCount(); menus.empty() && GetTickCount() - start < 2000; menus = OpenMenuWindows())
            Sleep(50);
        Sleep(200);  // and paint its items
        HWND frame = nullptr;
        RunOnUi([&] {
            // The view paints itself fully first; the menus are windows of their own above it.
            frame = ScreenshotTarget(L"");
            if (frame) RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
            for (HWND menu : menus) RedrawWindow(menu, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
        });
        if (!frame || menus.empty()) return Say(L"screenshot: no open menu");
        found = true;
        captured = CaptureWindow(frame, width, height, rgb, menus);
    } else {
        RunOnUi([&] {
            HWND window = ScreenshotTarget(which);
            found = window != nullptr;
            captured = found && CaptureWindow(window, width, height, rgb);
        });
    }
    if (!found) return SayUnsupported();
    if (!captured) return Say(L"screenshot: the window could not be captured");
    CreateFolderIfMissing(ParentPath(path));
    if (!WritePngFile(path, width, height, rgb)) return Say(L"screenshot: cannot write " + path);
    Say(L"screenshot: " + FormatInt(width) + L"x" + FormatInt(height));
}

void OnQuit(const std::wstring&) {
    // As a user closing the player: the main window is asked to close, and the host's
    // shutdown (Quit, unloading, the object counts) follows once its message loop ends.
    ReleaseTagDelays();
    RunOnUi([] { PostMessageW(Host().mainWindow, WM_CLOSE, 0, 0); });
}

}  // namespace

extern const CommandEntry kHostCommands[] = {
    {L"playlist", &OnPlaylist},
    {L"play", &OnPlay},
    {L"settings", &OnSettings},
    {L"skin-change", &OnSkinChange},
    {L"skin", &OnSkin},
    {L"screenshot", &OnScreenshot},
    {L"sleep", &OnSleep},
    {L"quit", &OnQuit},
    {nullptr, nullptr},
};
