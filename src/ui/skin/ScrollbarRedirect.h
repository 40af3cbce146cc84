// Sends the common controls' calls of the platform's scroll functions to the skinned bars,
// by replacing those entries in the import table of every loaded common-controls module, and
// puts the original entries back when the owner ends.
#pragma once

#include <windows.h>

#include <vector>

namespace skinbars {

struct ImportReplacement {
    const char* name;
    void* replacement;
};

struct KeptImport {
    void** slot;
    void* original;
};

// Replaces the named functions that module imports from fromModule; each replaced entry is
// added to kept. E_INVALIDARG when the module's headers cannot be read, E_FAIL when an entry
// could not be written.
HRESULT ReplaceImports(HMODULE module, const char* fromModule, const ImportReplacement* table, size_t count,
                       std::vector<KeptImport>& kept);
void RestoreImports(std::vector<KeptImport>& kept);

class ScrollbarRedirect {
public:
    // Does nothing on platforms of the older family, whose controls cannot be redirected so.
    ScrollbarRedirect();
    ~ScrollbarRedirect();
    ScrollbarRedirect(const ScrollbarRedirect&) = delete;
    ScrollbarRedirect& operator=(const ScrollbarRedirect&) = delete;

    // How many import entries now lead to the skinned bars.
    size_t RedirectedEntries() const { return kept_.size(); }

private:
    std::vector<KeptImport> kept_;
};

}  // namespace skinbars
