// Patching the common controls' import tables. The controls keep calling what they believe
// are the platform's scroll functions; for a window with skinned bars those calls must reach
// the bars' own state, or the control and the bars would disagree about every position.
#include "ui/skin/ScrollbarRedirect.h"

#include <tlhelp32.h>

#include <cstdio>
#include <cstring>

#include "base/Unique.h"
#include "ui/skin/SkinScrollbars.h"

namespace skinbars {

namespace {

constexpr char kPlatformModule[] = "USER32.DLL";
constexpr wchar_t kControlsModule[] = L"COMCTL32.DLL";

const ImportReplacement kScrollFunctions[] = {
    {"EnableScrollBar", reinterpret_cast<void*>(&skinbars::EnableScrollBar)},
    {"GetScrollInfo", reinterpret_cast<void*>(&skinbars::GetScrollInfo)},
    {"GetScrollPos", reinterpret_cast<void*>(&skinbars::GetScrollPos)},
    {"GetScrollRange", reinterpret_cast<void*>(&skinbars::GetScrollRange)},
    {"SetScrollInfo", reinterpret_cast<void*>(&skinbars::SetScrollInfo)},
    {"SetScrollPos", reinterpret_cast<void*>(&skinbars::SetScrollPos)},
    {"SetScrollRange", reinterpret_cast<void*>(&skinbars::SetScrollRange)},
    {"ShowScrollBar", reinterpret_cast<void*>(&skinbars::ShowScrollBar)},
};

bool IsReadable(const void* address, size_t size) {
    MEMORY_BASIC_INFORMATION info;
    if (!address || !VirtualQuery(address, &info, sizeof(info))) return false;
    if (info.State != MEM_COMMIT || (info.Protect & (PAGE_NOACCESS | PAGE_GUARD))) return false;
    auto end = static_cast<const BYTE*>(info.BaseAddress) + info.RegionSize;
    return static_cast<const BYTE*>(address) + size <= end;
}

// Makes the page writable for the copy and gives it its protection back.
bool WriteProtected(void* target, const void* source, DWORD size) {
    DWORD old = 0;
    if (!VirtualProtect(target, size, PAGE_EXECUTE_READWRITE, &old)) {
        DWORD error = GetLastError();
        wchar_t text[160];
        swprintf(text, ARRAYSIZE(text), L"Error: %d pDest 0x%08X, pSrc 0x%08X, dwSize %d", static_cast<int>(error),
                 static_cast<unsigned>(reinterpret_cast<UINT_PTR>(target)),
                 static_cast<unsigned>(reinterpret_cast<UINT_PTR>(source)), static_cast<int>(size));
        MessageBoxW(nullptr, text, L"Error", MB_OK | MB_ICONERROR | MB_TOPMOST);
        return false;
    }
    std::memcpy(target, source, size);
    VirtualProtect(target, size, old, &old);
    FlushInstructionCache(GetCurrentProcess(), target, size);
    return true;
}

const IMAGE_IMPORT_DESCRIPTOR* ImportsOf(HMODULE module) {
    auto base = reinterpret_cast<const BYTE*>(module);
    auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (!IsReadable(dos, sizeof(*dos)) || dos->e_magic != IMAGE_DOS_SIGNATURE) return nullptr;
    auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    if (!IsReadable(nt, sizeof(*nt)) || nt->Signature != IMAGE_NT_SIGNATURE) return nullptr;
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!directory.VirtualAddress) return nullptr;
    auto imports = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
    return IsReadable(imports, sizeof(*imports)) ? imports : nullptr;
}

const ImportReplacement* FindByName(const char* name, const ImportReplacement* table, size_t count) {
    for (size_t i = 0; i < count; ++i)
        if (std::strcmp(name, table[i].name) == 0) return &table[i];
    return nullptr;
}

// The entry's function name from the lookup table, or, where the module has none, the
// replacement whose platform address the entry holds.
const ImportReplacement* MatchEntry(const BYTE* base, const IMAGE_THUNK_DATA* lookup, void* bound,
                                    HMODULE from, const ImportReplacement* table, size_t count) {
    if (lookup && !IMAGE_SNAP_BY_ORDINAL(lookup->u1.Ordinal)) {
        auto byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + lookup->u1.AddressOfData);
        if (!IsReadable(byName, sizeof(*byName))) return nullptr;
        return FindByName(reinterpret_cast<const char*>(byName->Name), table, count);
    }
    for (size_t i = 0; i < count; ++i)
        if (from && reinterpret_cast<void*>(GetProcAddress(from, table[i].name)) == bound) return &table[i];
    return nullptr;
}

