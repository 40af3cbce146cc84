// Binding window objects to windows, and the table from message to handler.
#include "ui/framework/WindowObject.h"

#include "bus/Messages.h"

namespace {

using Handler = LRESULT (WindowObject::*)(HWND, UINT, WPARAM, LPARAM);
struct Route {
    UINT message;
    Handler handler;
};

// Messages routed for every bound window. WM_SHOWWINDOW and WM_ACTIVATE depend on their word
// parameter and are chosen in RouteFor.
const Route kRoutes[] = {
    {WM_INITMENUPOPUP, &WindowObject::OnInitMenuPopup},
    {WM_DRAWITEM, &WindowObject::OnDrawItem},
    {WM_MEASUREITEM, &WindowObject::OnMeasureItem},
    {WM_UNINITMENUPOPUP, &WindowObject::OnUninitMenuPopup},
    {WM_QUERYENDSESSION, &WindowObject::OnQueryEndSession},
    {WM_CLOSE, &WindowObject::OnClose},
    {WM_DESTROY, &WindowObject::OnDestroy},
    {WM_MENUCHAR, &WindowObject::OnMenuChar},
    {WM_KEYDOWN, &WindowObject::OnKeyDown},
    {WM_KEYUP, &WindowObject::OnKeyUp},
    {WM_SYSKEYDOWN, &WindowObject::OnSysKeyDown},
    {WM_USER, &WindowObject::OnHostMessage},
    {kHideFrameMessage, &WindowObject::OnHostMessage},
    {kCommandMessage, &WindowObject::OnCommandMessage},
    {WM_CHAR, &WindowObject::OnChar},
    {WM_WINDOWPOSCHANGED, &WindowObject::OnWindowPosChanged},
    {WM_MOUSEMOVE, &WindowObject::OnMouseMove},
    {WM_LBUTTONUP, &WindowObject::OnLButtonUp},
    {WM_COMMAND, &WindowObject::OnCommand},
    {kPrivateMessage1026, &WindowObject::OnPrivateMessage1026},
    {WM_NOTIFY, &WindowObject::OnNotify},
    {WM_VSCROLL, &WindowObject::OnVScroll},
    {WM_MOUSEWHEEL, &WindowObject::OnMouseWheel},
    {WM_SETCURSOR, &WindowObject::OnSetCursor},
    {WM_ERASEBKGND, &WindowObject::OnEraseBackground},
    {WM_CONTEXTMENU, &WindowObject::OnContextMenu},
    {WM_MENUCOMMAND, &WindowObject::OnMenuCommand},
    {WM_LBUTTONDBLCLK, &WindowObject::OnLButtonDoubleClick},
    {WM_TIMER, &WindowObject::OnTimer},
    {WM_DISPLAYCHANGE, &WindowObject::OnDisplayChange},
    {WM_DEVICECHANGE, &WindowObject::OnDeviceChange},
    {WM_NEXTDLGCTL, &WindowObject::OnNextDialogControl},
    {WM_MENUSELECT, &WindowObject::OnMenuSelect},
};

Handler RouteFor(UINT message, WPARAM wp) {
    if (message == WM_SHOWWINDOW) return wp ? &WindowObject::OnShowWindow : nullptr;
    if (message == WM_ACTIVATE)
        return LOWORD(wp) == WA_INACTIVE ? &WindowObject::OnDeactivate : &WindowObject::OnActivate;
    for (const Route& route : kRoutes)
        if (route.message == message) return route.handler;
    return nullptr;
}

}  // namespace

WindowObject::~WindowObject() {
    if (window_) RemovePropW(window_, kProperty);
}

void WindowObject::Bind(HWND window) {
    if (!window) return;
    window_ = window;
    SetPropW(window, kProperty, this);
    saved_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SharedWindowProc)));
}

LRESULT WindowObject::Unbind() {
    if (window_) {
        auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window_, GWLP_WNDPROC));
        if (current == &SharedWindowProc || saved_)
            SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(saved_));
        // Once unbound the window must not reach this object through a stale property.
        if (GetPropW(window_, kProperty) == this) RemovePropW(window_, kProperty);
    }
    saved_ = nullptr;
    window_ = nullptr;
    return 0;
}

LRESULT WindowObject::CallSaved(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (saved_) return CallWindowProcW(saved_, window, message, wp, lp);
    // Unbound during the handler: the window has its own procedure back, so go through it.
    auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
    if (current && current != &SharedWindowProc) return CallWindowProcW(current, window, message, wp, lp);
    return DefWindowProcW(window, message, wp, lp);
}

bool WindowObject::Dispatch(HWND window, UINT message, WPARAM wp, LPARAM lp, LRESULT& result) {
    Handler handler = RouteFor(message, wp);
    if (!handler) return false;
    try {
        result = (this->*handler)(window, message, wp, lp);
    } catch (...) {
        result = 1;  // nothing may escape into the host's message loop
    }
    return true;
}

WindowObject* WindowObjectOf(HWND window) {
    return static_cast<WindowObject*>(GetPropW(window, WindowObject::kProperty));
}
