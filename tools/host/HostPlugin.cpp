// Loading and starting the plugin exactly as the player does: LoadLibrary, the exported
// entry, the record's layout version, the two fields the host fills, then Init.
#include "HostPlugin.h"

#include <psapi.h>

#include "HostOutput.h"
#include "base/Text.h"

namespace {

using GetPluginRecord = standin::PluginRecord*(__cdecl*)();

constexpr UINT kExitPluginLeftSomething = 3;

// Read by the exception handler, on whichever thread made the call.
ModuleRange watchedRange;

bool LeadsIntoFormerModule(const EXCEPTION_RECORD& record) {
    if (record.ExceptionCode != EXCEPTION_ACCESS_VIOLATION) return false;
    if (watchedRange.Contains(record.ExceptionAddress)) return true;
    // A read or jump through a pointer into the range faults at that address instead.
    return record.NumberParameters >= 2 &&
           watchedRange.Contains(reinterpret_cast<const void*>(record.ExceptionInformation[1]));
}

LONG CALLBACK CatchCallIntoFormerModule(EXCEPTION_POINTERS* pointers) {
    const EXCEPTION_RECORD& record = *pointers->ExceptionRecord;
    if (!LeadsIntoFormerModule(record)) return EXCEPTION_CONTINUE_SEARCH;
    wchar_t address[16];
    wsprintfW(address, L"0x%08X", static_cast<unsigned>(reinterpret_cast<UINT_PTR>(record.ExceptionAddress)));
    OutputLine(std::wstring(L"host: a call led into the unloaded plugin (at ") + address + L")");
    TerminateProcess(GetCurrentProcess(), kExitPluginLeftSomething);
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

bool HostPlugin::Load(const std::wstring& path) {
    module_.Reset(LoadLibraryW(path.c_str()));
    if (!module_) {
        DWORD error = GetLastError();
        OutputLine(L"host: cannot load " + path + L" (error " + FormatInt(error) + L")");
        return false;
    }
    auto entry = reinterpret_cast<GetPluginRecord>(
        reinterpret_cast<void*>(GetProcAddress(module_.get(), "winampGetGeneralPurposePlugin")));
    if (!entry) {
        OutputLine(L"host: " + path + L" has no plugin entry");
        return false;
    }
    record_ = entry();
    if (!record_ || record_->version != standin::kPluginRecordVersion) {
        OutputLine(L"host: the plugin record has an unknown layout version");
        record_ = nullptr;
        return false;
    }
    return true;
}

void HostPlugin::Start(HWND hostWindow) {
    if (!record_) return;
    record_->mainWindow = hostWindow;
    record_->instance = reinterpret_cast<HINSTANCE>(module_.get());
    int result = record_->init();
    started_ = true;
    std::wstring description = record_->description ? Utf8ToWide(record_->description) : L"";
    OutputLine(L"host: plugin " + description + L" init returned " + FormatInt(result));
}

void HostPlugin::Quit() {
    if (!started_ || quit_) return;
    quit_ = true;
    record_->quit();
}

ModuleRange HostPlugin::Range() const {
    MODULEINFO info = {};
    if (!module_ || !GetModuleInformation(GetCurrentProcess(), module_.get(), &info, sizeof(info))) return {};
    return ModuleRange{static_cast<const BYTE*>(info.lpBaseOfDll), info.SizeOfImage};
}

bool HostPlugin::Contains(const void* address) const { return Range().Contains(address); }

bool HostPlugin::CheckProceduresGiven(const std::vector<HWND>& hostWindows) const {
    bool given = true;
    for (HWND window : hostWindows) {
        if (!IsWindow(window)) continue;
        auto own = static_cast<LONG_PTR>(GetClassLongPtrW(window, GCLP_WNDPROC));
        auto current = GetWindowLongPtrW(window, GWLP_WNDPROC);
        if (current == own) continue;
        wchar_t className[64] = {};
        GetClassNameW(window, className, 64);
        OutputLine(std::wstring(L"host: window procedure left on ") + className + L" after quit");
        given = false;
        if (Contains(reinterpret_cast<void*>(current))) SetWindowLongPtrW(window, GWLP_WNDPROC, own);
    }
    return given;
}

void HostPlugin::Unload() {
    record_ = nullptr;
    former_ = Range();
    module_.Reset();
    if (!former_.base) return;
    watchedRange = former_;
    // Stays for the rest of the process: such a call may come at any time up to the exit.
    static PVOID handler = AddVectoredExceptionHandler(1, &CatchCallIntoFormerModule);
    (void)handler;
}
