// Turns the context menu keys of a pane into the request its parent, the view, answers.
#include "ui/view/ContextMenuKeys.h"

namespace {

bool IsKeyDown(UINT message) { return message == WM_KEYDOWN || message == WM_SYSKEYDOWN; }

bool ShiftHeld() { return (GetKeyState(VK_SHIFT) & 0x8000) != 0; }

}  // namespace

bool HandleContextMenuKey(HWND pane, UINT message, WPARAM key) {
    bool shiftF10 = IsKeyDown(message) && key == VK_F10 && ShiftHeld();
    bool menuKey = (message == WM_KEYDOWN || message == WM_KEYUP) && key == VK_APPS;
    if (!shiftF10 && !menuKey) return false;
    // (-1, -1): from the keyboard, so the menu opens at the selected item or row.
    if (message != WM_KEYUP)
        SendMessageW(GetParent(pane), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(pane), MAKELPARAM(-1, -1));
    return true;
}
