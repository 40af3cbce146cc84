// The view's command bus: command codes dispatched through a table to their handlers.
#include <iterator>

#include "base/TextObject.h"
#include "host/HostAccelerators.h"
#include "host/HostWindow.h"
#include "settings/PluginContext.h"
#include "StringIds.h"
#include "ui/framework/Messages.h"
#include "ui/framework/WindowRegistry.h"
#include "ui/view/CommandCodes.h"
#include "ui/view/MainView.h"

namespace {

const wchar_t kNotAvailable[] = L"n/a";

LRESULT FocusWindow(LPARAM window) {
    if (auto target = reinterpret_cast<HWND>(window); target && IsWindow(target)) SetFocus(target);
    return TRUE;
}

// Worker threads never show a box themselves; they hand the text to the view.
LRESULT ShowMessage(LPARAM lp) {
    Ref<TextObject> text = AdoptText(lp);
    if (text) MessageBoxW(nullptr, text->text.c_str(), L"Error", MB_OK | MB_ICONERROR | MB_TOPMOST);
    return TRUE;
}

LRESULT CloseFrame() {
    if (HWND frame = GetWindow(kFrameWindowId)) SendMessageW(frame, WM_CLOSE, 0, 0);
    return TRUE;
}

// One item per playlist root goes here; with none, one greyed item says so.
LRESULT FillSendToMenu(LPARAM lp) {
    auto* menu = reinterpret_cast<HMENU*>(lp);
    if (!menu || !*menu) return TRUE;
    AppendMenuW(*menu, MF_STRING | MF_GRAYED, 0, kNotAvailable);
    return TRUE;
}

}  // namespace

LRESULT MainView::OnCommandMessage(HWND, UINT, WPARAM code, LPARAM lp) {
    switch (code) {
        case kCmdFocusControl: return FocusWindow(lp);
        case kCmdShowMessage: return ShowMessage(lp);
        case kCmdCloseView: return CloseFrame();
        case kCmdPlayingFileChanged: {
            Ref<TextObject> path = AdoptText(lp);
            if (path) playingPath_ = path->text;
            return TRUE;
        }
        case kCmdFillSendToMenu: return FillSendToMenu(lp);
        default: return Answer(0);
    }
}

LRESULT MainView::OnCommand(HWND, UINT, WPARAM wp, LPARAM) {
    switch (LOWORD(wp)) {
        case kToggleFrameCommand: HostWindow::ToggleFrame(); return TRUE;
        case kOpenPreferencesCommand:
            if (HWND frame = GetWindow(kFrameWindowId))
                PostMessageW(frame, kCommandMessage, kCmdOpenPreferencesNow, 0);
            return TRUE;
        default: return FALSE;
    }
}
