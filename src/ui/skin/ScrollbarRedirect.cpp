// Patching the common controls' import tables. The controls keep calling what they believe
// are the platform's scroll functions; for a window with skinned bars those calls must reach
// the bars' own state, or the control and the bars would disagree about every position.
#include "ui/skin/ScrollbarRedirect.h"

#include <tlhelp32.h>

#include <cstdio>
#include <cstring>

#include "base/ForwardingStub.h"
#include "ui/skin/SkinScrollbars.h"

namespace skinbars {

namespace {

constexpr char kPlatformModule[] = "USER32.DLL";
constexpr wchar_t kControlsModule[] = L"COMCTL32.DLL";

const ImportReplacement kScrollFunctions[] = {
    {"EnableScrollBar", reinterpret_cast<const void*>(&EnableScrollBarVia)},
    {"GetScrollInfo", reinterpret_cast<const void*>(&GetScrollInfoVia)},
    {"GetScrollPos", reinterpret_cast<const void*>(&GetScrollPosVia)},
    {"GetScrollRange", reinterpret_cast<const void*>(&GetScrollRangeVia)},
    {"SetScrollInfo", reinterpret_cast<const void*>(&SetScrollInfoVia)},
    {"SetScrollPos", reinterpret_cast<const void*>(&SetScrollPosVia)},
    {"SetScrollRange", reinterpret_cast<const void*>(&SetScrollRangeVia)},
    {"ShowScrollBar", reinterpret_cast<const void*>(&ShowScrollBarVia)},
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

bool IsOurStub(const void* bound, const std::vector<KeptImport>& kept) {
    for (const KeptImport& entry : kept)
        if (entry.stub == bound) return true;
    return false;
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
        if (!match || IsOurStub(bound, kept)) continue;
        // The stub carries what the entry held, so that a window without the bars reaches it:
        // the platform's function, or the hook of a plugin that patched the entry before us.
        void* stub = stubs::MakeStub(bound, match->replacement);
        auto target = reinterpret_cast<void**>(&slot->u1.Function);
        if (!stub || !WriteProtected(target, &stub, sizeof(void*))) return E_FAIL;
        kept.push_back(KeptImport{target, bound, stub});
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

// The module whose code runs the window's class: the one whose imports its scroll calls use.
HMODULE ServingModule(HWND window) {
    auto procedure = reinterpret_cast<LPCWSTR>(GetClassLongPtrW(window, GCLP_WNDPROC));
    HMODULE module = nullptr;
    DWORD flags = GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
    if (procedure && GetModuleHandleExW(flags, procedure, &module)) return module;
    return nullptr;
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
    for (auto entry = kept.rbegin(); entry != kept.rend(); ++entry) {
        // The stub first: a plugin that patched the entry after us keeps our stub as what it
        // calls on, and puts it back into the entry when it quits; from now on, with or without
        // this module, that reaches what the entry held before us.
        stubs::RetargetStub(entry->stub, stubs::JumpToBound());
        if (*entry->slot == entry->stub) WriteProtected(entry->slot, &entry->original, sizeof(void*));
    }
    kept.clear();
}

ScrollbarRedirect::ScrollbarRedirect() {
    if (GetVersion() & 0x80000000u) return;
    // Each loaded copy: under an activation context the controls may come from a second one.
    for (HMODULE module : LoadedModulesNamed(kControlsModule)) Redirect(module);
}

ScrollbarRedirect::ScrollbarRedirect(const std::vector<HMODULE>& modules) {
    for (HMODULE module : modules) Redirect(module);
}

ScrollbarRedirect::~ScrollbarRedirect() {
    for (Patched& module : patched_) RestoreImports(module.kept);
}

void ScrollbarRedirect::Redirect(HMODULE module) {
    HMODULE held = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(module), &held)) return;
    Patched patched{UniqueModule(held), {}};
    HRESULT result = ReplaceImports(module, kPlatformModule, kScrollFunctions, ARRAYSIZE(kScrollFunctions), patched.kept);
    // Half a redirection is none: the control would keep half its calls from the bars.
    if (FAILED(result)) RestoreImports(patched.kept);
    if (!patched.kept.empty()) patched_.push_back(std::move(patched));
}

size_t ScrollbarRedirect::RedirectedEntries() const {
    size_t entries = 0;
    for (const Patched& module : patched_) entries += module.kept.size();
    return entries;
}

bool ScrollbarRedirect::Covers(HWND window) const {
    HMODULE serving = ServingModule(window);
    for (const Patched& module : patched_)
        if (module.held.get() == serving) return true;
    return false;
}

bool ScrollbarRedirect::Attach(HWND window) const { return Covers(window) && skinbars::Attach(window); }

}  // namespace skinbars
