// The object behind the view's dialog: it owns the view's controls, options, roots, database
// connection and worker; holds the rows the list shows; and answers the command bus. Split by
// concern: MainView.cpp (construction, teardown, layout), MainViewCommands.cpp (the bus),
// MainViewOptions.cpp (option get/set codes), MainViewListing.cpp (refresh, listing, status),
// MainViewTree.cpp (roots and folders in the tree), MainViewRefresh.cpp (changes on disk),
// MainViewRescan.cpp (the refresh key), MainViewInput.cpp (notifications and keys).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/CriticalSection.h"
#include "base/Gdi.h"
#include "scan/ChangeNotice.h"
#include "db/ListingOptions.h"
#include "db/RowList.h"
#include "host/HostAccelerators.h"
#include "host/SkinColors.h"
#include "settings/MainViewOptions.h"
#include "settings/SettingsFile.h"
#include "ui/framework/WindowObject.h"
#include "ui/skin/SkinBrushSlot.h"
#include "ui/view/ContextMenus.h"
#include "ui/view/DividerDrag.h"
#include "ui/view/OwnerDrawnMenu.h"
#include "ui/view/PopupMenu.h"
#include "ui/view/ViewModel.h"

class CacheDatabase;
class DropCollector;
class FileListView;
class FolderTreeView;
class PluginContext;
class Root;
class RootsList;
class ScanWorker;
class SearchBox;
struct Playlist;
namespace skinbars {
class ScrollbarRedirect;
}


class PlaybackActions;

class MainView : public WindowObject, public ViewModel {
public:
    MainView(HWND dialog, HWND host, PluginContext& context);

    HWND Dialog() const { return dialog_; }
    bool AcceleratorsRegistered() const { return accelerators_ && accelerators_->Registered(); }
    int PendingUpdates() const { return pendingUpdates_; }

    // What the list and the tree ask.
    Ref<FileRecord> RowAt(int index) override;
    Ref<RowList> CurrentRows() override;
    Ref<TreeNode> SelectedNode() override;
    int DefaultSortKey() const override { return options_.sortKey; }
    void SetDefaultSortKey(int key) override { options_.sortKey = key; }
    Ref<RowList> SortShownRows(int key) override;
    const MainViewOptions& Options() const override { return options_; }
    const SkinColors& Colors() const override { return colors_; }
    std::wstring PlayingPath() const override { return playingPath_; }
    DropCollector* DropCollection() override { return dropCollector_.get(); }

