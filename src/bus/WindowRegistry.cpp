// The window registry: six process-wide handles.
#include "bus/WindowRegistry.h"

#include <atomic>

namespace {

constexpr int kIds[] = {kTreeWindowId, kListWindowId, kHostWindowId,
                        kPlaylistEditorWindowId, kMainViewWindowId, kFrameWindowId};
constexpr int kCount = sizeof(kIds) / sizeof(kIds[0]);

// Other threads read entries (to post to the view) while the user-interface thread sets them.
std::atomic<HWND>& Slot(int index) {
    static std::atomic<HWND> slots[kCount];
    return slots[index];
}

int IndexOf(int id) {
    for (int i = 0; i < kCount; ++i)
        if (kIds[i] == id) return i;
    return -1;
}

}  // namespace

HWND GetWindow(int id) {
    int index = IndexOf(id);
    return index < 0 ? nullptr : Slot(index).load();
}

void RegisterWindow(int id, HWND window) {
    int index = IndexOf(id);
    if (index >= 0) Slot(index).store(window);
}
