// The host main window's object: start-up, tag requests, the menu entry, keys and closing.
#include "host/HostWindow.h"

#include <string>

#include "base/Text.h"
#include "base/TextObject.h"
#include "bus/CommandCodes.h"
#include "bus/Messages.h"
#include "bus/WindowRegistry.h"
#include "db/FileRecord.h"
#include "host/EmbeddedFrame.h"
#include "host/HostApi.h"
#include "host/HostMenuEntry.h"
#include "scan/AbortScan.h"
#include "scan/TagRequest.h"

namespace {

constexpr WPARAM kKeyD = 0x44;
constexpr WPARAM kKeyS = 0x53;
const wchar_t kModernSkinClassPrefix[] = L"BaseWindow_RootWnd";

struct ModernSkinSearch {
    DWORD thread;
    bool found;
};

BOOL CALLBACK FindModernSkinWindow(HWND window, LPARAM lp) {
    auto* search = reinterpret_cast<ModernSkinSearch*>(lp);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    std::wstring text = name;
    if (text.size() >= wcslen(kModernSkinClassPrefix) && SharedPrefixEqualsNoCase(text, kModernSkinClassPrefix)) {
        search->found = true;
        return FALSE;
    }
    return TRUE;
}

bool FrameVisible() {
    HWND frame = GetWindow(kFrameWindowId);
    return frame && IsWindowVisible(frame);
}

}  // namespace

HostWindow::HostWindow(HWND host)
    : WindowObject(host),
      menuCommandId_(static_cast<UINT>(SendMessageW(host, kHostMessage, 0, kHostNewCommandId))) {
    RegisterWindow(kHostWindowId, host);
    auto editor = reinterpret_cast<HWND>(SendMessageW(host, kHostMessage, 1, kHostGetWindow));
    if (editor) editor_ = Ref<PlaylistEditorWindow>::Adopt(new PlaylistEditorWindow(editor, host));
}

// The editor must never be left subclassed with no object behind it.
HostWindow::~HostWindow() {
    if (editor_) editor_->Unbind();
}

void HostWindow::RemoveMenuEntries() const {
    HWND host = Window();
    if (!host) return;
    for (WPARAM which : {0, 4}) {
        auto menu = reinterpret_cast<HMENU>(SendMessageW(host, kHostMessage, which, kHostGetMenu));
        if (menu && IsMenu(menu)) DeleteMenu(menu, menuCommandId_, MF_BYCOMMAND);
    }
}

bool HostWindow::ModernSkin() {
    if (modernSkin_ < 0) {
        ModernSkinSearch search = {GetWindowThreadProcessId(Window(), nullptr), false};
        EnumThreadWindows(search.thread, &FindModernSkinWindow, reinterpret_cast<LPARAM>(&search));
        modernSkin_ = search.found ? 1 : 0;
    }
    return modernSkin_ == 1;
}

void HostWindow::ToggleFrame() {
    HWND frame = GetWindow(kFrameWindowId);
    if (!frame) return;
    if (IsWindowVisible(frame)) PostMessageW(frame, kHideFrameMessage, 0, 0);
    else PostMessageW(frame, kCommandMessage, kCmdShowFrame, 0);
}

void HostWindow::PostToggle() const { PostMessageW(Window(), WM_COMMAND, menuCommandId_, 0); }

LRESULT HostWindow::OnCommandMessage(HWND window, UINT, WPARAM wp, LPARAM lp) {
    if (wp == kCmdStartUp) {
        // A host that closed before its loop delivered this gets no frame to make at shutdown.
        auto* slot = reinterpret_cast<EmbeddedFrame**>(lp);
        if (slot && !*slot && !closing_) *slot = CreateEmbeddedFrame(window);
        return 1;
    }
    // Any other word should name a file record whose tags the worker wants read on this thread.
    // The message is open to every program and plugin that can reach the host's window, so the
    // word is looked up among the worker's own requests before anything is read through it;
    // what is not ours is the host's business. Once closing, the host is not asked: the worker
    // is being stopped, and the host may already be letting go of what reads the files.
    if (closing_) return 0;
    Ref<FileRecord> record = AwaitedTagRequest(reinterpret_cast<const void*>(wp));
    if (!record) return CallSaved(window, kCommandMessage, wp, lp);
    return ReadTags(window, *record) ? 1 : 0;
}