HRESULT ReplaceInDescriptor(const BYTE* base, const IMAGE_IMPORT_DESCRIPTOR& descriptor, HMODULE from,
                            const ImportReplacement* table, size_t count, std::vector<KeptImport>& kept) {
    auto slot = reinterpret_cast<IMAGE_THUNK_DATA*>(const_cast<BYTE*>(base) + descriptor.FirstThunk);
    auto lookup = descriptor.OriginalFirstThunk
                      ? reinterpret_cast<const IMAGE_THUNK_DATA*>(base + descriptor.OriginalFirstThunk)
                      : nullptr;
    for (;; ++slot, lookup = lookup ? lookup + 1 : nullptr) {
        if (!IsReadable(slot, sizeof(*slot)) || (lookup && !IsReadable(lookup, sizeof(*lookup)))) return E_INVALIDARG;
        if (!slot->u1.Function) return S_OK;
        auto bound = reinterpret_cast<void*>(slot->u1.Function);
        const ImportReplacement* match = MatchEntry(base, lookup, bound, from, table, count);
        if (!match || bound == match->replacement) continue;
        auto target = reinterpret_cast<void**>(&slot->u1.Function);
        if (!WriteProtected(target, &match->replacement, sizeof(void*))) return E_FAIL;
        kept.push_back(KeptImport{target, bound});
    }
}

std::vector<HMODULE> LoadedModulesNamed(const wchar_t* name) {
    std::vector<HMODULE> found;
    UniqueFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, GetCurrentProcessId()));
    if (!snapshot) return found;
    MODULEENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Module32FirstW(snapshot.get(), &entry); more; more = Module32NextW(snapshot.get(), &entry))
        if (lstrcmpiW(entry.szModule, name) == 0) found.push_back(entry.hModule);
    return found;
}

}  // namespace

HRESULT ReplaceImports(HMODULE module, const char* fromModule, const ImportReplacement* table, size_t count,
                       std::vector<KeptImport>& kept) {
    const IMAGE_IMPORT_DESCRIPTOR* descriptor = ImportsOf(module);
    if (!descriptor) return E_INVALIDARG;
    auto base = reinterpret_cast<const BYTE*>(module);
    HMODULE from = GetModuleHandleA(fromModule);
    for (; IsReadable(descriptor, sizeof(*descriptor)) && descriptor->Name; ++descriptor) {
        auto name = reinterpret_cast<const char*>(base + descriptor->Name);
        if (!IsReadable(name, 1) || lstrcmpiA(name, fromModule) != 0) continue;
        HRESULT result = ReplaceInDescriptor(base, *descriptor, from, table, count, kept);
        if (FAILED(result)) return result;
    }
    return S_OK;
}

void RestoreImports(std::vector<KeptImport>& kept) {
    // Backwards, so an entry replaced twice ends with its first value.
    for (auto entry = kept.rbegin(); entry != kept.rend(); ++entry)
        WriteProtected(entry->slot, &entry->original, sizeof(void*));
    kept.clear();
}

ScrollbarRedirect::ScrollbarRedirect() {
    if (GetVersion() & 0x80000000u) return;
    // Each loaded copy: under an activation context the controls may come from a second one.
    for (HMODULE module : LoadedModulesNamed(kControlsModule))
        ReplaceImports(module, kPlatformModule, kScrollFunctions, ARRAYSIZE(kScrollFunctions), kept_);
}

ScrollbarRedirect::~ScrollbarRedirect() { RestoreImports(kept_); }

}  // namespace skinbars
