// Turning the roots store's events into posted (or, where the store must wait, sent) commands.
#include "scan/ViewRootEvents.h"

#include "scan/AbortScan.h"
#include "scan/ViewPosts.h"

namespace {
// The file list's and the tree's own commands.
constexpr WPARAM kListShowState = 2001;
constexpr WPARAM kTreeRefresh = 1001;
}  // namespace

void ViewRootEvents::ShowMessage(const std::wstring& text) { PostTextToView(kCmdShowMessage, text); }

void ViewRootEvents::RootAdded(TreeNode& node) { PostObjectToView(kCmdShowRoot, Ref<TreeNode>(&node)); }

// Once the view is closing it may be waiting for this thread, so nothing waits for it then.
void ViewRootEvents::RootLoaded(TreeNode& node, bool waitForView) {
    if (!waitForView || AbortScanRaised()) {
        PostObjectToView(kCmdRootLoaded, Ref<TreeNode>(&node));
        return;
    }
    SendToView(kCmdRootLoaded, reinterpret_cast<LPARAM>(Ref<TreeNode>(&node).Detach()));
}

void ViewRootEvents::OfferTagReading(const std::wstring& rootPath) { PostTextToView(kCmdOfferTagReading, rootPath); }

Ref<Playlist> ViewRootEvents::OpenPlaylist(const std::wstring& path) { return AskViewForPlaylist(path); }

void ViewRootEvents::RefreshList() { PostToView(kCmdRefreshList, 0); }

void ViewRootEvents::LastRootRemoved() {
    if (HWND list = GetWindow(kListWindowId)) PostMessageW(list, kCommandMessage, kListShowState, 0);
    if (HWND tree = GetWindow(kTreeWindowId)) PostMessageW(tree, kCommandMessage, kTreeRefresh, 0);
}