LRESULT HostWindow::OnInitMenuPopup(HWND window, UINT, WPARAM wp, LPARAM) {
    auto menu = reinterpret_cast<HMENU>(wp);
    auto mainMenu = reinterpret_cast<HMENU>(SendMessageW(window, kHostMessage, 0, kHostGetMenu));
    auto secondMenu = reinterpret_cast<HMENU>(SendMessageW(window, kHostMessage, 4, kHostGetMenu));
    if (!menu || (menu != mainMenu && menu != secondMenu)) return 1;
    MenuEntryContext context = {menuCommandId_, FrameVisible(), false};
    if (menu == mainMenu) {
        context.modernSkin = ModernSkin();
        UpdateMainMenuEntry(menu, context);
    } else {
        UpdateSecondMenuEntry(menu, context);
    }
    return 1;
}

LRESULT HostWindow::OnCommand(HWND, UINT, WPARAM wp, LPARAM) {
    if (LOWORD(wp) == menuCommandId_) ToggleFrame();
    return 1;
}

// With Alt held a key reaches a window as a system key, never as a plain key down.
LRESULT HostWindow::OnSysKeyDown(HWND, UINT, WPARAM wp, LPARAM lp) {
    if (wp == kKeyD && (HIWORD(lp) & KF_ALTDOWN)) PostToggle();
    return 1;
}

// Virtual-key codes are compared exactly: the lower-case letters' character codes are other
// keys' codes ('s' is F4, 'd' is Numpad 4), and taking them for letters swallowed Alt+F4.
void HostWindow::OnQueuedKey(MSG& message) const {
    if (message.message != WM_SYSKEYDOWN) return;
    WPARAM key = message.wParam;
    if (key == kKeyD) {
        PostToggle();
    } else if (key == kKeyS) {
        HWND frame = GetWindow(kFrameWindowId);
        HWND focus = GetFocus();
        if (frame && focus && (focus == frame || IsChild(frame, focus))) {
            if (HWND view = GetWindow(kMainViewWindowId)) {
                HWND search = GetDlgItem(view, kSearchControl);
                PostMessageW(view, kCommandMessage, kCmdFocusControl, reinterpret_cast<LPARAM>(search));
                // As when the pane takes the key: the text is selected, ready to be typed over.
                PostMessageW(search, EM_SETSEL, 0, -1);
            }
            message.wParam = 0;  // the host drops the key
        }
    }
}

LRESULT HostWindow::OnHostMessage(HWND, UINT message, WPARAM wp, LPARAM lp) {
    if (message != kHostMessage) return 1;
    if (lp == kHostQueuedMessage && wp) {
        OnQueuedKey(*reinterpret_cast<MSG*>(wp));
    } else if (lp == kHostFileStarted && wp) {
        if (HWND view = GetWindow(kMainViewWindowId))
            SendMessageW(view, kCommandMessage, kCmdPlayingFileChanged,
                         PassText(reinterpret_cast<const wchar_t*>(wp)));
    }
    return 1;
}

// The player announces a new skin on its own window only; the view, a child of a frame, hears
// of it from here so that it shows the new skin at once.
LRESULT HostWindow::OnDisplayChange(HWND, UINT, WPARAM wp, LPARAM lp) {
    modernSkin_ = -1;
    if (HWND view = GetWindow(kMainViewWindowId)) SendMessageW(view, WM_DISPLAYCHANGE, wp, lp);
    return 1;
}

// Runs once: the host may close again after the posted WM_CLOSE, and the view is gone by then.
// Raising the abort flag first makes a running scan stop at its next folder, so that the wait
// for the worker at Quit stays short.
void HostWindow::CloseView() {
    if (closing_) return;
    closing_ = true;
    RaiseAbortScan();
    if (editor_) {
        editor_->Unbind();
        editor_.Reset();
    }
    HWND view = GetWindow(kMainViewWindowId);
    if (view) {
        SendMessageW(view, kCommandMessage, kCmdCloseView, 0);
        if (HWND list = GetDlgItem(view, kListControl)) SendMessageW(list, WM_CLOSE, 0, 0);
        if (HWND search = GetDlgItem(view, kSearchControl)) SendMessageW(search, WM_CLOSE, 0, 0);
    }
}

LRESULT HostWindow::OnClose(HWND window, UINT, WPARAM, LPARAM) {
    bool first = !closing_;
    CloseView();
    if (first) PostMessageW(window, WM_CLOSE, 0, 0);
    return 1;
}

LRESULT HostWindow::OnQueryEndSession(HWND window, UINT, WPARAM, LPARAM) {
    SendMessageW(window, WM_CLOSE, 0, 0);
    return 1;
}
