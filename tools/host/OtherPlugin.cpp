// The second plugin of --other-plugin: its window hooks, its patches of the scroll imports,
// the host's list it scrolls, and the checks made of them around our plugin's quit and unload.
#include "OtherPlugin.h"

#include <commctrl.h>

#include <cstring>
#include <string>

#include "HostApp.h"
#include "HostFrames.h"
#include "HostImports.h"
#include "HostOutput.h"
#include "base/Text.h"

namespace {

constexpr char kPlatformModule[] = "USER32.DLL";
constexpr int kListId = 4711;
constexpr int kMaxHooked = 8;

struct WindowHook {
    HWND window = nullptr;
    WNDPROC found = nullptr;
    int calls = 0;
    wchar_t className[64] = {};
};

WindowHook hooked[kMaxHooked];
int hookedCount = 0;
bool running = false;
HWND scrollList = nullptr;
int listRows = 0;

WindowHook* HookOf(HWND window) {
    for (int i = 0; i < hookedCount; ++i)
        if (hooked[i].window == window) return &hooked[i];
    return nullptr;
}

LRESULT CALLBACK OtherWindowHook(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    WindowHook* hook = HookOf(window);
    if (!hook) return DefWindowProcW(window, message, wp, lp);
    ++hook->calls;
    WNDPROC found = hook->found;
    // A careful plugin lets go of a window that is going away; nothing is left to put back.
    if (message == WM_NCDESTROY) hook->window = nullptr;
    return CallWindowProcW(found, window, message, wp, lp);
}

// One patched import: the hook counts the calls and calls on to what the entry held.
struct ImportHook {
    const char* name;
    void* hook;
    void** kept;
    void** slot = nullptr;
    int calls = 0;
};

ImportHook* ImportHooks();

template <int N, class R, class... A>
struct Forward {
    static inline R(WINAPI* kept)(A...) = nullptr;
    static R WINAPI Call(A... args) {
        ++ImportHooks()[N].calls;
        return kept(args...);
    }
};

using EnableScrollBarHook = Forward<0, BOOL, HWND, UINT, UINT>;
using GetScrollInfoHook = Forward<1, BOOL, HWND, int, LPSCROLLINFO>;
using GetScrollPosHook = Forward<2, int, HWND, int>;
using GetScrollRangeHook = Forward<3, BOOL, HWND, int, LPINT, LPINT>;
using SetScrollInfoHook = Forward<4, int, HWND, int, LPCSCROLLINFO, BOOL>;
using SetScrollPosHook = Forward<5, int, HWND, int, int, BOOL>;
using SetScrollRangeHook = Forward<6, BOOL, HWND, int, int, int, BOOL>;
using ShowScrollBarHook = Forward<7, BOOL, HWND, int, BOOL>;

template <class H>
ImportHook HookFor(const char* name) {
    return ImportHook{name, reinterpret_cast<void*>(&H::Call), reinterpret_cast<void**>(&H::kept)};
}

constexpr int kImportCount = 8;

ImportHook* ImportHooks() {
    static ImportHook hooks[kImportCount] = {
        HookFor<EnableScrollBarHook>("EnableScrollBar"), HookFor<GetScrollInfoHook>("GetScrollInfo"),
        HookFor<GetScrollPosHook>("GetScrollPos"),       HookFor<GetScrollRangeHook>("GetScrollRange"),
        HookFor<SetScrollInfoHook>("SetScrollInfo"),     HookFor<SetScrollPosHook>("SetScrollPos"),
        HookFor<SetScrollRangeHook>("SetScrollRange"),   HookFor<ShowScrollBarHook>("ShowScrollBar"),
    };
    return hooks;
}

std::wstring Hex(const void* address) {
    wchar_t text[16];
    wsprintfW(text, L"0x%08X", static_cast<unsigned>(reinterpret_cast<UINT_PTR>(address)));
    return text;
}

std::wstring Name(const char* ascii) { return std::wstring(ascii, ascii + std::strlen(ascii)); }

// The module whose code runs the list: the copy of the common controls whose imports it uses.
HMODULE ServingModule(HWND window) {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(GetClassLongPtrW(window, GCLP_WNDPROC)), &module);
    return module;
}

void CreateScrollList() {
    HWND host = Host().mainWindow;
    scrollList = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_OWNERDATA,
                                 0, 0, 160, 90, host, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)),
                                 Host().instance, nullptr);
    LVCOLUMNW column = {};
    column.mask = LVCF_WIDTH;
    column.cx = 120;
    ListView_InsertColumn(scrollList, 0, &column);
}

void HookWindow(HWND window) {
    if (!IsWindow(window) || hookedCount == kMaxHooked || HookOf(window)) return;
    WindowHook& hook = hooked[hookedCount++];
    hook.window = window;
    GetClassNameW(window, hook.className, ARRAYSIZE(hook.className));
    hook.found = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OtherWindowHook)));
}

void PatchImports() {
    HMODULE controls = ServingModule(scrollList);
    for (int i = 0; i < kImportCount; ++i) {
        ImportHook& hook = ImportHooks()[i];
        *hook.kept = PatchImport(controls, kPlatformModule, hook.name, hook.hook);
        if (*hook.kept) hook.slot = FindImportSlot(controls, kPlatformModule, hook.name);
    }
}

