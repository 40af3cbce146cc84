// The folder tree's window object: construction, its command codes, keys, notifications and
// the settings it keeps.
#include "ui/view/FolderTreeView.h"

#include <shellapi.h>
#include <windowsx.h>

#include <cstring>
#include <utility>

#include "bus/CommandCodes.h"
#include "bus/ViewCommands.h"
#include "bus/WindowRegistry.h"
#include "host/SkinColors.h"
#include "settings/PluginContext.h"
#include "settings/TreeSettings.h"
#include "StringIds.h"
#include "ui/view/ContextMenuKeys.h"
#include "ui/view/ViewModel.h"

namespace {

constexpr int kIconSize = 16;
// Resource ids of the icons, by image-list position.
constexpr int kIconIds[kTreeImageCount] = {105, 123, 5, 118, 127, 129, 135, 137};

constexpr wchar_t kCtrlF = 0x06;  // what Ctrl+F types

UniqueIcon LoadTreeIcon(HINSTANCE module, int id) {
    if (!module) return UniqueIcon();
    return UniqueIcon(static_cast<HICON>(
        LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, kIconSize, kIconSize, LR_DEFAULTCOLOR)));
}

// Stands in for an icon no module has: fully transparent, where a blank slot would draw black.
UniqueIcon TransparentIcon() {
    BYTE andMask[kIconSize * kIconSize / 8];
    BYTE xorMask[kIconSize * kIconSize / 8] = {};
    std::memset(andMask, 0xFF, sizeof(andMask));
    return UniqueIcon(CreateIcon(nullptr, kIconSize, kIconSize, 1, 1, andMask, xorMask));
}

bool IsCollapse(UINT action) { return (action & (TVE_COLLAPSE | TVE_EXPAND)) == TVE_COLLAPSE; }

bool IsPlayCommand(int command) { return command >= kMenuPlay && command <= kMenuPlayAfterCurrent; }

// Explorer reads its own command line: a path with spaces must be quoted, and a backslash
// right before the closing quote would be read as an escaped quote, so it is dropped (a drive
// root keeps it and needs no quotes).
std::wstring ExplorerArgument(std::wstring path) {
    if (path.size() > 3 && path.back() == L'\\') path.pop_back();
    if (path.back() == L'\\') return path;
    return L"\"" + path + L"\"";
}

void OpenInExplorer(const std::wstring& folder) {
    if (folder.empty()) return;
    ShellExecuteW(nullptr, L"open", L"explorer.exe", ExplorerArgument(folder).c_str(), nullptr, SW_SHOWNORMAL);
}

}  // namespace

struct FolderTreeView::CommandEntry {
    WPARAM code;
    LRESULT (FolderTreeView::*handler)(LPARAM);
};

const FolderTreeView::CommandEntry FolderTreeView::kCommands[] = {
    {kCmdSelectTopItem, &FolderTreeView::SelectTopItem},
    {kCmdGetDoubleClick, &FolderTreeView::GetDoubleClick},
    {kCmdSetDoubleClick, &FolderTreeView::SetDoubleClick},
    {kCmdInsertTopItem, &FolderTreeView::InsertTopItem},
    {kCmdClearDropHighlight, &FolderTreeView::ClearDropHighlight},
    {kCmdRunMenuCommand, &FolderTreeView::RunMenuCommand},
};

FolderTreeView::FolderTreeView(HWND tree, ViewModel& model, SettingsFile settings, HINSTANCE resources,
                               HINSTANCE plugin)
    : WindowObject(tree),
      tree_(tree),
      model_(model),
      settings_(std::move(settings)),
      doubleClick_(LoadTreeDoubleClick(settings_)),
      enterDisabled_(settings_.ReadFlag(settings::kDisableEnterKey)),
      openFolder_(&OpenInExplorer) {
    RegisterWindow(kTreeWindowId, tree_);
    // Long names are cut at the pane's edge rather than scrolled to.
    SetWindowLongPtrW(tree_, GWL_STYLE, GetWindowLongPtrW(tree_, GWL_STYLE) | TVS_NOHSCROLL);
    LoadImages(resources, plugin);
    ApplyColors();
    InsertTopItem(0);
    drop_.Register(tree_, Ref<TreeDropTarget>::Adopt(new TreeDropTarget(*this)));
}

FolderTreeView::~FolderTreeView() {
    // Released before its window went: the items must not keep references nobody will drop,
    // nor the control an image list about to be destroyed. A tree object that has taken the
    // window over since owns both now.
    if (!IsWindow(tree_)) return;
    WindowObject* bound = WindowObjectOf(tree_);
    if (bound && bound != this) return;
    ReleaseItemNodes(TreeView_GetRoot(tree_));
    if (TreeView_GetImageList(tree_, TVSIL_NORMAL) == images_.get()) TreeView_SetImageList(tree_, nullptr, TVSIL_NORMAL);
}

// A language pack may carry its own icons; those it lacks come from the plugin. An icon
// neither has keeps its place as an empty image, so the positions of the others hold.
void FolderTreeView::LoadImages(HINSTANCE resources, HINSTANCE plugin) {
    images_.Reset(ImageList_Create(kIconSize, kIconSize, ILC_COLOR32 | ILC_MASK, kTreeImageCount, 0));
    if (!images_) return;
    for (int id : kIconIds) {
        UniqueIcon icon = LoadTreeIcon(resources, id);
        if (!icon && plugin != resources) icon = LoadTreeIcon(plugin, id);
        if (!icon) icon = TransparentIcon();
        ImageList_AddIcon(images_.get(), icon.get());
    }
    TreeView_SetImageList(tree_, images_.get(), TVSIL_NORMAL);
}

void FolderTreeView::ApplyColors() {
    const SkinColors& colors = model_.Colors();
    TreeView_SetTextColor(tree_, colors.Get(SkinColors::kText));
    TreeView_SetBkColor(tree_, colors.Get(SkinColors::kBackground));
    if (images_) ImageList_SetBkColor(images_.get(), colors.Get(SkinColors::kBackground));
    InvalidateRect(tree_, nullptr, TRUE);
}

