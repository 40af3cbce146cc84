// Binding window objects to windows, and the table from message to handler.
#include "ui/framework/WindowObject.h"

#include "base/ForwardingStub.h"
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

// What a bound window's stub calls: the stub passes the procedure it replaced ahead of the
// message, which the shared procedure finds again through the window's object.
LRESULT CALLBACK ThroughStub(WNDPROC, HWND window, UINT message, WPARAM wp, LPARAM lp) {
    return SharedWindowProc(window, message, wp, lp);
}

// What a stub calls once its object let go: the platform's own caller of procedures, which
// also takes the handles GetWindowLongPtr answers for procedures of the other character set.
// Taken from the system module so that nothing of this module is left in the stub's way.
const void* PlatformCallWindowProc() {
    static const void* call = reinterpret_cast<const void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "CallWindowProcW"));
    return call;
}

}  // namespace

// A window still bound here would route into a module that may soon be gone.
WindowObject::~WindowObject() {
    if (!window_) return;
    LetGoOfStub();
    RemovePropW(window_, kProperty);
}

void WindowObject::Bind(HWND window) {
    if (!window) return;
    auto previous = reinterpret_cast<const void*>(GetWindowLongPtrW(window, GWLP_WNDPROC));
    void* stub = stubs::MakeStub(previous, reinterpret_cast<const void*>(&ThroughStub));
    // Without a stub the window stays the host's alone: subclassing it with this module's own
    // procedure would leave a later hook pointing here once we are unloaded.
    if (!stub) return;
    window_ = window;
    stub_ = stub;
    SetPropW(window, kProperty, this);
    saved_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(stub)));
}

void WindowObject::LetGoOfStub() {
    if (!stub_) return;
    // First the stub, so that a later hook which kept it, and calls it or puts it back when it
    // quits, reaches the saved procedure rather than us; then, only where the window's
    // procedure is still ours, the saved procedure itself goes back: anywhere else that would
    // cut the later hook out of the chain.
    stubs::RetargetStub(stub_, PlatformCallWindowProc());
    if (GetWindowLongPtrW(window_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(stub_))
        SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(saved_));
    stub_ = nullptr;
}

LRESULT WindowObject::Unbind() {
    if (window_) {
        LetGoOfStub();
        // Once unbound the window must not reach this object through a stale property.
        if (GetPropW(window_, kProperty) == this) RemovePropW(window_, kProperty);
    }
    // The saved procedure is kept: a handler that unbound still passes its message on to it.
    window_ = nullptr;
    return 0;
}

LRESULT WindowObject::CallSaved(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (saved_) return CallWindowProcW(saved_, window, message, wp, lp);
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
