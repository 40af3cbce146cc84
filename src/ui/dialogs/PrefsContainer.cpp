// The preferences container dialog. Its tabs are built on top of this procedure; the host only
// needs a dialog it can create and destroy.
#include "ui/dialogs/PrefsContainer.h"

INT_PTR CALLBACK PrefsContainerProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}
