// Sends the common controls' calls of the platform's scroll functions to the skinned bars,
// by replacing those entries in the import table of every loaded common-controls module, and
// gives the entries back when the owner ends. Other plugins patch the same entries, before us
// or after: each entry is pointed at a forwarding stub that carries what the entry held before
// us, so that their hooks keep working on both sides of ours and after we are gone.
#pragma once

#include <windows.h>

#include <vector>

#include "base/Unique.h"

namespace skinbars {

struct ImportReplacement {
    const char* name;
    // A __stdcall function that takes what the entry held before as its first argument, ahead
    // of the imported function's own.
    const void* replacement;
};

struct KeptImport {
    void** slot;
    void* original;  // what the entry held before us
    void* stub;      // what we put there
};

// Replaces the named functions that module imports from fromModule; each replaced entry is
// added to kept. E_INVALIDARG when the module's headers cannot be read, E_FAIL when an entry
// could not be written.
HRESULT ReplaceImports(HMODULE module, const char* fromModule, const ImportReplacement* table, size_t count,
                       std::vector<KeptImport>& kept);
// Gives each entry back what it held where it still holds our stub; where someone patched the
// entry after us, leaves their patch and makes our stub, which they keep and call, lead to what
// the entry held before us.
void RestoreImports(std::vector<KeptImport>& kept);

class ScrollbarRedirect {
public:
    // Every loaded copy of the common controls. Does nothing on platforms of the older family,
    // whose controls cannot be redirected so.
    ScrollbarRedirect();
    // Only these modules.
    explicit ScrollbarRedirect(const std::vector<HMODULE>& modules);
    ~ScrollbarRedirect();
    ScrollbarRedirect(const ScrollbarRedirect&) = delete;
    ScrollbarRedirect& operator=(const ScrollbarRedirect&) = delete;

    // How many import entries now lead to the skinned bars.
    size_t RedirectedEntries() const;
    // Whether the module that serves the window's class calls the skinned bars for its scroll
    // functions. Bars attached anywhere else would show one state while the control, calling
    // the platform, keeps another.
    bool Covers(HWND window) const;
    // Attaches the skinned bars to the window, only where Covers.
    bool Attach(HWND window) const;

private:
    void Redirect(HMODULE module);

    struct Patched {
        UniqueModule held;  // a module unloaded while patched would take our entries' slots with it
        std::vector<KeptImport> kept;
    };
    std::vector<Patched> patched_;
};

}  // namespace skinbars
