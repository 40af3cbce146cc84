// Reading a plugin's pointers page by page through the memory manager, never by touching them.
#include "ReadableMemory.h"

#include <windows.h>

namespace {

constexpr DWORD kReadable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                            PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;

// The readable bytes from address on within its region, or 0.
size_t ReadableFrom(const void* address) {
    MEMORY_BASIC_INFORMATION info;
    if (!VirtualQuery(address, &info, sizeof info) || info.State != MEM_COMMIT) return 0;
    if (!(info.Protect & kReadable) || (info.Protect & PAGE_GUARD)) return 0;
    auto end = static_cast<const char*>(info.BaseAddress) + info.RegionSize;
    return static_cast<size_t>(end - static_cast<const char*>(address));
}

}  // namespace

bool IsReadableWideText(const wchar_t* text, size_t limit) {
    if (!text || reinterpret_cast<UINT_PTR>(text) % sizeof(wchar_t) != 0) return false;
    const wchar_t* at = text;
    while (static_cast<size_t>(at - text) < limit) {
        size_t units = ReadableFrom(at) / sizeof(wchar_t);
        if (units == 0) return false;
        for (size_t i = 0; i < units && static_cast<size_t>(at - text) < limit; ++i, ++at)
            if (*at == L'\0') return true;
    }
    return false;
}
