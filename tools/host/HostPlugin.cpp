// Loading and starting the plugin exactly as the player does: LoadLibrary, the exported
// entry, the record's layout version, the two fields the host fills, then Init.
#include "HostPlugin.h"

#include <psapi.h>

#include "HostOutput.h"
#include "base/Text.h"

namespace {

using GetPluginRecord = standin::PluginRecord*(__cdecl*)();

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

bool HostPlugin::Contains(const void* address) const {
    MODULEINFO info = {};
    if (!GetModuleInformation(GetCurrentProcess(), module_.get(), &info, sizeof(info))) return false;
    auto* base = static_cast<const BYTE*>(info.lpBaseOfDll);
    auto* at = static_cast<const BYTE*>(address);
    return at >= base && at < base + info.SizeOfImage;
}

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
    module_.Reset();
}
