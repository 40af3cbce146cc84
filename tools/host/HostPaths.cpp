// Paths given to the host from outside Windows: make and the shell tests pass Unix paths, which
// Wine maps to a drive letter through its own export; on Windows the path is kept as it is.
#include <windows.h>

#include "HostApp.h"
#include "base/Text.h"

namespace {

using DosFileName = WCHAR*(CDECL*)(const char*);

DosFileName WineDosFileName() {
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    return reinterpret_cast<DosFileName>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "wine_get_dos_file_name")));
}

}  // namespace

std::wstring NormalizeHostPath(const std::wstring& path) {
    std::wstring result = path;
    if (!path.empty() && path[0] == L'/') {
        if (DosFileName convert = WineDosFileName()) {
            if (WCHAR* dos = convert(WideToUtf8(path).c_str())) {
                result = dos;
                HeapFree(GetProcessHeap(), 0, dos);
            }
        }
    }
    if (result.empty()) return result;
    wchar_t full[MAX_PATH * 2];
    DWORD length = GetFullPathNameW(result.c_str(), MAX_PATH * 2, full, nullptr);
    return length > 0 && length < MAX_PATH * 2 ? std::wstring(full, length) : result;
}
