// The "Send to" submenu in the host playlist editor's menu.
#include "host/PlaylistEditorWindow.h"

#include "bus/CommandCodes.h"
#include "bus/Messages.h"
#include "bus/WindowRegistry.h"
#include "host/HostApi.h"
#include "settings/PluginContext.h"
#include "StringIds.h"

namespace {
// The editor's own menu is the one with this many items or more, starting with a known item.
constexpr int kEditorMenuMinItems = 10;
constexpr UINT kSendToPosition = 10;
}  // namespace

PlaylistEditorWindow::PlaylistEditorWindow(HWND editor, HWND host)
    : WindowObject(editor),
      commandId_(static_cast<UINT>(SendMessageW(host, kHostMessage, 0, kHostNewCommandId))) {
    RegisterWindow(kPlaylistEditorWindowId, editor);
}

// The editor's menu is the host's and outlives the plugin: the item goes first, so that the
// host never holds an item leading to a destroyed submenu or a command nobody answers.
PlaylistEditorWindow::~PlaylistEditorWindow() { RemoveSendTo(); }

// A host that destroyed its menu destroyed the submenu in it as well: that handle is no longer
// ours to destroy.
void PlaylistEditorWindow::RemoveSendTo() {
    bool hostMenuGone = editorMenu_ && !IsMenu(editorMenu_);
    if (editorMenu_ && !hostMenuGone) RemoveMenu(editorMenu_, commandId_, MF_BYCOMMAND);
    editorMenu_ = nullptr;
    if (sendTo_ && !hostMenuGone && IsMenu(sendTo_)) DestroyMenu(sendTo_);
    sendTo_ = nullptr;
}

LRESULT PlaylistEditorWindow::OnInitMenuPopup(HWND, UINT, WPARAM wp, LPARAM) {
    auto menu = reinterpret_cast<HMENU>(wp);
    if (GetMenuItemCount(menu) < kEditorMenuMinItems || GetMenuItemID(menu, 0) != kHostPlaylistMenuFirstItem)
        return 1;
    RemoveSendTo();
    editorMenu_ = menu;
    sendTo_ = CreatePopupMenu();
    if (HWND view = GetWindow(kMainViewWindowId))
        SendMessageW(view, kCommandMessage, kCmdFillSendToMenu, reinterpret_cast<LPARAM>(&sendTo_));
    std::wstring caption = GetString(kStrMenuSendTo);
    MENUITEMINFOW item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_STRING | MIIM_SUBMENU;
    item.wID = commandId_;
    item.hSubMenu = sendTo_;
    item.dwTypeData = caption.data();
    InsertMenuItemW(menu, kSendToPosition, TRUE, &item);
    return 1;
}

LRESULT PlaylistEditorWindow::OnMenuSelect(HWND, UINT, WPARAM, LPARAM lp) {
    if (!sendTo_ || reinterpret_cast<HMENU>(lp) != sendTo_) return 1;
    int count = GetMenuItemCount(sendTo_);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_STATE | MIIM_DATA;
        if (GetMenuItemInfoW(sendTo_, static_cast<UINT>(i), TRUE, &item) && (item.fState & MFS_HILITE))
            highlightedRootId_ = item.dwItemData;
    }
    return 1;
}

LRESULT PlaylistEditorWindow::OnCommand(HWND, UINT, WPARAM wp, LPARAM) {
    if (LOWORD(wp) != kSendToItemCommand) return 1;
    HWND editor = Window();
    HWND view = GetWindow(kMainViewWindowId);
    if (!editor || !view) return 0;
    // Each answer must come after the one before: an editor that does not know the request
    // answers 0 every time, which would otherwise never end.
    LRESULT previous = -1;
    for (LRESULT index; (index = SendMessageW(editor, kHostMessage, kEditorNextSelected, previous)) > previous;
         previous = index) {
        SendToEntry entry = {static_cast<long long>(highlightedRootId_), static_cast<int>(index)};
        SendMessageW(view, kCommandMessage, kCmdSendEntryToPlaylist, reinterpret_cast<LPARAM>(&entry));
    }
    return 0;
}
