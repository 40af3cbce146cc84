// The keyboard of the folder tree: play and enqueue the selected node with Enter, move a root
// with Ctrl+Up and Ctrl+Down, focus moves to the other panes, and the keys that belong to the
// list, the view or the host handed on to them.
#include <windows.h>
#include <commctrl.h>

#include "bus/CommandCodes.h"
#include "bus/ViewCommands.h"
#include "bus/WindowRegistry.h"
#include "ui/view/ContextMenuKeys.h"
#include "ui/view/FolderTreeView.h"
#include "ui/view/ViewCommandCodes.h"

namespace {
constexpr LPARAM kRootUp = 0;
constexpr LPARAM kRootDown = 1;
}  // namespace

const KeyBinding<FolderTreeView> FolderTreeView::kKeys[] = {
    {VK_TAB, KeyChord::kNoCtrl, &FolderTreeView::MoveFocusOnTab},
    {VK_RETURN, KeyChord::kAny, &FolderTreeView::PlayOnEnter},
    {VK_ESCAPE, KeyChord::kAny, &FolderTreeView::PassToList},
    {VK_F5, KeyChord::kAny, &FolderTreeView::PassToView},
    {VK_F6, KeyChord::kAny, &FolderTreeView::PassToView},
    {VK_UP, KeyChord::kWithCtrl, &FolderTreeView::MoveRoot},
    {VK_DOWN, KeyChord::kWithCtrl, &FolderTreeView::MoveRoot},
    {'F', KeyChord::kWithCtrl, &FolderTreeView::FindFolderFromKey},
    {'P', KeyChord::kWithCtrl, &FolderTreeView::OpenPreferences},
    {'S', KeyChord::kWithCtrl, &FolderTreeView::PassToList},
};

const KeyBinding<FolderTreeView> FolderTreeView::kAltKeys[] = {
    {VK_RETURN, KeyChord::kAny, &FolderTreeView::EnqueueAfterCurrent},
    {'S', KeyChord::kAny, &FolderTreeView::FocusSearch},
};

// The context menu keys come first: the control must not see them.
LRESULT FolderTreeView::OnKeyDown(HWND window, UINT message, WPARAM key, LPARAM lp) {
    if (HandleContextMenuKey(window, message, key)) return 0;
    return RunKey(*this, kKeys, message, key, lp);
}

LRESULT FolderTreeView::OnSysKeyDown(HWND window, UINT message, WPARAM key, LPARAM lp) {
    if (HandleContextMenuKey(window, message, key)) return 0;
    return RunSystemKey(*this, kAltKeys, message, key, lp);
}

LRESULT FolderTreeView::MoveFocusOnTab(const KeyPress& press) {
    if (press.held.shift) {
        if (HWND search = ShownSibling(tree_, kSearchControl)) SetFocus(search);
    } else if (HWND list = ShownSibling(tree_, kListControl)) {
        FocusListAtFirstRow(list);
    }
    return 0;
}

LRESULT FolderTreeView::PlayOnEnter(const KeyPress& press) {
    int command = 0;
    if (press.held.ctrl) command = kMenuEnqueueAndPlay;
    else if (press.held.shift) command = kMenuEnqueue;
    else if (!enterDisabled_) command = kMenuPlay;
    if (command) SendToView(kCmdPlayTreeNode, command);
    return 0;
}

LRESULT FolderTreeView::EnqueueAfterCurrent(const KeyPress&) {
    SendToView(kCmdPlayTreeNode, kMenuEnqueueAfterCurrent);
    return 0;
}

// Escape cancels through the list, and Ctrl+S saves the playlist the list shows.
LRESULT FolderTreeView::PassToList(const KeyPress& press) {
    PassKeyDown(GetDlgItem(GetParent(tree_), kListControl), press);
    return 0;
}

LRESULT FolderTreeView::PassToView(const KeyPress& press) {
    PassKeyDown(GetWindow(kMainViewWindowId), press);
    return 0;
}

LRESULT FolderTreeView::MoveRoot(const KeyPress& press) {
    PostToView(kCmdMoveRoot, press.key == VK_UP ? kRootUp : kRootDown);
    return 0;
}

LRESULT FolderTreeView::FindFolderFromKey(const KeyPress&) {
    RunMenuCommand(kMenuFindFolderInExplorer);
    return 0;
}

LRESULT FolderTreeView::OpenPreferences(const KeyPress&) {
    OpenPreferencesFromKey();
    return 0;
}

LRESULT FolderTreeView::FocusSearch(const KeyPress&) {
    FocusSearchSelectingAll(ShownSibling(tree_, kSearchControl));
    return 0;
}
