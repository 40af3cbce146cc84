// Counting GDI and window-manager objects, under Windows and under Wine.
#include "base/GuiObjects.h"

#include <algorithm>

namespace {

bool UnderWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

BOOL CALLBACK CountOwnWindow(HWND window, LPARAM count) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId()) return TRUE;
    ++*reinterpret_cast<DWORD*>(count);
    EnumChildWindows(window, CountOwnWindow, count);
    return TRUE;
}

bool IsIcon(HANDLE handle) {
    ICONINFO info = {};
    if (!GetIconInfo(static_cast<HICON>(handle), &info)) return false;
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return true;
}

DWORD CountUserObjects() {
    DWORD count = 0;
    EnumWindows(CountOwnWindow, reinterpret_cast<LPARAM>(&count));
    for (HWND window = nullptr; (window = FindWindowExW(HWND_MESSAGE, window, nullptr, nullptr));)
        CountOwnWindow(window, reinterpret_cast<LPARAM>(&count));
    for (UINT_PTR slot = 0x20; slot <= 0xFFFE; slot += 2) {
        auto handle = reinterpret_cast<HANDLE>(slot);
        if (IsMenu(static_cast<HMENU>(handle)) || CopyAcceleratorTableW(static_cast<HACCEL>(handle), nullptr, 0) > 0 ||
            IsIcon(handle))
            ++count;
    }
    return count;
}

}  // namespace

// Wine accepts a GDI handle without its generation word, so every slot can be asked its type.
std::vector<HGDIOBJ> LiveGdiObjects() {
    std::vector<HGDIOBJ> live;
    for (UINT_PTR slot = 0x20; slot < 0x10000; ++slot)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(slot))) live.push_back(reinterpret_cast<HGDIOBJ>(slot));
    return live;
}

GuiObjectCounts CountGuiObjects() {
    GuiObjectCounts counts = {GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
                              GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)};
    if (counts.gdi == 0 && counts.user == 0 && UnderWine())
        counts = {static_cast<DWORD>(LiveGdiObjects().size()), CountUserObjects()};
    return counts;
}

std::map<DWORD, int> NewGdiObjectTypes(const std::vector<HGDIOBJ>& before, const std::vector<HGDIOBJ>& after) {
    std::map<DWORD, int> types;
    for (HGDIOBJ object : after)
        if (std::find(before.begin(), before.end(), object) == before.end()) ++types[GetObjectType(object)];
    return types;
}
