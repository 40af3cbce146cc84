// A reference-counted object bound to one native window. The window is subclassed and carries
// the object in a property; one shared procedure turns each message into a virtual handler call.
// A handler's non-zero result lets the window's previous procedure see the message too.
// The window is pointed at a forwarding stub rather than at this module, because other
// plugins subclass the same windows after us: when we let go of a window someone hooked since,
// the stub stays in their chain and passes their calls on to the procedure we replaced.
#pragma once

#include <windows.h>

#include "base/RefCounted.h"

class WindowObject : public RefCounted {
public:
    static constexpr wchar_t kProperty[] = L"CV_WNDPROC";

    WindowObject() = default;
    explicit WindowObject(HWND window) { Bind(window); }

    // Subclasses the window with the shared procedure and attaches this object to it.
    void Bind(HWND window);
    // Puts the previous procedure back where the window's procedure is still ours; where
    // another party hooked the window since, leaves its hook in place and makes our part of the
    // chain lead straight to the previous procedure. Forgets the window; answers 0.
    LRESULT Unbind();
    HWND Window() const { return window_; }
    // The procedure the window holds while this object is bound to it (not in this module).
    WNDPROC Hook() const { return reinterpret_cast<WNDPROC>(stub_); }
    // Passes a message on to the procedure that was installed before binding.
    LRESULT CallSaved(HWND window, UINT message, WPARAM wp, LPARAM lp);

    // The handlers, by message. Each answers 1 (let the previous procedure run) unless noted.
    virtual LRESULT OnInitMenuPopup(HWND, UINT, WPARAM, LPARAM) { return 1; }
    virtual LRESULT OnDrawItem(HWND, UINT, WPARAM, LPARAM) { return 1; }
    virtual LRESULT OnMeasureItem(HWND, UINT, WPARAM, LPARAM) { return 1; }
    virtual LRESULT OnUninitMenuPopup(HWND, UINT, WPARAM, LPARAM) { return 1; }
    virtual LRESULT OnQueryEndSession(HWND, UINT, WPARAM, LPARAM) { return 1; }
    // Default: unbind, and the message goes no further.
    virtual LRESULT OnClose(HWND, UINT, WPARAM, LPARAM) { return Unbind(); }
    virtual LRESULT OnDestroy(HWND, UINT, WPARAM, LPARAM) { return 1; }
    virtual LRESULT OnMenuChar(HWND, UINT, WPARAM, LPARAM) { return 1; }
    virtual LRESULT OnShowWindow(HWND, UINT, WPARAM, LPARAM) { return 1; }
    virtual LRESULT OnKeyDown(HWND, UINT, WPARAM, LPARAM) { return 1; }
    virtual LRESULT OnKeyUp(HWND, UINT, WPARAM, LPARAM) { return 1; }
    virtual LRESULT OnSysKeyDown(HWND, UINT, WPARAM, LPARAM) { return 1; }
    // Host requests and notifications (1024) and the frame's hide message (1125).
    virtual LRESULT OnHostMessage(HWND, UINT, WPARAM, LPARAM) { return 1; }
    virtual LRESULT OnDeactivate(HWND, UINT, WPARAM, LPARAM) { return 1; }
    // The command message: its result is the message result.
    virtual LRESULT OnCommandMessage(HWND, UINT, WPARAM, LPARAM) { return 1; }
    virtual LRESULT OnChar(HWND, UINT, WPARAM, LPARAM) { return 1; }
    virtual LRESULT OnWindowPosChanged(HWND, UINT, WPARAM, LPARAM) { return 1; }
    virtual LRESULT OnMouseMove(HWND, UINT, WPARAM, LPARAM) { return 1; }
    virtual LRESULT OnLButtonUp(HWND, UINT, WPARAM, LPARAM) { return 1; }
    virtual LRESULT OnCommand(HWND, UINT, WPARAM, LPARAM) { return 1; }
    virtual LRESULT OnPrivateMessage1026(HWND, UINT, WPARAM, LPARAM) { return 1; }
    virtual LRESULT OnNotify(HWND, UINT, WPARAM, LPARAM) { return 1; }
    virtual LRESULT OnSize(HWND, UINT, WPARAM, LPARAM) { return 1; }
    virtual LRESULT OnVScroll(HWND, UINT, WPARAM, LPARAM) { return 1; }
    virtual LRESULT OnMouseWheel(HWND, UINT, WPARAM, LPARAM) { return 1; }
    virtual LRESULT OnSetCursor(HWND, UINT, WPARAM, LPARAM) { return 1; }
    virtual LRESULT OnEraseBackground(HWND, UINT, WPARAM, LPARAM) { return 1; }
    virtual LRESULT OnContextMenu(HWND, UINT, WPARAM, LPARAM) { return 1; }
    virtual LRESULT OnMenuCommand(HWND, UINT, WPARAM, LPARAM) { return 1; }
    virtual LRESULT OnLButtonDoubleClick(HWND, UINT, WPARAM, LPARAM) { return 1; }
    virtual LRESULT OnActivate(HWND, UINT, WPARAM, LPARAM) { return 1; }
    virtual LRESULT OnTimer(HWND, UINT, WPARAM, LPARAM) { return 1; }
    virtual LRESULT OnDisplayChange(HWND, UINT, WPARAM, LPARAM) { return 1; }
    virtual LRESULT OnDeviceChange(HWND, UINT, WPARAM, LPARAM) { return 1; }
    virtual LRESULT OnNextDialogControl(HWND, UINT, WPARAM, LPARAM) { return 1; }
    virtual LRESULT OnMenuSelect(HWND, UINT, WPARAM, LPARAM) { return 1; }

    // Calls the handler for a routed message; answers false when the message has none.
    bool Dispatch(HWND window, UINT message, WPARAM wp, LPARAM lp, LRESULT& result);

protected:
    ~WindowObject() override;

private:
    // Makes our part of the window's chain lead to the saved procedure from now on.
    void LetGoOfStub();

    WNDPROC saved_ = nullptr;
    HWND window_ = nullptr;
    void* stub_ = nullptr;
};

// The attached object of a window, or null.
WindowObject* WindowObjectOf(HWND window);

LRESULT CALLBACK SharedWindowProc(HWND window, UINT message, WPARAM wp, LPARAM lp);
