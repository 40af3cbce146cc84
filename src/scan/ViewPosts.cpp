// The synchronous question the scan asks the view.
#include "scan/ViewPosts.h"

#include "scan/AbortScan.h"

Ref<Playlist> AskViewForPlaylist(const std::wstring& path) {
    HWND view = GetWindow(kMainViewWindowId);
    // Once the view is closing it waits for the worker without answering messages, so a send
    // then would never return.
    if (!view || AbortScanRaised()) return {};
    LRESULT answer = SendMessageW(view, kCommandMessage, kCmdPlaylistForPath, PassText(path));
    return Ref<Playlist>::Adopt(reinterpret_cast<Playlist*>(answer));
}
