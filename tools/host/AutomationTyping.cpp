// Synthetic keyboard input. Real input (SendInput) goes to whichever window of the whole
// desktop is in the foreground, which tests running side by side under one display would
// steal from each other; so keys are posted to the focused window of the host's own thread.
// Posted keys pass through the host's message loop like real ones, so the plugin's key hook
// (request 617) and its accelerators see them, and TranslateMessage makes the characters.
// Modifiers are set in the thread's keyboard state, by messages posted before and after the
// keys, for exactly as long as the keys are being handled: the plugin asks GetKeyState
// whether Ctrl, Shift or Alt are held, and TranslateMessage reads Shift to make capitals.
#include "AutomationTyping.h"

#include <windows.h>

#include "AutomationCommon.h"
#include "HostApp.h"
#include "HostTasks.h"

namespace {

bool IsExtended(unsigned key) {
    switch (key) {
        case VK_UP: case VK_DOWN: case VK_LEFT: case VK_RIGHT: case VK_HOME: case VK_END:
        case VK_PRIOR: case VK_NEXT: case VK_INSERT: case VK_DELETE: case VK_APPS:
            return true;
    }
    return false;
}

LPARAM KeyLParam(unsigned key, bool alt, bool release) {
    LPARAM lp = 1 | (static_cast<LPARAM>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC) & 0xFF) << 16);
    if (IsExtended(key)) lp |= 1 << 24;
    if (alt) lp |= 1 << 29;
    if (release) lp |= (1u << 30) | (1u << 31);
    return lp;
}

HWND InputTarget() {
    HWND target = GetFocus();
    if (!target) target = GetActiveWindow();
    return target ? target : Host().mainWindow;
}

// On the user-interface thread.
void PostChord(const KeyChord& chord, wchar_t character) {
    HWND target = InputTarget();
    WPARAM held = (chord.ctrl ? kHoldCtrl : 0) | (chord.shift ? kHoldShift : 0) | (chord.alt ? kHoldAlt : 0);
    PostMessageW(TaskWindow(), kMsgHoldKeys, held, 0);
    // F10 is the menu bar's key: the system sends it as a system key, Shift+F10 included.
    bool sys = (chord.alt && !chord.ctrl) || chord.virtualKey == VK_F10;
    unsigned key = chord.virtualKey;
    if (key) PostMessageW(target, sys ? WM_SYSKEYDOWN : WM_KEYDOWN, key, KeyLParam(key, chord.alt, false));
    else PostMessageW(target, WM_CHAR, character, 1);
    if (key) PostMessageW(target, sys ? WM_SYSKEYUP : WM_KEYUP, key, KeyLParam(key, chord.alt, true));
    PostMessageW(TaskWindow(), kMsgReleaseKeys, 0, 0);
}

}  // namespace

void PressChordOnFocus(const KeyChord& chord) {
    RunOnUi([&] { PostChord(chord, 0); });
    SettleUi();
}

void TypeKeyOnFocus(unsigned virtualKey) {
    KeyChord chord;
    chord.virtualKey = virtualKey;
    PressChordOnFocus(chord);
}

void TypeTextOnFocus(const std::wstring& text) {
    for (wchar_t c : text) {
        SHORT scan = VkKeyScanW(c);
        KeyChord chord;
        // Only plain and shifted keys: a character that needs AltGr or is not on the keyboard
        // is posted as the character itself.
        if (scan != -1 && (HIBYTE(scan) & ~1) == 0) {
            chord.virtualKey = LOBYTE(scan);
            chord.shift = (HIBYTE(scan) & 1) != 0;
        }
        RunOnUi([&] { PostChord(chord, c); });
    }
    SettleUi();
}
