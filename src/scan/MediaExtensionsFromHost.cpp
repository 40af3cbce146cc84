// The process-wide set of media extensions, built once from the host's playable extensions.
#include "scan/MediaExtensions.h"

#include "base/CriticalSection.h"
#include "bus/WindowRegistry.h"
#include "host/HostApi.h"

namespace {

struct SharedExtensions {
    CriticalSection lock;
    Ref<MediaExtensions> set;
};

SharedExtensions& Shared() {
    static SharedExtensions shared;
    return shared;
}

// The host answers a movable block of wide strings, each zero-terminated, ending with an empty one.
void AddHostExtensions(HWND host, MediaExtensions& set) {
    auto block = reinterpret_cast<HGLOBAL>(SendMessageW(host, kHostMessage, 0, kHostPlayableExtensions));
    if (!block) return;
    if (auto* text = static_cast<const wchar_t*>(GlobalLock(block))) {
        size_t limit = GlobalSize(block) / sizeof(wchar_t);
        size_t i = 0;
        while (i < limit && text[i]) {
            size_t start = i;
            while (i < limit && text[i]) ++i;
            set.Add(std::wstring(text + start, i - start));
            ++i;
        }
        GlobalUnlock(block);
    }
    GlobalFree(block);
}

}  // namespace

// The host is asked with the lock let go: the worker's request waits for the host's thread,
// which may itself want the set meanwhile. Two first users may both ask; the first answer
// stored is the one everybody keeps.
Ref<MediaExtensions> SharedMediaExtensions() {
    {
        Lock lock(Shared().lock);
        if (Shared().set) return Shared().set;
    }
    Ref<MediaExtensions> set = Ref<MediaExtensions>::Make();
    if (HWND host = GetWindow(kHostWindowId)) AddHostExtensions(host, *set);
    set->Add(L"m3u");
    set->Add(L"m3u8");
    Lock lock(Shared().lock);
    if (!Shared().set) Shared().set = set;
    return Shared().set;
}

void ReleaseSharedMediaExtensions() {
    Lock lock(Shared().lock);
    Shared().set.Reset();
}
