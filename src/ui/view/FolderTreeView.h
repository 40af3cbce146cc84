// The folder tree, the left-hand pane of the view: "My Library" on top, the roots under it and
// their folders and playlists below. Each item holds a counted reference to its node. The
// controller builds the nodes and forwards the tree's notifications here.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>

#include "base/ImageList.h"
#include "db/TreeNode.h"
#include "settings/SettingsFile.h"
#include "ui/framework/WindowObject.h"
#include "ui/view/PaneKeys.h"
#include "ui/view/drop/DropRegistration.h"
#include "ui/view/drop/TreeDropTarget.h"

class ViewModel;

// Positions in the tree's image list.
enum TreeImage : int {
    kImageFolderSelected = 0,
    kImageFolder = 1,
    kImageLibrary = 2,
    kImageFolderMissing = 3,
    kImageRootNotLoaded = 4,
    kImagePlaylist = 5,
    kImageSmartPlaylist = 6,
    kImagePlaylistMissing = 7,
    kTreeImageCount = 8,
};

// How a node shows as an item: its text, icons and whether it is drawn dimmed.
struct TreeItemLook {
    std::wstring text;
    int image;
    int selectedImage;
    bool dimmed;
};

// The look of a node as it stands on disk now: missing folders and playlist files get their
// own icons, hidden folders are dimmed.
TreeItemLook LookOfNode(const TreeNode& node, bool replaceUnderscore);
// The item text alone: a playlist without its extension, a folder with "_" shown as spaces
// when asked.
std::wstring TreeItemText(const TreeNode& node, bool replaceUnderscore);

class FolderTreeView : public WindowObject {
public:
    // Starts "explorer.exe" on a folder; tests replace it.
    using FolderOpener = std::function<void(const std::wstring& folder)>;

    // Binds the tree control and registers it as the tree window. Icons come from the resource
    // module (a language pack may carry its own) and, for any it lacks, from the plugin.
    FolderTreeView(HWND tree, ViewModel& model, SettingsFile settings, HINSTANCE resources,
                   HINSTANCE plugin);

    HWND Tree() const { return tree_; }
    // "My Library", the single item at the tree's root; null before it is inserted.
    HTREEITEM TopItem() const;

    // Inserts an item for the node and, recursively, for its children in their order; the
    // parent's children are then sorted, except under "My Library", where roots keep their
    // order. `after` is an item or TVI_FIRST / TVI_LAST.
    HTREEITEM InsertNode(HTREEITEM parent, HTREEITEM after, TreeNode& node);
    // Sorts an item's children in the tree's order.
    HTREEITEM InsertItemOnly(HTREEITEM parent, HTREEITEM after, TreeNode& node);
    void SortChildren(HTREEITEM parent);
    // Sets the text, icons and dimmed state again from the node, for instance after a
    // refresh found its folder gone or back.
    void ApplyLook(HTREEITEM item);
    // Shows an item with one icon, selected or not (the mark of a root left unloaded).
    void SetItemImage(HTREEITEM item, int image);

    // The node of an item; null for "My Library" and for no item.
    TreeNode* NodeOf(HTREEITEM item) const;
    Ref<TreeNode> SelectedNode() const;
    // The first item, in tree order, whose node has this path (compared ignoring case).
    HTREEITEM FindItemByPath(const std::wstring& path) const;
    void SelectItem(HTREEITEM item);

    // Text, background and icon background from the skin colours.
    void ApplyColors();
    // The caller keeps the font alive while the tree uses it.
    void SetFont(HFONT font);

    int DoubleClickCommand() const { return doubleClick_; }
    bool EnterKeyDisabled() const { return enterDisabled_; }
    bool ToggleSuppressed() const { return suppressToggle_; }
    void SetFolderOpener(FolderOpener opener) { openFolder_ = std::move(opener); }
    // What OLE calls while files are dragged over the tree.
    TreeDropTarget* DropTarget() const { return drop_.get(); }
    ViewModel& Model() const { return model_; }

    // Notifications the controller forwards from its WM_NOTIFY.
    // TVN_ITEMEXPANDINGW: true refuses the change (the dialog's message result must be TRUE).
    bool OnItemExpanding(const NMTREEVIEWW& info);
    // TVN_ITEMEXPANDEDW: undoes a refused collapse that went ahead all the same.
    void OnItemExpanded(const NMTREEVIEWW& info);
    // NM_DBLCLK, with the mouse where the message says it was.
    void OnDoubleClick();
    void OnDoubleClickAt(POINT client);
    // TVN_GETDISPINFOW: child counts (and texts) are asked from the nodes.
    void OnGetDispInfo(NMTVDISPINFOW& info);
    // TVN_DELETEITEMW: drops the item's reference to its node.
    void OnDeleteItem(const NMTREEVIEWW& info);
    // NM_CUSTOMDRAW: the selected and the drop-target items in the skin's colours
    // (FolderTreeDrawing.cpp).
    LRESULT OnCustomDraw(NMTVCUSTOMDRAW& draw) const;
    // All of the above in one: true when the notification was the tree's own, with the
    // answer for the dialog's message result.
    bool HandleNotify(NMHDR& header, LRESULT& result);

    LRESULT OnCommandMessage(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnChar(HWND, UINT, WPARAM, LPARAM) override;
    // The keyboard of the tree (TreeKeys.cpp); Shift+F10 and the menu key ask the view for the
    // context menu.
    LRESULT OnKeyDown(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnSysKeyDown(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnKeyUp(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnClose(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnDestroy(HWND, UINT, WPARAM, LPARAM) override;

protected:
    ~FolderTreeView() override;

private:
    struct CommandEntry;
    static const CommandEntry kCommands[];

    void LoadImages(HINSTANCE resources, HINSTANCE plugin);
    HTREEITEM InsertSubtree(HTREEITEM parent, HTREEITEM after, TreeNode& node, bool withChildren);
    bool HasChildren(HTREEITEM item, const TreeNode* node) const;
    void ReleaseItemNodes(HTREEITEM first);
    void SaveSettings() const;

    LRESULT SelectTopItem(LPARAM);
    LRESULT GetDoubleClick(LPARAM);
    LRESULT SetDoubleClick(LPARAM command);
    LRESULT InsertTopItem(LPARAM);
    LRESULT ClearDropHighlight(LPARAM);
    LRESULT RunMenuCommand(LPARAM command);
    void FindFolderInExplorer();

    // Keys (TreeKeys.cpp): each consumes its key.
    static const KeyBinding<FolderTreeView> kKeys[];
    static const KeyBinding<FolderTreeView> kAltKeys[];
    LRESULT MoveFocusOnTab(const KeyPress& press);
    LRESULT PlayOnEnter(const KeyPress& press);
    LRESULT EnqueueAfterCurrent(const KeyPress& press);
    LRESULT PassToList(const KeyPress& press);
    LRESULT PassToView(const KeyPress& press);
    LRESULT MoveRoot(const KeyPress& press);
    LRESULT FindFolderFromKey(const KeyPress& press);
    LRESULT OpenPreferences(const KeyPress& press);
    LRESULT FocusSearch(const KeyPress& press);

    HWND tree_;
    ViewModel& model_;
    SettingsFile settings_;
    UniqueImageList images_;
    int doubleClick_;
    bool enterDisabled_;
    bool suppressToggle_ = false;
    HTREEITEM refusedCollapse_ = nullptr;
    FolderOpener openFolder_;
    DropRegistration<TreeDropTarget> drop_;
};
