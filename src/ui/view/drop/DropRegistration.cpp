// Registering and revoking the panes' drop targets.
#include "ui/view/drop/DropRegistration.h"

bool RegisterFileDropTarget(HWND window, IDropTarget* target) {
    if (!window || !target) return false;
    if (FAILED(CoLockObjectExternal(target, TRUE, FALSE))) return false;
    if (SUCCEEDED(RegisterDragDrop(window, target))) return true;
    CoLockObjectExternal(target, FALSE, TRUE);
    return false;
}

// A window already destroyed cannot be revoked; the external lock is dropped all the same.
void RevokeFileDropTarget(HWND window, IDropTarget* target) {
    if (IsWindow(window)) RevokeDragDrop(window);
    CoLockObjectExternal(target, FALSE, TRUE);
}
