// The one window procedure of every bound window: finds the window's object, calls the
// handler for the message and applies the return conventions.
#include <windows.h>
#include <commctrl.h>

#include "bus/Messages.h"
#include "bus/WindowRegistry.h"
#include "ui/framework/WindowObject.h"

namespace {

// The list's handler vetoes a header change by answering this.
constexpr LRESULT kRefuseHeaderChange = 6666;

// Some notifications answer the control directly with the handler's result, never passing on.
bool AnswersNotifyDirectly(HWND window, LPARAM lp, LRESULT& result) {
    auto* header = reinterpret_cast<NMHDR*>(lp);
    if (!header) return false;
    int code = static_cast<int>(header->code);
    if (window == GetWindow(kListWindowId)) {
        if (code == static_cast<int>(HDN_ITEMCHANGINGW) && result == kRefuseHeaderChange) {
            result = 1;
            return true;
        }
        return code == static_cast<int>(NM_CUSTOMDRAW);
    }
    return window == GetWindow(kTreeWindowId) && code == static_cast<int>(TVN_ITEMEXPANDINGW);
}

}  // namespace

LRESULT CALLBACK SharedWindowProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    WindowObject* object = WindowObjectOf(window);
    if (!object) return 1;
    if (message == WM_GETDLGCODE) return kWantAllKeys;

    // The handler may unbind the window or drop the last outside reference to its object.
    Ref<WindowObject> hold(object);
    LRESULT result = 0;
    if (object->Dispatch(window, message, wp, lp, result)) {
        if (message == kCommandMessage) return result;
        if (message == WM_NOTIFY && AnswersNotifyDirectly(window, lp, result)) return result;
        if (result == 0) return 0;
    }
    return object->CallSaved(window, message, wp, lp);
}
