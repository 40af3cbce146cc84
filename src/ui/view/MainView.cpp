// The view controller: construction in its fixed order, layout, colours, fonts and teardown.
#include "ui/view/MainView.h"

#include <commctrl.h>

#include <iterator>

#include "base/TextObject.h"
#include "bus/CommandCodes.h"
#include "bus/Messages.h"
#include "bus/WindowRegistry.h"
#include "db/CacheDatabase.h"
#include "db/CacheStartup.h"
#include "db/roots/RootRows.h"
#include "db/roots/RootsList.h"
#include "host/HostApi.h"
#include "scan/ScanWorker.h"
#include "settings/PluginContext.h"
#include "settings/WindowSettings.h"
#include "StringIds.h"
#include "ui/skin/BorderPainter.h"
#include "ui/skin/ScrollbarRedirect.h"
#include "ui/skin/SkinPaint.h"
#include "ui/view/FileListView.h"
#include "ui/view/FolderTreeView.h"
#include "ui/view/PaneLayout.h"
#include "ui/view/PlaylistAutosave.h"
#include "ui/view/SearchBox.h"
#include "ui/view/ViewCommandCodes.h"
#include "ui/view/ViewPlaylistWriting.h"
#include "ui/view/drop/DropCollector.h"

namespace {
const wchar_t kCacheUpdatedCaption[] = L"Information";
// Lines run along the bottom and right of the search box, the tree and the list.
const DWORD kBorderEntries[] = {
    BorderEntry(kBorderBottomRight, kSearchControl),
    BorderEntry(kBorderBottomRight, kTreeControl),
    BorderEntry(kBorderBottomRight, kListControl),
};
}  // namespace

MainView::MainView(HWND dialog, HWND host, PluginContext& context)
    : dialog_(dialog), host_(host), settings_(context.GetPath(PathKind::kSettingsFile)) {
    // Reached through the dialog's own procedure rather than by subclassing.
    SetPropW(dialog_, kProperty, static_cast<WindowObject*>(this));
    RegisterWindow(kMainViewWindowId, dialog_);
    scrollbarRedirect_ = std::make_unique<skinbars::ScrollbarRedirect>();
    ReadPlayingPath();
    accelerators_ = std::make_unique<HostAccelerators>(host_, context.ResourceModule(), dialog_);
    options_.Load(settings_);
    fontDescription_ = StoredFontDescription();
    typeFilter_ = ParseTypeFilter(settings_.ReadText(settings::kMainViewFileTypes));
    colors_.Read(host_);
    PaintBorderLines();

    search_ = Ref<SearchBox>::Adopt(new SearchBox(GetDlgItem(dialog_, kSearchControl), settings_));
    tree_ = Ref<FolderTreeView>::Adopt(
        new FolderTreeView(GetDlgItem(dialog_, kTreeControl), *this, settings_, context.ResourceModule(), context.Module()));
    list_ = Ref<FileListView>::Adopt(
        new FileListView(GetDlgItem(dialog_, kListControl), *this, settings_, context.ResourceModule()));
    SetDlgItemTextW(dialog_, kSearchLabel, GetString(kStrSearchLabel));
    SetDlgItemTextW(dialog_, kClearButton, GetString(kStrSearchClear));
    if (options_.rememberSearch) search_->SetText(options_.lastSearch);
    AttachScrollbars();
    ApplyColors();
    ApplyFont();
    Layout();
    dropCollector_ = MakeDropCollector();

    OpenDatabase();
    StartWorker();

    // The frame comes back as it was left; showing it through the frame's own command keeps its
    // remembered visibility in step, and keeps the worker thread away from windows.
    WindowSettings window;
    window.Load(settings_);
    if (window.visible)
        if (HWND frame = GetWindow(kFrameWindowId)) PostMessageW(frame, kCommandMessage, kCmdShowFrame, 0);
    SetFocus(dialog_);
}

MainView::~MainView() {
    if (IsWindow(dialog_) && GetPropW(dialog_, kProperty) == static_cast<WindowObject*>(this))
        RemovePropW(dialog_, kProperty);
}