    // Dialog handlers: non-zero means handled.
    LRESULT OnCommandMessage(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnSize(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnCommand(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnDisplayChange(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnNotify(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnDrawItem(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnMeasureItem(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnTimer(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnKeyDown(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnSysKeyDown(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnSetCursor(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnDeviceChange(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnMouseMove(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnLButtonUp(HWND, UINT, WPARAM, LPARAM) override;
    LRESULT OnQueryEndSession(HWND, UINT, WPARAM, LPARAM) override;
    // Pressing the button over the divider starts dragging it.
    LRESULT OnLButtonDown(LPARAM lp);
    // The skin's look: every message of the dialog is offered to the skin painter first
    // (non-zero is the dialog's answer), and its paint draws the lines along the panes.
    LRESULT PaintSkin(HWND window, UINT message, WPARAM wp, LPARAM lp);
    void PaintBorderLines();

    using CommandHandler = LRESULT (MainView::*)(LPARAM);
    struct CommandEntry {
        WPARAM code;
        CommandHandler handler;
    };

protected:
    ~MainView() override;
    void OnLastRelease() override;

private:
    // Construction and layout (MainView.cpp).
    void OpenDatabase();
    void StartWorker();
    void Layout();
    void ApplyColors();
    void ApplyFont();
    LOGFONTW StoredFontDescription() const;
    void ReadPlayingPath();
    LRESULT Answer(LRESULT value);
    void EnterBusy(bool withClearButton = true);
    void LeaveBusy();
    void EmptyList();
    void ShowListState(int state);
    // False when the worker is gone or its queue refused the item; what it carries stays the caller's.
    bool PostWork(UINT item, WPARAM wp = 0, LPARAM lp = 0);
    int ListingOptionBits() const;
    void RebuildQueryFilter();

    // The skinned scrollbars of the list and the tree (MainViewScrollbars.cpp).
    void AttachScrollbars();
    void FitTreeScrollbar(int viewHeight);
    void DetachScrollbars();
    void RedrawScrollbars();
    LRESULT AnswerScrollbarDrawing(LPARAM request);

    // The bus (MainViewCommands.cpp) and option codes (MainViewOptions.cpp).
    static const CommandEntry kCommands[];
    bool HandleOptionCode(WPARAM code, LPARAM argument, LRESULT& result);
    LRESULT OnSetFont(LPARAM);
    LRESULT OnGetFont(LPARAM);
    LRESULT OnSetLanguage(LPARAM);
    LRESULT OnGetLanguage(LPARAM);
    LRESULT OnFocusWindow(LPARAM);
    LRESULT OnShowError(LPARAM);
    LRESULT OnShowInformation(LPARAM);
    LRESULT OnCloseView(LPARAM);
    LRESULT OnPlayingFileChanged(LPARAM);
    LRESULT OnFillSendToMenu(LPARAM);
    LRESULT OnPlaylistForPath(LPARAM);
    // The playlist already open for a path, a playlist root's or a folder node's, or null.
    Ref<Playlist> OpenPlaylist(const std::wstring& path) const;
    LRESULT OnAddFolderRoot(LPARAM);
    LRESULT OnAddPlaylistRoot(LPARAM);
    LRESULT OnFindMore(LPARAM);
    LRESULT OnSetFileTypes(LPARAM);
    LRESULT OnRepaintFocusedRow(LPARAM);
    LRESULT OnAcceleratorsRegistered(LPARAM);
    LRESULT OnOfferTagReading(LPARAM);

    // The list's selected rows in list order, as indexes and as the records shown there.
    std::vector<int> SelectedRowIndexes() const;
    std::vector<Ref<FileRecord>> SelectedRecords();

    // Files and the cache (MainViewFileCommands.cpp).
    LRESULT OnFileInfo(LPARAM);
    LRESULT OnRecycleFiles(LPARAM);
    LRESULT OnSelectRowFolder(LPARAM);
    LRESULT OnShowInExplorer(LPARAM);
    LRESULT OnShowPlayingRow(LPARAM);
    LRESULT OnCleanDatabase(LPARAM);
    // F6 (MainViewTagPass.cpp): every row's tags, or only the unread ones, in one pass.
    void ReadListTags(bool everyFile);

    // Playing (MainViewPlayback.cpp).
    PlaybackActions Playback() const;
    LRESULT OnPlayRows(LPARAM);
    LRESULT OnPlayTreeNode(LPARAM);
    LRESULT OnPlayRowList(LPARAM);

    // Playlist editing and bookmarks (MainViewPlaylistCommands.cpp).
    LRESULT OnRemovePlaylistRows(LPARAM);
    LRESULT OnMovePlaylistRows(LPARAM);
    LRESULT OnImportHostPlaylist(LPARAM);
    LRESULT OnSendEntryToPlaylist(LPARAM);
    LRESULT OnSavePlaylist(LPARAM);
    LRESULT OnBookmarkRows(LPARAM);
    // "Repair playlist" on the selected playlist (MainViewRepair.cpp).
    void RepairSelectedPlaylist();

    // The selected root (MainViewRootCommands.cpp).
    Ref<Root> SelectedRoot() const;
    LRESULT OnRemoveRoot(LPARAM);
    LRESULT OnMoveRoot(LPARAM);
    LRESULT OnGetAutoload(LPARAM);
    LRESULT OnToggleAutoload(LPARAM);
    LRESULT OnAddSqlRoot(LPARAM);
    LRESULT OnInsertSqlRoot(LPARAM);
    LRESULT OnEditSqlRoot(LPARAM);
    LRESULT OnExportRoots(LPARAM);
    LRESULT OnImportRoots(LPARAM);

    // Listing (MainViewListing.cpp).
    LRESULT OnRefreshList(LPARAM);
    LRESULT OnListingReady(LPARAM);
    LRESULT OnRowTagsRead(LPARAM);
    LRESULT OnSortRows(LPARAM);
    LRESULT OnCurrentSortKey(LPARAM);
    LRESULT OnReadVisibleTags(LPARAM);
    LRESULT OnStatusText(LPARAM);
    LRESULT OnStartUpDone(LPARAM);
    LRESULT OnTagPassDone(LPARAM);
    void RunRefresh();
    void OnSelectionChanged(const NMTREEVIEWW& change);
    // Makes rows the shown list (under the view lock) and retires the list shown before.
    void ShowRows(Ref<RowList> rows);
    // The same for a new order or a new selection of the shown rows: the totals are counted
    // again from the rows and the status line shows them.
    // The status line's totals counted again from the shown rows.
    void RecountShownTotals();
    // The tag-read stamp at the last count of the shown rows.
    unsigned short countedThroughStamp_ = 0;
    void ReplaceShownRows(Ref<RowList> rows);
    int SortPrefixFlags() const;
    // Sorts a list that is neither shown nor handed to the worker, and gives it the key.
    void SortUnshownRows(RowList& rows, int key) const;
    void ShowStatusLine(bool withQueryTime);
    void Cancel();

    // Files dropped onto playlists, gathered off this thread (MainViewDrop.cpp): progress in
    // the status line, Escape to stop.
    std::unique_ptr<DropCollector> MakeDropCollector();
    void OnDropCollected(Playlist& playlist, size_t added);
    void StopDropCollection();

    // The tree (MainViewTree.cpp).
    LRESULT OnShowRoot(LPARAM);
    LRESULT OnRootNotLoaded(LPARAM);
    LRESULT OnRootLoaded(LPARAM);
    LRESULT OnFolderRescanned(LPARAM);
    LRESULT OnFolderRemoved(LPARAM);
    LRESULT OnFolderAdded(LPARAM);
    LRESULT OnPlaylistFound(LPARAM);
    LRESULT OnRootAvailability(LPARAM);
    void RebuildSubtree(HTREEITEM item, TreeNode& node);
    HTREEITEM TopLevelItemOf(const TreeNode* node) const;
    // Whether the node is the top node of one of the roots.
    bool IsRootNode(const TreeNode* node) const;
    HTREEITEM FindFolderItem(const std::wstring& path) const;
    void DecrementPendingUpdates();

    // Context menus (MainViewContextMenu.cpp): built for the pane and point of the request,
    // tracked, and the chosen item routed.
    LRESULT OnContextMenu(HWND, UINT, WPARAM, LPARAM) override;
    PopupMenu ListContextMenu(HWND source, POINT& at, bool fromKeyboard);
    PopupMenu TreeContextMenu(POINT& at, bool fromKeyboard);
    TreeMenuState TreeMenuStateOf(HTREEITEM item);
    CaptionSource MenuCaptions() const;
    MenuIconSource MenuIcons() const;
    void RunMenuChoice(UINT code, HWND pane);
    // Writes the roots' order to the cache after a root moved (MainViewRootCommands.cpp).
    void StoreRootOrder();
    // F5 (MainViewRescan.cpp): the roots, the root or the folder the tree has selected, read
    // from disk again.
    void RescanSelection();
    // Busy as the F5 and F6 keys enter it: the keys go on in the list.
    void EnterBusyFromKey();
    std::vector<Ref<Root>> RootsToRescan(HTREEITEM selected) const;
    void RescanRoot(Root& root);
    // Empties the item and its node's subtree, and has the worker read the folder from disk.
    void RescanFolderItem(Root& root, HTREEITEM item);
    void RescanBelowRoot(HTREEITEM selected);
    void ReloadPlaylistNode(TreeNode& node);
    // Before a playlist is read again: false when its unsaved edits were to be saved and could
    // not be, so that nothing is read over them.
    bool SettleUnsavedEdits(Playlist& playlist);

    // Changes on disk (MainViewRefresh.cpp).
    LRESULT OnChangeNotice(WPARAM code, LPARAM lp);
    void DrainChangeNotices();
    // Hands the notices held while updates were in flight back to the worker, once none is.
    void ReplayHeldNotices();
    bool PostNotice(UINT item, WPARAM wp, Ref<ChangeNotice>& notice);

    HWND dialog_;
    HWND host_;
    SettingsFile settings_;
    MainViewOptions options_;
    TypeFilter typeFilter_;
    SkinColors colors_;
    // The brush of the last control-colour answer; it goes with the skin bitmap, with the view.
    SkinBrushSlot brushes_;
    // The custom font as the preferences last described it, weight and slant included.
    LOGFONTW fontDescription_ = {};
    UniqueFont font_;
    std::unique_ptr<HostAccelerators> accelerators_;
    // The controls' scroll calls lead to the skinned bars while this lives.
    std::unique_ptr<skinbars::ScrollbarRedirect> scrollbarRedirect_;
    std::wstring playingPath_;

    // Guards exactly the current rows and the emptied-for-a-long-job flag.
    mutable CriticalSection viewLock_;
    Ref<RowList> currentRows_;
    bool listEmptiedForJob_ = false;

    int pendingUpdates_ = 0;
    // Set when the view starts closing: the worker may still send to it, and must get an
    // answer without the tree or the roots being touched.
    bool closing_ = false;
    bool fileInfoLoop_ = false;
    bool repairRunning_ = false;
    bool suppressFirstClear_ = true;
    ListTotals totals_;
    // Row notices (1041) handled for the shown list, and those of retired lists still queued,
    // to be skipped.
    long rowNoticesHandled_ = 0;
    long staleRowNotices_ = 0;
    DWORD queryStart_ = 0;
    std::optional<DividerDrag> drag_;

    std::unique_ptr<CacheDatabase> database_;
    std::unique_ptr<DropCollector> dropCollector_;
    Ref<RootsList> roots_;
    Ref<ScanWorker> worker_;
    Ref<SearchBox> search_;
    Ref<FolderTreeView> tree_;
    Ref<FileListView> list_;
    struct PendingNotice {
        WPARAM code;
        Ref<ChangeNotice> notice;
    };
    std::deque<PendingNotice> pendingNotices_;
    // Notices that came while pendingUpdates_ was above zero, in arrival order.
    std::deque<PendingNotice> heldNotices_;
};

// The dialog procedure of the view's dialog.
INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wp, LPARAM lp);
