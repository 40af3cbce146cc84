// The view's context menus: which menu a right-click or the menu key asks for, where it opens,
// and where the chosen item goes.
#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include "bus/CommandCodes.h"
#include "bus/Messages.h"
#include "settings/PluginContext.h"
#include "ui/view/BookmarkFile.h"
#include "ui/view/FileListView.h"
#include "ui/view/FolderTreeView.h"
#include "ui/view/MainView.h"
#include "ui/view/MenuRouting.h"
#include "ui/view/OwnerDrawnMenu.h"
#include "ui/view/ViewCommandCodes.h"

namespace {

POINT ScreenPoint(HWND window, POINT client) {
    ClientToScreen(window, &client);
    return client;
}

bool OverWindow(HWND window, POINT screen) {
    RECT bounds;
    return window && IsWindowVisible(window) && GetWindowRect(window, &bounds) && PtInRect(&bounds, screen);
}

VisibleColumns ShownColumns(HWND list) {
    VisibleColumns visible{};
    for (size_t column = 0; column < visible.size(); ++column)
        visible[column] = ListView_GetColumnWidth(list, static_cast<int>(column)) >= 1;
    return visible;
}

// With the keyboard the menu opens at the focused row when it is selected, else at the first
// selected row.
POINT KeyboardPointInList(HWND list) {
    int row = ListView_GetNextItem(list, -1, LVNI_FOCUSED | LVNI_SELECTED);
    if (row < 0) row = ListView_GetNextItem(list, -1, LVNI_SELECTED);
    RECT bounds = {};
    if (row < 0 || !ListView_GetItemRect(list, row, &bounds, LVIR_BOUNDS)) return ScreenPoint(list, {0, 0});
    return ScreenPoint(list, {bounds.left, bounds.top});
}

std::vector<std::wstring> PathsOf(const std::vector<Bookmark>& bookmarks) {
    std::vector<std::wstring> paths;
    for (const Bookmark& bookmark : bookmarks) paths.push_back(bookmark.path);
    return paths;
}

TreeMenuNode MenuNodeOf(const TreeNode* node) {
    if (!node) return TreeMenuNode::kMyLibrary;
    switch (node->kind) {
        case NodeKind::kPlaylist: return TreeMenuNode::kPlaylist;
        case NodeKind::kSmartPlaylist: return TreeMenuNode::kSmartPlaylist;
        default: return TreeMenuNode::kFolder;
    }
}

}  // namespace

CaptionSource MainView::MenuCaptions() const {
    return [](UINT id) { return std::wstring(GetString(id)); };
}

