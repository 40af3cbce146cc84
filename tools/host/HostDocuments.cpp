// --documents: the plugin finds its settings and cache under the folder the shell names as
// the user's documents. Changing that folder in the registry would change it for every
// program in the Wine prefix, including tests running beside this one, and environment
// variables do not help because the shell folder may be stored unexpanded or expanded. So the
// host patches the plugin module's own imports of the shell's folder functions right after
// loading it and before its start-up entry runs: only the plugin in this process sees the
// other folder, and every other folder it asks for still comes from the shell.
#include "HostDocuments.h"

#include <shlobj.h>

#include "HostImports.h"

namespace {

using GetFolderPathW = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);
using GetSpecialFolderPathW = BOOL(WINAPI*)(HWND, LPWSTR, int, BOOL);
using GetKnownFolderPath = HRESULT(WINAPI*)(REFKNOWNFOLDERID, DWORD, HANDLE, PWSTR*);

std::wstring documents;
GetFolderPathW realGetFolderPath;
GetSpecialFolderPathW realGetSpecialFolderPath;
GetKnownFolderPath realGetKnownFolderPath;

bool IsDocuments(int csidl) { return (csidl & 0xFF) == CSIDL_PERSONAL; }

void CopyDocuments(LPWSTR out, bool create) {
    if (create) SHCreateDirectoryExW(nullptr, documents.c_str(), nullptr);
    lstrcpynW(out, documents.c_str(), MAX_PATH);
}

HRESULT WINAPI HostGetFolderPath(HWND owner, int csidl, HANDLE token, DWORD flags, LPWSTR out) {
    if (!IsDocuments(csidl)) return realGetFolderPath(owner, csidl, token, flags, out);
    CopyDocuments(out, (csidl & CSIDL_FLAG_CREATE) != 0);
    return S_OK;
}

BOOL WINAPI HostGetSpecialFolderPath(HWND owner, LPWSTR out, int csidl, BOOL create) {
    if (!IsDocuments(csidl)) return realGetSpecialFolderPath(owner, out, csidl, create);
    CopyDocuments(out, create != FALSE);
    return TRUE;
}

HRESULT WINAPI HostGetKnownFolderPath(REFKNOWNFOLDERID id, DWORD flags, HANDLE token, PWSTR* out) {
    if (!IsEqualGUID(id, FOLDERID_Documents)) return realGetKnownFolderPath(id, flags, token, out);
    if (flags & KF_FLAG_CREATE) SHCreateDirectoryExW(nullptr, documents.c_str(), nullptr);
    size_t bytes = (documents.size() + 1) * sizeof(wchar_t);
    *out = static_cast<PWSTR>(CoTaskMemAlloc(bytes));
    if (!*out) return E_OUTOFMEMORY;
    memcpy(*out, documents.c_str(), bytes);
    return S_OK;
}

template <class F>
bool Patch(HMODULE plugin, const char* name, F replacement, F& real) {
    void* previous = PatchImport(plugin, "shell32.dll", name, reinterpret_cast<void*>(replacement));
    if (previous) real = reinterpret_cast<F>(previous);
    return previous != nullptr;
}

}  // namespace

bool RedirectDocuments(HMODULE plugin, const std::wstring& folder) {
    documents = folder;
    while (documents.size() > 3 && (documents.back() == L'\\' || documents.back() == L'/'))
        documents.pop_back();
    bool any = Patch(plugin, "SHGetFolderPathW", &HostGetFolderPath, realGetFolderPath);
    any |= Patch(plugin, "SHGetSpecialFolderPathW", &HostGetSpecialFolderPath, realGetSpecialFolderPath);
    any |= Patch(plugin, "SHGetKnownFolderPath", &HostGetKnownFolderPath, realGetKnownFolderPath);
    return any;
}
