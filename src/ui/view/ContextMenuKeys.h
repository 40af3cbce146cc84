// Shift+F10 and the menu key in the list and the tree: each asks the view for the pane's
// context menu, as a right-click does. The controls' own handling of these keys differs
// between systems (and under Wine the tree and the menu key produce no request at all), so
// the panes handle them themselves.
#pragma once

#include <windows.h>

// Answers whether the key message was one of the context menu keys; then the key must go no
// further, so that the control's own handling does not ask for a second menu. The request is
// made on key-down; the menu key's key-up is only swallowed.
bool HandleContextMenuKey(HWND pane, UINT message, WPARAM key);
