// Locating build outputs from inside Wine, and the test plugin context.
#include "support/BuildFiles.h"

#include <cstdlib>

#include "settings/PluginContext.h"

// ctest hands over a Unix path; Wine reaches the Unix root through drive Z:.
std::wstring BuildFile(const wchar_t* name) {
    const char* dir = std::getenv("CV_BIN_DIR");
    std::string narrow = dir ? dir : ".";
    std::wstring path(narrow.begin(), narrow.end());
    for (auto& c : path)
        if (c == L'/') c = L'\\';
    if (!path.empty() && path[0] == L'\\') path.insert(0, L"Z:");
    return path + L"\\" + name;
}

ScopedPluginContext::ScopedPluginContext(const std::wstring& documents)
    : module_(LoadLibraryW(BuildFile(L"gen_cv.dll").c_str())) {
    // The shell makes sure the real documents folder exists; a test's stand-in must too.
    CreateDirectoryW(documents.c_str(), nullptr);
    PluginContext::CreateWithDocuments(reinterpret_cast<HINSTANCE>(module_.get()), documents);
}

ScopedPluginContext::~ScopedPluginContext() { PluginContext::Destroy(); }
