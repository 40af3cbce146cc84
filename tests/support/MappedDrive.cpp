// Drive letters mapped through the Wine prefix's dosdevices links.
#include "support/MappedDrive.h"

#include <windows.h>

#include <cstdlib>
#include <cwctype>

#include "base/Unique.h"

namespace {

void RunUnix(const char* program, const std::string& arguments) {
    std::string line = std::string(program) + " " + arguments;
    std::wstring command(line.begin(), line.end());
    std::string exe = std::string("Z:") + program;
    std::wstring application(exe.begin(), exe.end());
    for (wchar_t& c : application)
        if (c == L'/') c = L'\\';
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(application.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return;
    // A Unix process cannot be waited for; its effect is.
    UniqueHandle thread(process.hThread), handle(process.hProcess);
}

template <class Condition>
bool WaitUntil(Condition condition) {
    for (int i = 0; i < 400; ++i) {
        if (condition()) return true;
        Sleep(50);
    }
    return condition();
}

}  // namespace

MappedDrive::MappedDrive(wchar_t letter, const std::wstring& target) : letter_(static_cast<wchar_t>(towlower(letter))) {
    auto unixName = reinterpret_cast<char* (CDECL*)(const wchar_t*)>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    const char* prefix = std::getenv("WINEPREFIX");
    if (!unixName || !prefix) return;
    char* folder = unixName(target.c_str());
    if (!folder) return;
    link_ = std::string(prefix) + "/dosdevices/" + static_cast<char>(letter_) + ":";
    RunUnix("/bin/ln", "-sfn \"" + std::string(folder) + "\" \"" + link_ + "\"");
    HeapFree(GetProcessHeap(), 0, folder);
    mapped_ = WaitUntil([this] { return GetFileAttributesW((Root() + L"\\").c_str()) != INVALID_FILE_ATTRIBUTES; });
}

MappedDrive::~MappedDrive() {
    if (link_.empty()) return;
    RunUnix("/bin/rm", "-f \"" + link_ + "\"");
    WaitUntil([this] { return GetFileAttributesW((Root() + L"\\").c_str()) == INVALID_FILE_ATTRIBUTES; });
}

std::wstring MappedDrive::Root() const { return std::wstring{static_cast<wchar_t>(towupper(letter_)), L':'}; }

bool RunningUnderWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }
