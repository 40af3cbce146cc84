// The keyboard of the file list: play and enqueue with Enter, the list commands behind Ctrl and
// Alt keys, playlist entries removed and moved, focus moves to the other panes, and the keys
// that belong to the view or to the host handed on to them.
#include <windows.h>
#include <commctrl.h>

#include "bus/CommandCodes.h"
#include "bus/ViewCommands.h"
#include "bus/WindowRegistry.h"
#include "ui/view/ContextMenuKeys.h"
#include "ui/view/FileListView.h"
#include "ui/view/ViewCommandCodes.h"
#include "ui/view/ViewModel.h"

namespace {

// Keys that stand for one list command each.
struct KeyCommand {
    UINT message;
    WPARAM key;
    int command;
};

const KeyCommand kKeyCommands[] = {
    {WM_KEYDOWN, 'A', kMenuSelectAll},
    {WM_KEYDOWN, 'D', kMenuSelectNone},
    {WM_KEYDOWN, 'F', kMenuFindFileInExplorer},
    {WM_KEYDOWN, 'G', kMenuGoToFolder},
    {WM_SYSKEYDOWN, VK_RETURN, kMenuEnqueueAfterCurrent},
    {WM_SYSKEYDOWN, '3', kMenuFileInfo},
};

bool IsPlaylist(const Ref<TreeNode>& node) { return node && node->kind == NodeKind::kPlaylist; }

}  // namespace

const KeyBinding<FileListView> FileListView::kKeys[] = {
    {VK_TAB, KeyChord::kNoCtrl, &FileListView::MoveFocusOnTab},
    {VK_RETURN, KeyChord::kAny, &FileListView::PlayOnEnter},
    {VK_ESCAPE, KeyChord::kAny, &FileListView::PassToView},
    {VK_F5, KeyChord::kAny, &FileListView::PassToView},
    {VK_F6, KeyChord::kAny, &FileListView::PassToView},
    {VK_SPACE, KeyChord::kNoCtrl, &FileListView::ShowPlayingRow},
    {VK_UP, KeyChord::kWithCtrl, &FileListView::MovePlaylistEntries},
    {VK_DOWN, KeyChord::kWithCtrl, &FileListView::MovePlaylistEntries},
    {VK_UP, KeyChord::kNoCtrl, &FileListView::LeaveTopRowUpwards},
    {VK_DOWN, KeyChord::kNoCtrl, &FileListView::ReadRowsComingIntoView},
    {VK_PRIOR, KeyChord::kAny, &FileListView::ReadRowsComingIntoView},
    {VK_NEXT, KeyChord::kAny, &FileListView::ReadRowsComingIntoView},
    {VK_HOME, KeyChord::kWithCtrl, &FileListView::SelectLibrary},
    {VK_DELETE, KeyChord::kNoCtrl, &FileListView::RemovePlaylistEntries},
    {'A', KeyChord::kWithCtrl, &FileListView::RunKeyCommand},
    {'D', KeyChord::kWithCtrl, &FileListView::RunKeyCommand},
    {'F', KeyChord::kWithCtrl, &FileListView::RunKeyCommand},
    {'G', KeyChord::kWithCtrl, &FileListView::RunKeyCommand},
    {'P', KeyChord::kWithCtrl, &FileListView::OpenPreferences},
    {'S', KeyChord::kWithCtrl, &FileListView::SavePlaylist},
};

const KeyBinding<FileListView> FileListView::kAltKeys[] = {
    {VK_RETURN, KeyChord::kAny, &FileListView::RunKeyCommand},
    {'3', KeyChord::kAny, &FileListView::RunKeyCommand},
    {'I', KeyChord::kAny, &FileListView::BookmarkSelection},
    {'S', KeyChord::kAny, &FileListView::FocusSearch},
};

// The context menu keys come first: the control must not see them.
LRESULT FileListView::OnKeyDown(HWND window, UINT message, WPARAM key, LPARAM lp) {
    if (HandleContextMenuKey(window, message, key)) return 0;
    return RunKey(*this, kKeys, message, key, lp);
}

LRESULT FileListView::OnSysKeyDown(HWND window, UINT message, WPARAM key, LPARAM lp) {
    if (HandleContextMenuKey(window, message, key)) return 0;
    return RunSystemKey(*this, kAltKeys, message, key, lp);
}

HWND FileListView::Sibling(int controlId) const { return ShownSibling(Window(), controlId); }

LRESULT FileListView::MoveFocusOnTab(const KeyPress& press) {
    HWND search = Sibling(kSearchControl);
    HWND target = search;
    if (press.held.shift)
        if (HWND tree = Sibling(kTreeControl)) target = tree;
    if (target) SetFocus(target);
    return 0;
}

LRESULT FileListView::PlayOnEnter(const KeyPress& press) {
    if (press.held.ctrl) RunCommand(kMenuEnqueueAndPlay, 0);
    else if (press.held.shift) RunCommand(kMenuEnqueue, 0);
    else if (!enterKeyDisabled_) RunCommand(kMenuPlay, 0);
    return 0;
}

LRESULT FileListView::PassToView(const KeyPress& press) {
    PassKeyDown(GetWindow(kMainViewWindowId), press);
    return 0;
}

LRESULT FileListView::ShowPlayingRow(const KeyPress&) {
    PostToView(kCmdShowPlayingRow);
    return 0;
}

// From the top row the focus goes on up, to the search box; anywhere else the control moves
// and the rows coming into view need their tags.
LRESULT FileListView::LeaveTopRowUpwards(const KeyPress& press) {
    HWND list = Window();
    HWND search = Sibling(kSearchControl);
    bool atTop = ListView_GetItemCount(list) == 0 || ListView_GetNextItem(list, -1, LVNI_FOCUSED) == 0;
    if (atTop && search && IsWindowEnabled(search)) {
        SetFocus(search);
        return 0;
    }
    return ReadRowsComingIntoView(press);
}

LRESULT FileListView::ReadRowsComingIntoView(const KeyPress&) {
    PostToView(kCmdReadVisibleTags);
    return 1;
}

// Consumed also outside a playlist: the control would move the focus without the selection.
LRESULT FileListView::MovePlaylistEntries(const KeyPress& press) {
    if (IsPlaylist(model_.SelectedNode())) PostToView(kCmdMovePlaylistRows, press.key == VK_UP ? -1 : 1);
    return 0;
}

LRESULT FileListView::SelectLibrary(const KeyPress&) {
    if (HWND tree = GetWindow(kTreeWindowId)) PostMessageW(tree, kCommandMessage, kCmdSelectTopItem, 0);
    return 0;
}

LRESULT FileListView::RemovePlaylistEntries(const KeyPress&) {
    Ref<TreeNode> node = model_.SelectedNode();
    if (IsPlaylist(node)) PostObjectToView(kCmdRemovePlaylistRows, std::move(node));
    return 0;
}

LRESULT FileListView::RunKeyCommand(const KeyPress& press) {
    for (const KeyCommand& entry : kKeyCommands)
        if (entry.message == press.message && entry.key == press.key) RunCommand(entry.command, 0);
    return 0;
}

LRESULT FileListView::OpenPreferences(const KeyPress&) {
    OpenPreferencesFromKey();
    return 0;
}

LRESULT FileListView::SavePlaylist(const KeyPress&) {
    PostToView(kCmdSavePlaylist, kSaveAskingFirst);
    return 0;
}

LRESULT FileListView::BookmarkSelection(const KeyPress&) {
    PostToView(kCmdBookmarkRows, 0);
    return 0;
}

LRESULT FileListView::FocusSearch(const KeyPress&) {
    FocusSearchSelectingAll(Sibling(kSearchControl));
    return 0;
}
