// The key helpers the three panes share.
#include "ui/view/PaneKeys.h"

#include <commctrl.h>

#include "bus/CommandCodes.h"
#include "bus/Messages.h"
#include "bus/WindowRegistry.h"

namespace {

bool Held(int key) { return (GetKeyState(key) & 0x8000) != 0; }

bool IsModifierKey(WPARAM key) {
    switch (key) {
        case VK_MENU: case VK_LMENU: case VK_RMENU:
        case VK_SHIFT: case VK_LSHIFT: case VK_RSHIFT:
        case VK_CONTROL: case VK_LCONTROL: case VK_RCONTROL:
            return true;
        default:
            return false;
    }
}

}  // namespace

HeldModifiers ModifiersHeld() { return {Held(VK_CONTROL), Held(VK_SHIFT), Held(VK_MENU)}; }

bool ChordMatches(KeyChord chord, const HeldModifiers& held) {
    switch (chord) {
        case KeyChord::kWithCtrl: return held.ctrl;
        case KeyChord::kNoCtrl: return !held.ctrl;
        default: return true;
    }
}

KeyPress KeyPressOf(UINT message, WPARAM key, LPARAM lp) {
    KeyPress press = {message, key, lp, ModifiersHeld()};
    // The key message itself says whether Alt was down when it was pressed.
    if (HIWORD(lp) & KF_ALTDOWN) press.held.alt = true;
    return press;
}

void DropSystemCharacter(HWND window) {
    MSG pending;
    PeekMessageW(&pending, window, WM_SYSCHAR, WM_SYSCHAR, PM_REMOVE | PM_NOYIELD);
}

void PassKeyDown(HWND target, const KeyPress& press) {
    if (target) SendMessageW(target, WM_KEYDOWN, press.key, press.lp);
}

bool PassAltKeyToHost(const KeyPress& press) {
    if (!press.held.alt || IsModifierKey(press.key)) return false;
    HWND host = GetWindow(kHostWindowId);
    return host && PostMessageW(host, press.message, press.key, press.lp);
}

void OpenPreferencesFromKey() {
    if (HWND frame = GetWindow(kFrameWindowId)) PostMessageW(frame, kCommandMessage, kCmdOpenPreferencesNow, 0);
}

// Shown in the view's layout: the dialog's own visibility (a hidden frame) does not matter.
HWND ShownSibling(HWND pane, int controlId) {
    HWND sibling = GetDlgItem(GetParent(pane), controlId);
    return sibling && (GetWindowLongPtrW(sibling, GWL_STYLE) & WS_VISIBLE) ? sibling : nullptr;
}

void FocusSearchSelectingAll(HWND search) {
    if (!search) return;
    SetFocus(search);
    SendMessageW(search, EM_SETSEL, 0, -1);
}

void FocusListAtFirstRow(HWND list) {
    if (!list) return;
    if (ListView_GetSelectedCount(list) == 0 && ListView_GetItemCount(list) > 0) {
        ListView_SetItemState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_SetSelectionMark(list, 0);
    }
    SetFocus(list);
}