void FolderTreeView::SetFont(HFONT font) {
    SendMessageW(tree_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

HTREEITEM FolderTreeView::TopItem() const { return TreeView_GetRoot(tree_); }

Ref<TreeNode> FolderTreeView::SelectedNode() const { return Ref<TreeNode>(NodeOf(TreeView_GetSelection(tree_))); }

void FolderTreeView::SelectItem(HTREEITEM item) { TreeView_SelectItem(tree_, item); }

// --- Command codes ------------------------------------------------------------------------

LRESULT FolderTreeView::OnCommandMessage(HWND, UINT, WPARAM code, LPARAM lp) {
    for (const CommandEntry& entry : kCommands)
        if (entry.code == code) return (this->*entry.handler)(lp);
    return 0;
}

LRESULT FolderTreeView::SelectTopItem(LPARAM) {
    SelectItem(TopItem());
    return 0;
}

LRESULT FolderTreeView::GetDoubleClick(LPARAM) { return doubleClick_; }

LRESULT FolderTreeView::SetDoubleClick(LPARAM command) {
    doubleClick_ = static_cast<int>(command);
    return 0;
}

LRESULT FolderTreeView::InsertTopItem(LPARAM) {
    std::wstring text = GetString(kStrMyLibrary);
    TVINSERTSTRUCTW insert = {};
    insert.hParent = TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN | TVIF_PARAM;
    insert.item.pszText = text.data();
    insert.item.iImage = insert.item.iSelectedImage = kImageLibrary;
    insert.item.cChildren = I_CHILDRENCALLBACK;
    insert.item.lParam = 0;
    return reinterpret_cast<LRESULT>(TreeView_InsertItem(tree_, &insert));
}

// Sent once a drag from the tree has ended, wherever it was dropped.
LRESULT FolderTreeView::ClearDropHighlight(LPARAM) {
    TreeView_SelectDropTarget(tree_, nullptr);
    if (TreeDropTarget* target = drop_.get()) target->SetDragFromTree(false);
    return 0;
}

LRESULT FolderTreeView::RunMenuCommand(LPARAM command) {
    if (IsPlayCommand(static_cast<int>(command)))
        PostToView(kCmdPlayTreeNode, command);
    else if (command == kMenuFindFolderInExplorer)
        FindFolderInExplorer();
    return 0;
}

void FolderTreeView::FindFolderInExplorer() {
    Ref<TreeNode> node = SelectedNode();
    if (node && node->kind == NodeKind::kFolder && openFolder_) openFolder_(node->path);
}

// --- Window messages ----------------------------------------------------------------------

// The tree would search its items for these characters and beep when none matches; Tab and
// Enter belong to the view's keys, Ctrl+F to the search box.
LRESULT FolderTreeView::OnChar(HWND, UINT, WPARAM wp, LPARAM) {
    auto c = static_cast<wchar_t>(wp);
    bool ctrl = GetKeyState(VK_CONTROL) < 0;
    if (c == L'\t' || c == L'\r' || c == L'\n' || c == kCtrlF) return 0;
    if (ctrl && (c == L'f' || c == L'F')) return 0;
    return 1;
}

// Both keys are written at close or else at destruction, in one write of the file: the view's
// dialog may be destroyed without the tree being closed first (the host's shutdown does so),
// and a tree closed first no longer sees its destruction.
void FolderTreeView::SaveSettings() const {
    Ref<TreeNode> selected = SelectedNode();
    SaveTreeKeys(settings_, selected ? selected->path : std::wstring(), doubleClick_);
}

LRESULT FolderTreeView::OnClose(HWND, UINT, WPARAM, LPARAM) {
    SaveSettings();
    return Unbind();
}

// The items drop their nodes now, while this object is still there to see them go.
LRESULT FolderTreeView::OnDestroy(HWND, UINT, WPARAM, LPARAM) {
    drop_.Revoke();
    SaveSettings();
    ReleaseItemNodes(TreeView_GetRoot(tree_));
    TreeView_SetImageList(tree_, nullptr, TVSIL_NORMAL);
    Unbind();
    return 1;
}

// --- Notifications ------------------------------------------------------------------------

bool FolderTreeView::OnItemExpanding(const NMTREEVIEWW& info) {
    // Every expansion request ends the one-shot suppression, also one that is refused anyway.
    bool suppressed = std::exchange(suppressToggle_, false);
    bool refuse = suppressed || (info.itemNew.hItem == TopItem() && IsCollapse(info.action));
    refusedCollapse_ = refuse && IsCollapse(info.action) ? info.itemNew.hItem : nullptr;
    return refuse;
}

// Some tree controls (Wine's among them) go on with a collapse the notification refused.
// The item is opened again once the control is done with it.
void FolderTreeView::OnItemExpanded(const NMTREEVIEWW& info) {
    HTREEITEM refused = std::exchange(refusedCollapse_, nullptr);
    if (refused && info.itemNew.hItem == refused && IsCollapse(info.action))
        PostMessageW(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(refused));
}

void FolderTreeView::OnDoubleClick() {
    DWORD position = GetMessagePos();
    POINT point = {GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    ScreenToClient(tree_, &point);
    OnDoubleClickAt(point);
}

void FolderTreeView::OnDoubleClickAt(POINT client) {
    if (!IsPlayCommand(doubleClick_)) return;
    TVHITTESTINFO hit = {};
    hit.pt = client;
    HTREEITEM item = TreeView_HitTest(tree_, &hit);
    if (!item || item != TreeView_GetSelection(tree_)) return;
    if (!(hit.flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMSTATEICON))) return;
    // The control opens or closes the item right after this notification; the action
    // replaces that.
    if (HasChildren(item, NodeOf(item))) suppressToggle_ = true;
    RunMenuCommand(doubleClick_);
}

bool FolderTreeView::HandleNotify(NMHDR& header, LRESULT& result) {
    if (header.hwndFrom != tree_) return false;
    result = 0;
    switch (header.code) {
        case TVN_ITEMEXPANDINGW:
            result = OnItemExpanding(reinterpret_cast<NMTREEVIEWW&>(header)) ? TRUE : FALSE;
            return true;
        case TVN_ITEMEXPANDEDW:
            OnItemExpanded(reinterpret_cast<NMTREEVIEWW&>(header));
            return true;
        case TVN_GETDISPINFOW:
            OnGetDispInfo(reinterpret_cast<NMTVDISPINFOW&>(header));
            return true;
        case TVN_DELETEITEMW:
            OnDeleteItem(reinterpret_cast<NMTREEVIEWW&>(header));
            return true;
        case NM_DBLCLK:
            OnDoubleClick();
            return true;
        case NM_CUSTOMDRAW:
            result = OnCustomDraw(reinterpret_cast<NMTVCUSTOMDRAW&>(header));
            return true;
        default:
            return false;
    }
}

LRESULT FolderTreeView::OnKeyUp(HWND window, UINT message, WPARAM key, LPARAM) {
    return HandleContextMenuKey(window, message, key) ? 0 : 1;
}
