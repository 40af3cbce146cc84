// Import address table patching. The host changes a few imports of the plugin module only,
// after loading it and before its start-up entry runs, so the change is local to this process
// and to that one module: the system DLLs and every other program see their normal functions.
// The other plugin of --other-plugin patches the common controls' imports the same way.
#include "HostImports.h"

#include <cstring>

namespace {

template <class T>
T* AtOffset(HMODULE module, DWORD offset) {
    return reinterpret_cast<T*>(reinterpret_cast<BYTE*>(module) + offset);
}

const IMAGE_IMPORT_DESCRIPTOR* FirstImport(HMODULE module) {
    auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(module);
    if (!module || dos->e_magic != IMAGE_DOS_SIGNATURE) return nullptr;
    auto* nt = AtOffset<const IMAGE_NT_HEADERS>(module, dos->e_lfanew);
    if (nt->Signature != IMAGE_NT_SIGNATURE) return nullptr;
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!dir.VirtualAddress) return nullptr;
    return AtOffset<const IMAGE_IMPORT_DESCRIPTOR>(module, dir.VirtualAddress);
}

bool ReplaceSlot(void** slot, void* replacement) {
    DWORD old = 0;
    if (!VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &old)) return false;
    *slot = replacement;
    VirtualProtect(slot, sizeof(void*), old, &old);
    return true;
}

}  // namespace

void** FindImportSlot(HMODULE module, const char* dll, const char* function) {
    for (auto* desc = FirstImport(module); desc && desc->Name; ++desc) {
        if (_stricmp(AtOffset<const char>(module, desc->Name), dll) != 0) continue;
        // The name table may be absent in old linkers' output; the bound table then has the names.
        DWORD namesOffset = desc->OriginalFirstThunk ? desc->OriginalFirstThunk : desc->FirstThunk;
        auto* names = AtOffset<const IMAGE_THUNK_DATA>(module, namesOffset);
        auto* slots = AtOffset<IMAGE_THUNK_DATA>(module, desc->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* byName = AtOffset<const IMAGE_IMPORT_BY_NAME>(module, names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0)
                return reinterpret_cast<void**>(&slots->u1.Function);
        }
    }
    return nullptr;
}

void* PatchImport(HMODULE module, const char* dll, const char* function, void* replacement) {
    void** slot = FindImportSlot(module, dll, function);
    if (!slot) return nullptr;
    void* previous = *slot;
    return ReplaceSlot(slot, replacement) ? previous : nullptr;
}
