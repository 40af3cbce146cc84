// Locating build outputs from inside Wine, and the test plugin context.
#include "support/BuildFiles.h"

#include <cstdlib>

#include "settings/PluginContext.h"

namespace {

// ctest hands over a Unix path; Wine reaches the Unix root through drive Z:.
std::wstring FolderFromEnvironment(const char* variable) {
    const char* dir = std::getenv(variable);
    std::string narrow = dir ? dir : ".";
    std::wstring path(narrow.begin(), narrow.end());
    for (auto& c : path)
        if (c == L'/') c = L'\\';
    if (!path.empty() && path[0] == L'\\') path.insert(0, L"Z:");
    return path;
}

}  // namespace

std::wstring BuildFile(const wchar_t* name) { return FolderFromEnvironment("CV_BIN_DIR") + L"\\" + name; }

std::wstring SharedFile(const wchar_t* relative) { return FolderFromEnvironment("CV_SHARED_DIR") + L"\\" + relative; }

std::wstring SourceFile(const wchar_t* relative) { return FolderFromEnvironment("CV_SOURCE_DIR") + L"\\" + relative; }

ScopedPluginContext::ScopedPluginContext(const std::wstring& documents)
    : module_(LoadLibraryW(BuildFile(L"gen_cv.dll").c_str())) {
    // The shell makes sure the real documents folder exists; a test's stand-in must too.
    CreateDirectoryW(documents.c_str(), nullptr);
    PluginContext::CreateWithDocuments(reinterpret_cast<HINSTANCE>(module_.get()), documents);
}

ScopedPluginContext::~ScopedPluginContext() { PluginContext::Destroy(); }
