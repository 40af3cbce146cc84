// The host's message loop, with the player's two hooks for plugins: each key press is shown
// to the plugin first (request 617, which may swallow it by zeroing the key), and the
// accelerator tables plugins registered through the application service are translated for
// their windows before the message is dispatched.
#include "HostMessageLoop.h"

#include "HostApp.h"
#include "HostPrefs.h"
#include "HostServices.h"
#include "PlayerInterface.h"

namespace {

bool IsKeyPress(const MSG& msg) { return msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN; }

// Answers true when the message was consumed.
bool PreTranslate(MSG& msg) {
    if (IsKeyPress(msg) && Host().mainWindow) {
        SendMessageW(Host().mainWindow, standin::kRequestMessage, reinterpret_cast<WPARAM>(&msg), standin::kQueuedKey);
        if (msg.wParam == 0) return true;
    }
    if (TranslateRegisteredAccelerators(msg)) return true;
    HWND prefs = PrefsWindow();
    return prefs && IsDialogMessageW(prefs, &msg);
}

}  // namespace

int RunHostMessageLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (PreTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
