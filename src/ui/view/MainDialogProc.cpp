// The dialog procedure of the view's dialog: routes the messages the view handles to its object.
#include "bus/Messages.h"
#include "ui/view/MainView.h"

namespace {

using Handler = LRESULT (WindowObject::*)(HWND, UINT, WPARAM, LPARAM);
struct Route {
    UINT message;
    Handler handler;
};

const Route kDialogRoutes[] = {
    {WM_SIZE, &WindowObject::OnSize},
    {WM_QUERYENDSESSION, &WindowObject::OnQueryEndSession},
    {WM_SETCURSOR, &WindowObject::OnSetCursor},
    {WM_DRAWITEM, &WindowObject::OnDrawItem},
    {WM_MEASUREITEM, &WindowObject::OnMeasureItem},
    {WM_NOTIFY, &WindowObject::OnNotify},
    {WM_CONTEXTMENU, &WindowObject::OnContextMenu},
    {WM_DISPLAYCHANGE, &WindowObject::OnDisplayChange},
    {WM_KEYDOWN, &WindowObject::OnKeyDown},
    {WM_SYSKEYDOWN, &WindowObject::OnSysKeyDown},
    {WM_COMMAND, &WindowObject::OnCommand},
    {WM_TIMER, &WindowObject::OnTimer},
    {WM_MOUSEMOVE, &WindowObject::OnMouseMove},
    {WM_LBUTTONUP, &WindowObject::OnLButtonUp},
    {WM_DEVICECHANGE, &WindowObject::OnDeviceChange},
    {kCommandMessage, &WindowObject::OnCommandMessage},
};

Handler DialogRouteFor(UINT message, WPARAM wp) {
    if (message == WM_SHOWWINDOW) return wp ? &WindowObject::OnShowWindow : nullptr;
    for (const Route& route : kDialogRoutes)
        if (route.message == message) return route.handler;
    return nullptr;
}

}  // namespace

INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    WindowObject* object = WindowObjectOf(window);
    auto* view = dynamic_cast<MainView*>(object);
    if (view)
        if (LRESULT skinned = view->PaintSkin(window, message, wp, lp)) return skinned;
    if (message == WM_GETDLGCODE) {
        SetWindowLongPtrW(window, DWLP_MSGRESULT, kWantAllKeys);
        return TRUE;
    }
    if (!object) return FALSE;
    if (message == WM_LBUTTONDOWN && view) return view->OnLButtonDown(lp);
    if (message == WM_PAINT && view) {
        view->PaintBorderLines();
        return TRUE;
    }
    Handler handler = DialogRouteFor(message, wp);
    if (!handler) return FALSE;
    Ref<WindowObject> hold(object);
    try {
        return (object->*handler)(window, message, wp, lp);
    } catch (...) {
        return FALSE;
    }
}