// Sends the hooked windows messages and scrolls the list; prints each hook that heard nothing.
bool UseHostWindows(const wchar_t* when) {
    bool heard = true;
    for (int i = 0; i < hookedCount; ++i) {
        WindowHook& hook = hooked[i];
        if (!hook.window) continue;
        int before = hook.calls;
        SendMessageW(hook.window, WM_NULL, 0, 0);
        SendMessageW(hook.window, WM_GETTEXTLENGTH, 0, 0);
        if (hook.calls > before) continue;
        OutputLine(std::wstring(L"host: the other plugin's hook on ") + hook.className + L" hears nothing " + when);
        heard = false;
    }
    int before = ImportHooks()[4].calls + ImportHooks()[5].calls;
    listRows += 50;
    ListView_SetItemCountEx(scrollList, listRows, 0);
    ListView_EnsureVisible(scrollList, listRows - 1, FALSE);
    ListView_EnsureVisible(scrollList, 0, FALSE);
    if (ImportHooks()[4].calls + ImportHooks()[5].calls == before) {
        OutputLine(std::wstring(L"host: the other plugin's scroll patches hear nothing of the host's list ") + when);
        heard = false;
    }
    return heard;
}

// Uses the windows once the other plugin is gone: nothing counts, the calls only have to land.
void UseHostWindowsAlone() {
    for (HWND window : {Host().mainWindow, Host().playlistEditor}) {
        SendMessageW(window, WM_NULL, 0, 0);
        SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    }
    listRows += 50;
    ListView_SetItemCountEx(scrollList, listRows, 0);
    ListView_EnsureVisible(scrollList, listRows - 1, FALSE);
}

int CountLeads(const ModuleRange& former, const void* address, const std::wstring& what) {
    if (!former.Contains(address)) return 0;
    OutputLine(L"host: " + what + L" leads into the unloaded plugin (" + Hex(address) + L")");
    return 1;
}

// Every procedure and import entry the host can see, and what the other plugin kept of each.
int ReportLeads(const ModuleRange& former) {
    int leads = 0;
    for (HWND window : {Host().mainWindow, Host().playlistEditor}) {
        wchar_t className[64] = {};
        GetClassNameW(window, className, ARRAYSIZE(className));
        leads += CountLeads(former, reinterpret_cast<void*>(GetWindowLongPtrW(window, GWLP_WNDPROC)),
                            std::wstring(L"the window procedure of ") + className);
    }
    for (int i = 0; i < hookedCount; ++i)
        if (running && hooked[i].window)
            leads += CountLeads(former, reinterpret_cast<void*>(hooked[i].found),
                                std::wstring(L"the procedure the other plugin kept for ") + hooked[i].className);
    for (int i = 0; i < kImportCount; ++i) {
        const ImportHook& hook = ImportHooks()[i];
        if (!hook.slot) continue;
        leads += CountLeads(former, *hook.slot, L"the common controls' import of " + Name(hook.name));
        if (running) leads += CountLeads(former, *hook.kept, L"the other plugin's kept import of " + Name(hook.name));
    }
    return leads;
}

void QuitOtherPlugin() {
    for (int i = 0; i < hookedCount; ++i)
        if (hooked[i].window) SetWindowLongPtrW(hooked[i].window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hooked[i].found));
    for (int i = 0; i < kImportCount; ++i) {
        ImportHook& hook = ImportHooks()[i];
        if (hook.slot) PatchImport(ServingModule(scrollList), kPlatformModule, hook.name, *hook.kept);
    }
    running = false;
}

bool StillLoaded(const ModuleRange& former) {
    HMODULE module = nullptr;
    return GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              reinterpret_cast<LPCWSTR>(former.base), &module) != 0;
}

}  // namespace

void StartOtherPlugin() {
    CreateScrollList();
    HookWindow(Host().mainWindow);
    HookWindow(Host().playlistEditor);
    for (HWND frame : HostFrames()) HookWindow(frame);
    PatchImports();
    running = true;
    int imports = 0;
    for (int i = 0; i < kImportCount; ++i) imports += ImportHooks()[i].slot ? 1 : 0;
    OutputLine(L"host: other plugin hooked " + FormatInt(hookedCount) + L" windows and " + FormatInt(imports) +
               L" imports");
}

bool OtherPluginRunning() { return running; }

bool OtherPluginHooked(HWND window) { return running && HookOf(window); }

bool OtherPluginHooksKept() {
    if (!running) return true;
    bool kept = true;
    for (int i = 0; i < hookedCount; ++i) {
        const WindowHook& hook = hooked[i];
        if (!hook.window || GetWindowLongPtrW(hook.window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&OtherWindowHook))
            continue;
        OutputLine(std::wstring(L"host: the other plugin's hook on ") + hook.className + L" was cut out at quit");
        kept = false;
    }
    for (int i = 0; i < kImportCount; ++i) {
        const ImportHook& hook = ImportHooks()[i];
        if (!hook.slot || *hook.slot == hook.hook) continue;
        OutputLine(L"host: the other plugin's patch of " + Name(hook.name) + L" was cut out at quit");
        kept = false;
    }
    return UseHostWindows(L"after quit") && kept;
}

bool OtherPluginOutlivesUnload(const ModuleRange& former) {
    if (!running) return true;
    if (StillLoaded(former)) OutputLine(L"host: the plugin is still loaded after it was unloaded");
    int leads = ReportLeads(former);
    bool heard = UseHostWindows(L"after unload");
    QuitOtherPlugin();
    leads += ReportLeads(former);
    UseHostWindowsAlone();
    int windows = 0;
    for (int i = 0; i < hookedCount; ++i) windows += hooked[i].calls > 0 ? 1 : 0;
    int imports = 0;
    for (int i = 0; i < kImportCount; ++i) imports += ImportHooks()[i].calls > 0 ? 1 : 0;
    OutputLine(L"host: other plugin quit after the unload; its hooks heard " + FormatInt(windows) + L" windows and " +
               FormatInt(imports) + L" scroll imports; " + FormatInt(leads) + L" procedures or imports lead into the unloaded plugin");
    return heard && leads == 0;
}
