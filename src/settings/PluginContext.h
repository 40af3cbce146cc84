// The process-wide plugin context: where the plugin's files live and where each user-visible
// text comes from (the chosen language pack, else the built-in English strings).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "base/Unique.h"

enum class PathKind {
    kSettingsFile = 1,
    kCacheFolder = 2,
    kBaseFolder = 3,
    kBookmarkFile = 5,
    kLanguageFolder = 6,
};

// The plugin's paths, computed from the documents folder and the module's own file name.
struct PluginPaths {
    std::wstring settingsFile;
    std::wstring cacheFolder;
    std::wstring baseFolder;
    std::wstring bookmarkFile;
    std::wstring languageFolder;

    // Empty when the kind names no path.
    std::wstring Get(PathKind kind) const;
};

// Documents empty means the documents folder could not be determined: the folder paths stay
// empty. The bookmark file is two folders above the module: the host's own folder.
PluginPaths ComputePluginPaths(const std::wstring& documents, const std::wstring& moduleFile);

// The current user's documents folder, created if missing; empty when the shell cannot say.
std::wstring DocumentsFolder();

struct LanguagePack {
    std::wstring name;  // the pack's string 1000
    std::wstring path;  // full path of the module file
};

// The packs in the language folder, in the order the file system lists them.
std::vector<LanguagePack> ListLanguagePacks(const std::wstring& languageFolder);

class PluginContext {
public:
    // Creates the one context from the documents folder and the module; a second creation is
    // ignored and answers the existing one. Creates the base and language folders.
    static PluginContext& Create(HINSTANCE module);
    static PluginContext& CreateWithDocuments(HINSTANCE module, const std::wstring& documents);
    // The context, or null before creation and after destruction.
    static PluginContext* Get();
    static void Destroy();

    std::wstring GetPath(PathKind kind) const { return paths_.Get(kind); }
    const PluginPaths& Paths() const { return paths_; }

    // Loads a language pack; on failure the plugin keeps its built-in strings.
    bool LoadLanguageModule(const std::wstring& path);

    // The text of a string-table entry from the language pack (unless pluginOnly, or the pack
    // lacks it or holds it empty), else from the plugin itself. The returned buffer belongs to
    // the calling thread and is overwritten by that thread's next call: copy it or use it at once.
    const wchar_t* GetString(UINT id, bool pluginOnly = false) const;

    HINSTANCE Module() const { return module_; }
    HINSTANCE ResourceModule() const {
        return language_ ? reinterpret_cast<HINSTANCE>(language_.get()) : module_;
    }

private:
    PluginContext(HINSTANCE module, const std::wstring& documents);

    HINSTANCE module_;
    PluginPaths paths_;
    UniqueModule language_;
};

// Shorthand for the context's GetString, for the many callers that only need a text.
const wchar_t* GetString(UINT id);