LRESULT MainView::OnContextMenu(HWND, UINT, WPARAM wp, LPARAM lp) {
    if (!tree_ || !list_) return TRUE;
    auto source = reinterpret_cast<HWND>(wp);
    POINT at = {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    bool fromKeyboard = at.x == -1 && at.y == -1;
    HWND pane = nullptr;
    PopupMenu menu;
    if (source == tree_->Tree()) {
        pane = tree_->Tree();
        menu = TreeContextMenu(at, fromKeyboard);
    } else if (source == list_->Window() || IsChild(list_->Window(), source)) {
        pane = list_->Window();
        menu = ListContextMenu(source, at, fromKeyboard);
    }
    if (!menu) return TRUE;
    UINT code = static_cast<UINT>(
        TrackPopupMenu(menu.Handle(), TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y, 0, dialog_, nullptr));
    menu = PopupMenu();
    if (code) RunMenuChoice(code, pane);
    return TRUE;
}

// The header's column menu over the header; otherwise the rows' menu, but only for a
// selection, and not while the view is busy (the tree is disabled then).
PopupMenu MainView::ListContextMenu(HWND source, POINT& at, bool fromKeyboard) {
    HWND list = list_->Window();
    HWND header = ListView_GetHeader(list);
    if (!fromKeyboard && (source == header || OverWindow(header, at)))
        return PopupMenu::Create(BuildHeaderMenu(ShownColumns(list), MenuCaptions()));
    if (!IsWindowEnabled(tree_->Tree()) || ListView_GetSelectedCount(list) == 0) return PopupMenu();
    if (fromKeyboard) at = KeyboardPointInList(list);
    ListMenuState state;
    state.play = {list_->EnterKeyDisabled(), list_->DoubleClickCommand()};
    state.showDelete = SendMessageW(dialog_, kCommandMessage, kOptGetShowDelete, 0) != 0;
    PluginContext* context = PluginContext::Get();
    state.bookmarks = ReadBookmarkFile(context ? context->GetPath(PathKind::kBookmarkFile) : std::wstring());
    list_->SetBookmarks(PathsOf(state.bookmarks));
    return PopupMenu::Create(BuildListMenu(state, MenuCaptions()));
}

// The item under the pointer (or the selected one, for the keyboard) is selected and gets its
// node's menu; empty space gets the root menu alone.
PopupMenu MainView::TreeContextMenu(POINT& at, bool fromKeyboard) {
    HWND tree = tree_->Tree();
    HTREEITEM item = nullptr;
    if (fromKeyboard) {
        item = TreeView_GetSelection(tree);
        RECT text = {};
        bool shown = item && TreeView_GetItemRect(tree, item, &text, TRUE);
        at = ScreenPoint(tree, shown ? POINT{text.left, text.top} : POINT{0, 0});
    } else {
        TVHITTESTINFO hit = {};
        hit.pt = at;
        ScreenToClient(tree, &hit.pt);
        item = TreeView_HitTest(tree, &hit);
    }
    if (!item) return PopupMenu::Create(BuildRootMenu(false, MenuCaptions()));
    if (item != TreeView_GetSelection(tree)) tree_->SelectItem(item);
    return PopupMenu::Create(BuildTreeMenu(TreeMenuStateOf(item), MenuCaptions()));
}

TreeMenuState MainView::TreeMenuStateOf(HTREEITEM item) {
    HWND tree = tree_->Tree();
    TreeNode* node = tree_->NodeOf(item);
    TreeMenuState state;
    state.play = {tree_->EnterKeyDisabled(), tree_->DoubleClickCommand()};
    state.node = MenuNodeOf(node);
    state.isRoot = node && TreeView_GetParent(tree, item) == tree_->TopItem();
    state.playlistModified = node && node->playlist && node->playlist->HasUnsavedChanges();
    state.autoload = state.isRoot && SendMessageW(dialog_, kCommandMessage, kCmdGetAutoload, 0) == 1;
    state.showDelete = SendMessageW(dialog_, kCommandMessage, kOptGetShowDelete, 0) != 0;
    return state;
}

void MainView::RunMenuChoice(UINT code, HWND pane) {
    MenuRoute route = RouteMenuChoice(code);
    switch (route.kind) {
        case MenuRouteKind::kSendToView: SendMessageW(dialog_, kCommandMessage, route.command, route.argument); break;
        case MenuRouteKind::kPostToView: PostMessageW(dialog_, kCommandMessage, route.command, route.argument); break;
        case MenuRouteKind::kPane:
            if (pane) SendMessageW(pane, kCommandMessage, kCmdRunMenuCommand, code);
            break;
        case MenuRouteKind::kList: SendMessageW(list_->Window(), kCommandMessage, kCmdRunMenuCommand, code); break;
        case MenuRouteKind::kTree: SendMessageW(tree_->Tree(), kCommandMessage, kCmdRunMenuCommand, code); break;
        case MenuRouteKind::kPostKey: PostMessageW(dialog_, WM_KEYDOWN, route.command, route.argument); break;
        // Repairing a playlist's broken entries is the playlists' own command; it takes this
        // choice once it exists.
        case MenuRouteKind::kRepairPlaylist: break;
        case MenuRouteKind::kNothing: break;
    }
}

MenuIconSource MainView::MenuIcons() const {
    PluginContext* context = PluginContext::Get();
    return context ? MenuIconSource{context->ResourceModule(), context->Module()} : MenuIconSource{nullptr, nullptr};
}