void MainView::OpenDatabase() {
    PluginContext* context = PluginContext::Get();
    database_ = std::make_unique<CacheDatabase>(context ? context->GetPath(PathKind::kCacheFolder) : std::wstring());
    MessageBoxPrompt prompt;
    CacheStartupOutcome outcome = PrepareCacheAtStartup(*database_, prompt);
    if (outcome == CacheStartupOutcome::kUpgraded)
        PostMessageW(dialog_, kCommandMessage, kCmdShowInformation, PassText(kCacheUpdatedNotice));
    // A cache that cannot even be made (a read-only folder, a full disk) leaves the library
    // empty; the user is told why rather than left to wonder. One they declined needs no word.
    else if (outcome != CacheStartupOutcome::kNoCache && !database_->IsOpen())
        PostMessageW(dialog_, kCommandMessage, kCmdShowMessage, PassText(GetString(kStrMsgCacheNotStored)));
    RebuildQueryFilter();
}

void MainView::StartWorker() {
    roots_ = Ref<RootsList>::Make();
    ScanWorkerOptions options;
    options.compatibility = options_.compatibilityMode;
    options.searchFromTop = options_.searchFromTop;
    options.scanFiles = options_.scanFiles;
    options.hideEmpty = options_.hideEmptyFiles;
    options.treePlaylists = options_.displayTreePlaylists;
    options.typeFilter = typeFilter_;
    // One connection for both threads: a write of the view can then never be turned away by
    // the worker's long transaction, and the database lock orders their statements.
    worker_ = Ref<ScanWorker>::Adopt(new ScanWorker(roots_, options, database_->SharedConnection(), settings_.Path()));
    worker_->Start();
}

// Shutdown of the view: everything is saved and the worker has ended before the objects go.
void MainView::OnLastRelease() {
    closing_ = true;
    // A drop still being collected is dropped: nothing is added to a playlist being saved.
    dropCollector_.reset();
    DetachScrollbars();
    scrollbarRedirect_.reset();
    if (HWND frame = GetWindow(kFrameWindowId)) ShowWindow(frame, SW_HIDE);
    options_.Save(settings_);
    KillTimer(dialog_, kRefreshTimer);
    KillTimer(dialog_, kAutoRefreshTimer);
    if (tree_) tree_->Unbind();
    if (worker_) {
        worker_->StopAndWait();
        worker_.Reset();
    }
    // Saved once the worker has ended, so that no listing reads a playlist's file into its
    // entries meanwhile, and before the roots close, which empties them.
    if (roots_) {
        std::vector<Ref<Root>> roots = roots_->Snapshot();
        SaveModifiedPlaylists(roots, options_.autosavePlaylists, ViewPlaylistWriting(host_, SortPrefixFlags(), false));
        for (const Ref<Root>& root : roots) root->Close();
    }
    pendingNotices_.clear();
    heldNotices_.clear();
    {
        Lock lock(viewLock_);
        currentRows_.Reset();
    }
    // Closing saves what the list and the box remember, if the host's close did not already.
    if (list_ && list_->Window()) SendMessageW(list_->Window(), WM_CLOSE, 0, 0);
    if (search_ && search_->Window()) SendMessageW(search_->Window(), WM_CLOSE, 0, 0);
    if (list_) list_->Unbind();
    if (search_) search_->Unbind();
    list_.Reset();
    tree_.Reset();
    search_.Reset();
    roots_.Reset();
    database_.reset();
    accelerators_.reset();
}

void MainView::ReadPlayingPath() {
    LRESULT position = SendMessageW(host_, kHostMessage, 0, kHostPlaylistPosition);
    auto path = reinterpret_cast<const wchar_t*>(
        SendMessageW(host_, kHostMessage, static_cast<WPARAM>(position), kHostPlaylistEntryPath));
    playingPath_ = path ? path : L"";
}

void MainView::ApplyColors() {
    if (tree_) tree_->ApplyColors();
    if (list_) list_->ApplyColors();
}

// The settings keep only the face and the height, so a start begins with a plain font of
// those; the preferences may then hand a whole description.
LOGFONTW MainView::StoredFontDescription() const {
    LOGFONTW description = {};
    description.lfHeight = options_.fontSize;
    description.lfCharSet = DEFAULT_CHARSET;
    wcsncpy(description.lfFaceName, options_.fontName.c_str(), LF_FACESIZE - 1);
    return description;
}

