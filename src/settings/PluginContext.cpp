// The plugin context: folder paths under the user's documents, string lookup with
// language-pack fallback, and the list of installed language packs.
#include "settings/PluginContext.h"

#include <shlobj.h>

#include <memory>

#include "base/Path.h"

namespace {

constexpr int kStringBufferLength = 1024;
constexpr UINT kLanguageNameString = 1000;

std::unique_ptr<PluginContext>& Instance() {
    static std::unique_ptr<PluginContext> instance;
    return instance;
}

// Language packs are resource modules; loading them as data keeps any code in them from running.
HMODULE LoadResourceModule(const std::wstring& path) {
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
}

}  // namespace

std::wstring PluginPaths::Get(PathKind kind) const {
    switch (kind) {
        case PathKind::kSettingsFile: return settingsFile;
        case PathKind::kCacheFolder: return cacheFolder;
        case PathKind::kBaseFolder: return baseFolder;
        case PathKind::kBookmarkFile: return bookmarkFile;
        case PathKind::kLanguageFolder: return languageFolder;
    }
    return {};
}

PluginPaths ComputePluginPaths(const std::wstring& documents, const std::wstring& moduleFile) {
    PluginPaths paths;
    if (!documents.empty()) {
        paths.settingsFile = JoinPath(documents, L"Crateview\\gen_cv.ini");
        paths.cacheFolder = JoinPath(documents, L"Crateview\\Cache");
        paths.languageFolder = JoinPath(documents, L"Crateview\\lang");
        paths.baseFolder = JoinPath(documents, L"Crateview");
    }
    std::wstring pluginsFolder = ParentPath(moduleFile);
    std::wstring hostFolder = pluginsFolder.empty() ? std::wstring() : ParentPath(pluginsFolder);
    if (!hostFolder.empty()) paths.bookmarkFile = hostFolder + L"\\Winamp.bm";
    return paths;
}

std::wstring DocumentsFolder() {
    wchar_t path[MAX_PATH] = {};
    HRESULT hr = SHGetFolderPathW(nullptr, CSIDL_PERSONAL | CSIDL_FLAG_CREATE, nullptr,
                                  SHGFP_TYPE_CURRENT, path);
    return SUCCEEDED(hr) ? std::wstring(path) : std::wstring();
}

std::vector<LanguagePack> ListLanguagePacks(const std::wstring& languageFolder) {
    std::vector<LanguagePack> packs;
    if (languageFolder.empty()) return packs;
    WIN32_FIND_DATAW data;
    UniqueFind find(FindFirstFileW(JoinPath(languageFolder, L"*.dll").c_str(), &data));
    if (!find) return packs;
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        std::wstring path = JoinPath(languageFolder, data.cFileName);
        UniqueModule module(LoadResourceModule(path));
        if (!module) continue;
        wchar_t name[kStringBufferLength] = {};
        LoadStringW(module.get(), kLanguageNameString, name, kStringBufferLength);
        packs.push_back({name, path});
    } while (FindNextFileW(find.get(), &data));
    return packs;
}

PluginContext::PluginContext(HINSTANCE module, const std::wstring& documents)
    : module_(module), paths_(ComputePluginPaths(documents, ModuleFileName(module))) {
    CreateFolderIfMissing(paths_.baseFolder);
    CreateFolderIfMissing(paths_.languageFolder);
}

PluginContext& PluginContext::Create(HINSTANCE module) {
    if (Instance()) return *Instance();
    return CreateWithDocuments(module, DocumentsFolder());
}

PluginContext& PluginContext::CreateWithDocuments(HINSTANCE module, const std::wstring& documents) {
    if (!Instance()) Instance().reset(new PluginContext(module, documents));
    return *Instance();
}

PluginContext* PluginContext::Get() { return Instance().get(); }

void PluginContext::Destroy() { Instance().reset(); }

bool PluginContext::LoadLanguageModule(const std::wstring& path) {
    language_.Reset(path.empty() ? nullptr : LoadResourceModule(path));
    return language_.valid();
}

const wchar_t* PluginContext::GetString(UINT id, bool pluginOnly) const {
    thread_local wchar_t buffer[kStringBufferLength];
    buffer[0] = L'\0';
    if (language_ && !pluginOnly &&
        LoadStringW(reinterpret_cast<HINSTANCE>(language_.get()), id, buffer, kStringBufferLength) > 0)
        return buffer;
    if (LoadStringW(module_, id, buffer, kStringBufferLength) <= 0) buffer[0] = L'\0';
    return buffer;
}

const wchar_t* GetString(UINT id) {
    PluginContext* context = PluginContext::Get();
    if (context) return context->GetString(id);
    thread_local wchar_t empty[1] = {L'\0'};
    return empty;
}
