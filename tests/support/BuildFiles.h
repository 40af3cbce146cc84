// Files the build produced beside the tests (the plugin module, the test language pack),
// found through the folder ctest names, and a plugin context made from the real module.
#pragma once

#include <windows.h>

#include <string>

#include "base/Unique.h"

// A file of the build's bin folder as a Windows path.
std::wstring BuildFile(const wchar_t* name);
// A path relative to the source tree's top folder, as a Windows path.
std::wstring SourceFile(const wchar_t* relative);
// A file of the shared data other programs wrote, kept beside the repository.
std::wstring SharedFile(const wchar_t* relative);

// Creates the process-wide plugin context over the built plugin module, with its documents
// folder in the given place, and destroys it again at the end of the scope.
class ScopedPluginContext {
public:
    explicit ScopedPluginContext(const std::wstring& documents);
    ~ScopedPluginContext();
    ScopedPluginContext(const ScopedPluginContext&) = delete;
    ScopedPluginContext& operator=(const ScopedPluginContext&) = delete;

    HMODULE module() const { return module_.get(); }

private:
    UniqueModule module_;
};
