// Points on the view's controls where a user's mouse would go: on a tree item, on a list row,
// on a header column, or in empty space below the last item or row. Clicks, right clicks and
// drops all aim at these, so that the controls themselves decide what lies under the pointer.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "AutomationCommon.h"

namespace {

HTREEITEM NextItem(HWND tree, HTREEITEM item, UINT how) {
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
}

// TVM_GETITEMRECT takes the item in the rectangle it fills.
bool TreeItemRect(HWND tree, HTREEITEM item, BOOL textOnly, RECT& r) {
    memcpy(&r, &item, sizeof(item));
    return SendMessageW(tree, TVM_GETITEMRECT, textOnly, reinterpret_cast<LPARAM>(&r)) != 0;
}

int BottomOfTreeItems(HWND tree) {
    int bottom = 0;
    for (HTREEITEM item = NextItem(tree, nullptr, TVGN_FIRSTVISIBLE); item; item = NextItem(tree, item, TVGN_NEXTVISIBLE)) {
        RECT r;
        if (TreeItemRect(tree, item, FALSE, r)) bottom = r.bottom;
    }
    return bottom;
}

int BottomOfListRows(HWND list) {
    int bottom = 0;
    int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    RECT r = {};
    r.left = LVIR_BOUNDS;
    if (count > 0 && SendMessageW(list, LVM_GETITEMRECT, count - 1, reinterpret_cast<LPARAM>(&r))) bottom = r.bottom;
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    RECT h = {};
    if (header && IsWindowVisible(header)) GetClientRect(header, &h);
    return std::max<int>(bottom, h.bottom);
}

}  // namespace

bool PointOnTreeItem(HWND tree, const std::wstring& path, POINT& at) {
    HTREEITEM item = FindTreeItemByPath(tree, path);
    if (!item) return false;
    SendMessageW(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
    RECT r;
    if (!TreeItemRect(tree, item, TRUE, r)) return false;
    at = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    return true;
}

bool PointOnListRow(HWND list, int row, POINT& at) {
    if (row < 0 || row >= static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0))) return false;
    SendMessageW(list, LVM_ENSUREVISIBLE, row, FALSE);
    RECT bounds = {};
    bounds.left = LVIR_BOUNDS;
    if (!SendMessageW(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&bounds))) return false;
    RECT client;
    GetClientRect(list, &client);
    int y = (bounds.top + bounds.bottom) / 2;
    // Whichever columns are shown, the list itself says where the row can be hit.
    for (int x = std::max<LONG>(bounds.left, 0) + 2; x < std::min(bounds.right, client.right); x += 8) {
        LVHITTESTINFO hit = {};
        hit.pt = {x, y};
        if (SendMessageW(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) == row && (hit.flags & LVHT_ONITEM)) {
            at = {x, y};
            return true;
        }
    }
    return false;
}

bool PointOnHeaderColumn(HWND header, int column, POINT& at) {
    RECT r;
    if (!SendMessageW(header, HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(&r)) || r.right - r.left < 4)
        return false;
    at = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    return true;
}

bool PointInEmptySpace(HWND control, bool tree, POINT& at) {
    RECT client;
    GetClientRect(control, &client);
    int bottom = tree ? BottomOfTreeItems(control) : BottomOfListRows(control);
    if (bottom + 4 >= client.bottom) return false;
    at = {client.left + 20, (bottom + client.bottom) / 2};
    return true;
}

bool PointIsOnControl(HWND control, POINT client) {
    POINT screen = client;
    ClientToScreen(control, &screen);
    HWND hit = WindowFromPoint(screen);
    return hit == control || IsChild(control, hit);
}
