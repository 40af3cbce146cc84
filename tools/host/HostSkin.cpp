// The skin bitmap request: each answer is a new bitmap, loaded from the host's resources or
// from the skin's file, because the plugin deletes the one it was given when it reads the
// colours again.
#include "HostSkin.h"

#include "HostApp.h"
#include "HostMenus.h"
#include "base/Gdi.h"

namespace {

HBITMAP LoadSkinFile(const std::wstring& path) {
    return static_cast<HBITMAP>(
        LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
}

void TellThePlugin() {
    HostSkinState& skin = Host().skin;
    CheckSkinItem(skin.file.empty() ? (skin.dark ? kCmdSkinDark : kCmdSkinDefault) : 0);
    if (Host().mainWindow) {
        LPARAM size = MAKELPARAM(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        SendMessageW(Host().mainWindow, WM_DISPLAYCHANGE, 32, size);
        InvalidateRect(Host().mainWindow, nullptr, TRUE);
    }
}

}  // namespace

std::wstring SkinCaption() {
    const HostSkinState& skin = Host().skin;
    if (!skin.file.empty()) return skin.file.substr(skin.file.find_last_of(L"\\/") + 1);
    return skin.dark ? L"dark skin" : L"";
}

void UseSkin(bool dark) {
    Host().skin = HostSkinState{dark, L""};
    TellThePlugin();
}

void ChangeSkin() { UseSkin(!Host().skin.dark); }

bool IsSkinFile(const std::wstring& path) { return UniqueBitmap(LoadSkinFile(path)).get() != nullptr; }

bool UseSkinFile(const std::wstring& path) {
    if (!IsSkinFile(path)) return false;
    Host().skin.file = path;
    TellThePlugin();
    return true;
}

LRESULT OnSkinBitmap(WPARAM) {
    const HostState& host = Host();
    if (host.options.noSkin) return 0;
    if (!host.skin.file.empty()) return reinterpret_cast<LRESULT>(LoadSkinFile(host.skin.file));
    int id = host.skin.dark ? kSkinDarkBitmap : kSkinDefaultBitmap;
    return reinterpret_cast<LRESULT>(LoadImageW(host.instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0,
                                                LR_CREATEDIBSECTION));
}