// The old font is deleted only once neither control uses it any more.
void MainView::ApplyFont() {
    UniqueFont custom;
    if (options_.useCustomFont) custom.Reset(CreateFontIndirectW(&fontDescription_));
    HFONT font = custom ? custom.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    if (tree_) tree_->SetFont(font);
    if (list_) list_->SetFont(font);
    font_ = std::move(custom);
}

void MainView::Layout() {
    RECT client;
    GetClientRect(dialog_, &client);
    auto state = static_cast<PaneState>(options_.stuck);
    if (state == PaneState::kTreeHidden) options_.divider = 0;
    for (const ControlPlacement& place : ComputePaneLayout(client.right, client.bottom, options_.divider, state)) {
        HWND control = GetDlgItem(dialog_, place.id);
        if (!control) continue;
        ShowWindow(control, place.visible ? SW_SHOW : SW_HIDE);
        if (place.visible)
            MoveWindow(control, place.rect.left, place.rect.top, place.rect.right - place.rect.left,
                       place.rect.bottom - place.rect.top, FALSE);
    }
    FitTreeScrollbar(client.bottom);
    InvalidateRect(dialog_, nullptr, TRUE);
    UpdateWindow(dialog_);
}

LRESULT MainView::Answer(LRESULT value) {
    SetWindowLongPtrW(dialog_, DWLP_MSGRESULT, value);
    return TRUE;
}

void MainView::EnterBusy(bool withClearButton) {
    EnableWindow(GetDlgItem(dialog_, kTreeControl), FALSE);
    if (search_) search_->SetBusy(true);
    if (withClearButton) EnableWindow(GetDlgItem(dialog_, kClearButton), FALSE);
}

void MainView::LeaveBusy() {
    EnableWindow(GetDlgItem(dialog_, kTreeControl), TRUE);
    if (search_) search_->SetBusy(false);
    EnableWindow(GetDlgItem(dialog_, kClearButton), TRUE);
}

void MainView::EmptyList() { ListView_SetItemCountEx(GetDlgItem(dialog_, kListControl), 0, 0); }

void MainView::ShowListState(int state) {
    if (HWND list = GetDlgItem(dialog_, kListControl)) PostMessageW(list, kCommandMessage, kCmdSetListStatus, state);
}

bool MainView::PostWork(UINT item, WPARAM wp, LPARAM lp) {
    return worker_ && worker_->Post(item, wp, lp);
}

int MainView::ListingOptionBits() const {
    return (options_.stripAccents ? kStripAccents : 0) | (options_.limitSearch ? kLimitSearch : 0) |
           (options_.hideEmptyFiles ? kHideEmptyFiles : 0);
}

void MainView::RebuildQueryFilter() {
    if (database_) database_->SetListingOptions(typeFilter_, ListingOptionBits());
}

LRESULT MainView::OnSize(HWND, UINT, WPARAM, LPARAM) {
    Layout();
    return TRUE;
}

// The host's skin changed: the new one shows at once, down to the buttons and the labels,
// which keep their old pixels unless they are asked to paint again.
LRESULT MainView::OnDisplayChange(HWND, UINT, WPARAM, LPARAM) {
    colors_.Read(host_);
    ApplyColors();
    RedrawScrollbars();
    RedrawWindow(dialog_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    PaintBorderLines();
    return TRUE;
}

LRESULT MainView::PaintSkin(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    return SkinPaint(colors_, brushes_, window, message, wp, lp);
}

void MainView::PaintBorderLines() {
    PaintBorders(dialog_, colors_, kBorderEntries, static_cast<int>(std::size(kBorderEntries)));
}

LRESULT MainView::OnQueryEndSession(HWND, UINT, WPARAM, LPARAM) {
    if (!roots_) return FALSE;
    std::vector<Ref<Root>> roots = roots_->Snapshot();
    SaveModifiedPlaylists(roots, options_.autosavePlaylists, ViewPlaylistWriting(host_, SortPrefixFlags(), false));
    for (size_t i = 0; i < roots.size(); ++i) {
        roots[i]->Close();
        SetRootOrder(*database_, roots[i]->RootId(), static_cast<int>(i));
    }
    return FALSE;
}
