// GDI and USER object counts. Windows reports them through GetGuiResources. Wine answers 0
// there, so under Wine the host counts for itself: GDI objects by asking the type of every
// slot of the process's handle table (Wine accepts a handle without its generation word),
// USER objects as this process's windows, menus and accelerator tables.
#include "HostGuiCounts.h"

namespace {

constexpr UINT_PTR kFirstGdiSlot = 0x20, kGdiSlots = 0x10000 - 0x20;
constexpr UINT_PTR kFirstUserSlot = 0x20, kLastUserSlot = 0xFFFE;

bool UnderWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

DWORD CountGdiSlots() {
    DWORD count = 0;
    for (UINT_PTR slot = kFirstGdiSlot; slot < kFirstGdiSlot + kGdiSlots; ++slot)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(slot))) ++count;
    return count;
}

BOOL CALLBACK CountOwnWindow(HWND window, LPARAM count) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId()) return TRUE;
    ++*reinterpret_cast<DWORD*>(count);
    EnumChildWindows(window, CountOwnWindow, count);
    return TRUE;
}

DWORD CountUserObjects() {
    DWORD count = 0;
    EnumWindows(CountOwnWindow, reinterpret_cast<LPARAM>(&count));
    for (HWND window = nullptr; (window = FindWindowExW(HWND_MESSAGE, window, nullptr, nullptr));)
        CountOwnWindow(window, reinterpret_cast<LPARAM>(&count));
    for (UINT_PTR slot = kFirstUserSlot; slot <= kLastUserSlot; slot += 2) {
        auto handle = reinterpret_cast<HANDLE>(slot);
        if (IsMenu(static_cast<HMENU>(handle)) || CopyAcceleratorTableW(static_cast<HACCEL>(handle), nullptr, 0) > 0)
            ++count;
    }
    return count;
}

}  // namespace

GuiCounts CountGuiObjects() {
    GuiCounts counts = {GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
                        GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)};
    if (counts.gdi == 0 && counts.user == 0 && UnderWine()) counts = {CountGdiSlots(), CountUserObjects()};
    return counts;
}
