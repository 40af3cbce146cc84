// The view's input: notifications of the tree and the list, owner-drawn rows, timers, keys and
// the divider between the panes.
#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include "bus/CommandCodes.h"
#include "bus/Messages.h"
#include "scan/ScanWorker.h"
#include "ui/skin/ScrollbarDrawRequest.h"
#include "ui/view/FileListView.h"
#include "ui/view/FolderTreeView.h"
#include "ui/view/MainView.h"
#include "ui/view/OwnerDrawnMenu.h"
#include "ui/view/ViewCommandCodes.h"
#include "ui/view/drop/ViewDrags.h"

namespace {
// Device arrival and removal settled: a drive may have come or gone.
constexpr WPARAM kDevicesChanged = 7;
// The long parameter of a key the tree menu sends on the user's behalf.
constexpr LPARAM kKeyFromTreeMenu = 1;
}  // namespace

LRESULT MainView::OnNotify(HWND, UINT, WPARAM, LPARAM lp) {
    auto* header = reinterpret_cast<NMHDR*>(lp);
    if (!header) return FALSE;
    if (header->code == skinbars::kDrawRequestCode) return AnswerScrollbarDrawing(lp);
    if (header->idFrom == kTreeControl && tree_) {
        if (header->code == TVN_SELCHANGEDW) {
            OnSelectionChanged(*reinterpret_cast<NMTREEVIEWW*>(lp));
            return TRUE;
        }
        if (header->code == TVN_BEGINDRAGW) {
            DragTreeItemOut(*tree_, reinterpret_cast<NMTREEVIEWW*>(lp)->itemNew.hItem, database_.get());
            return TRUE;
        }
        LRESULT result = 0;
        if (tree_->HandleNotify(*header, result)) return Answer(result);
        return FALSE;
    }
    if (header->idFrom == kListControl && list_) {
        switch (header->code) {
            case LVN_GETDISPINFOW: list_->OnGetDispInfo(*reinterpret_cast<NMLVDISPINFOW*>(lp)); return TRUE;
            case LVN_COLUMNCLICK: list_->OnColumnClick(reinterpret_cast<NMLISTVIEW*>(lp)->iSubItem); return TRUE;
            case LVN_BEGINDRAG:
                DragRowsOut(SelectedRecords(), options_.forceDragDropAction, GetDlgItem(dialog_, kTreeControl));
                return TRUE;
            case NM_DBLCLK:
                // The list runs its own double-click action on the selection.
                SendMessageW(header->hwndFrom, WM_NOTIFY, header->idFrom, lp);
                return TRUE;
            default: return FALSE;
        }
    }
    return FALSE;
}

LRESULT MainView::OnDrawItem(HWND, UINT, WPARAM wp, LPARAM lp) {
    if (DrawOwnerDrawnMenuItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lp), MenuIcons())) return TRUE;
    if (wp != kListControl || !list_) return FALSE;
    list_->DrawRow(*reinterpret_cast<DRAWITEMSTRUCT*>(lp));
    return TRUE;
}

LRESULT MainView::OnMeasureItem(HWND, UINT, WPARAM wp, LPARAM lp) {
    if (MeasureOwnerDrawnMenuItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lp))) return TRUE;
    if (wp != kListControl || !list_) return FALSE;
    list_->MeasureRow(*reinterpret_cast<MEASUREITEMSTRUCT*>(lp));
    return TRUE;
}

LRESULT MainView::OnTimer(HWND, UINT, WPARAM id, LPARAM) {
    if (id == kRefreshTimer) RunRefresh();
    else if (id == kAutoRefreshTimer) DrainChangeNotices();
    else return FALSE;
    return TRUE;
}

// The keys the panes hand on to the view, and those that reach the dialog itself.
LRESULT MainView::OnKeyDown(HWND, UINT, WPARAM key, LPARAM lp) {
    bool control = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    switch (key) {
        case VK_ESCAPE: Cancel(); return TRUE;
        case VK_F5: RescanSelection(); return TRUE;
        // The tree menu's "Read tags" sends F6 with 1: it always reads the unread tags only.
        case VK_F6: ReadListTags(control && lp != kKeyFromTreeMenu); return TRUE;
        case 'A':
        case 'D':
            if (!control || !list_) return FALSE;
            list_->SelectRows(key == 'A' ? FileListView::SelectChange::kAll : FileListView::SelectChange::kNone);
            return TRUE;
        default: return FALSE;
    }
}

// Alt keys that reach the dialog while the list has the focus are the list's.
LRESULT MainView::OnSysKeyDown(HWND, UINT message, WPARAM key, LPARAM lp) {
    HWND list = GetDlgItem(dialog_, kListControl);
    if (!list || GetFocus() != list) return FALSE;
    SendMessageW(list, message, key, lp);
    return TRUE;
}

LRESULT MainView::OnSetCursor(HWND, UINT, WPARAM, LPARAM) {
    bool busy;
    {
        Lock lock(viewLock_);
        busy = listEmptiedForJob_;
    }
    if (busy) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return Answer(TRUE);
    }
    POINT at;
    GetCursorPos(&at);
    ScreenToClient(dialog_, &at);
    DividerDrag probe(options_.divider, static_cast<PaneState>(options_.stuck));
    if (IsWindowEnabled(GetDlgItem(dialog_, kTreeControl)) && probe.OverGrip(at.x, at.y)) {
        SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
        return Answer(TRUE);
    }
    return FALSE;
}

LRESULT MainView::OnDeviceChange(HWND, UINT, WPARAM event, LPARAM) {
    if (event == kDevicesChanged) PostWork(kWorkCheckAvailability);
    return TRUE;
}

LRESULT MainView::OnLButtonDown(LPARAM lp) {
    if (!IsWindowEnabled(GetDlgItem(dialog_, kTreeControl))) return FALSE;
    drag_.emplace(options_.divider, static_cast<PaneState>(options_.stuck));
    if (!drag_->Press(GET_X_LPARAM(lp), GET_Y_LPARAM(lp))) {
        drag_.reset();
        return FALSE;
    }
    SetCapture(dialog_);
    return TRUE;
}

LRESULT MainView::OnMouseMove(HWND, UINT, WPARAM, LPARAM lp) {
    RECT client;
    GetClientRect(dialog_, &client);
    if (!drag_) drag_.emplace(options_.divider, static_cast<PaneState>(options_.stuck));
    bool moved = drag_->Move(GET_X_LPARAM(lp), client.right);
    if (moved) {
        options_.divider = drag_->Divider();
        options_.stuck = static_cast<int>(drag_->State());
        Layout();
    }
    if (!drag_->Dragging()) drag_.reset();
    return moved;
}

LRESULT MainView::OnLButtonUp(HWND, UINT, WPARAM, LPARAM) {
    if (!drag_) return FALSE;
    drag_->Release();
    drag_.reset();
    ReleaseCapture();
    return TRUE;
}
