// Turning the roots store's events into posted (or, where the store must wait, sent) commands.
#include "scan/ViewRootEvents.h"

#include "base/TextObject.h"
#include "ui/framework/ViewCommands.h"
#include "ui/view/CommandCodes.h"

namespace {
// The file list's and the tree's own commands.
constexpr WPARAM kListShowState = 2001;
constexpr WPARAM kTreeRefresh = 1001;

LPARAM PassNode(TreeNode& node) { return reinterpret_cast<LPARAM>(Ref<TreeNode>(&node).Detach()); }
}  // namespace

void ViewRootEvents::ShowMessage(const std::wstring& text) { PostToView(kCmdShowMessage, PassText(text)); }

void ViewRootEvents::RootAdded(TreeNode& node) { PostToView(kCmdShowRoot, PassNode(node)); }

void ViewRootEvents::RootLoaded(TreeNode& node, bool waitForView) {
    if (waitForView) SendToView(kCmdRootLoaded, PassNode(node));
    else PostToView(kCmdRootLoaded, PassNode(node));
}

void ViewRootEvents::OfferTagReading(const std::wstring& rootPath) {
    PostToView(kCmdOfferTagReading, PassText(rootPath));
}

// The view answers with a reference of the playlist's own, or nothing.
Ref<Playlist> ViewRootEvents::OpenPlaylist(const std::wstring& path) {
    auto* playlist = reinterpret_cast<Playlist*>(SendToView(kCmdPlaylistForPath, PassText(path)));
    return Ref<Playlist>::Adopt(playlist);
}

void ViewRootEvents::RefreshList() { PostToView(kCmdRefreshList, 0); }

void ViewRootEvents::LastRootRemoved() {
    if (HWND list = GetWindow(kListWindowId)) PostMessageW(list, kCommandMessage, kListShowState, 0);
    if (HWND tree = GetWindow(kTreeWindowId)) PostMessageW(tree, kCommandMessage, kTreeRefresh, 0);
}
