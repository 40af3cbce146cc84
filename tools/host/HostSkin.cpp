// The skin bitmap request: each answer is a new bitmap loaded from the host's resources,
// because the plugin deletes the one it was given when it reads the colours again.
#include "HostSkin.h"

#include "HostApp.h"
#include "HostMenus.h"

namespace {

bool dark = false;

}  // namespace

bool DarkSkin() { return dark; }

void UseSkin(bool useDark) {
    dark = useDark;
    CheckSkinItem(dark);
    if (Host().mainWindow) {
        LPARAM size = MAKELPARAM(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        SendMessageW(Host().mainWindow, WM_DISPLAYCHANGE, 32, size);
        InvalidateRect(Host().mainWindow, nullptr, TRUE);
    }
}

void ChangeSkin() { UseSkin(!dark); }

LRESULT OnSkinBitmap(WPARAM) {
    int id = dark ? kSkinDarkBitmap : kSkinDefaultBitmap;
    return reinterpret_cast<LRESULT>(LoadImageW(Host().instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0,
                                                LR_CREATEDIBSECTION));
}
