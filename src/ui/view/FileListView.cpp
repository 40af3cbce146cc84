// The file list's construction, its private commands, the window messages it takes over from
// the list control, its cell texts and the saving of its columns.
#include "ui/view/FileListView.h"

#include <iterator>

#include "bus/CommandCodes.h"
#include "bus/ViewCommands.h"
#include "bus/WindowRegistry.h"
#include "settings/PluginContext.h"
#include "StringIds.h"
#include "ui/view/CellText.h"
#include "ui/view/ContextMenuKeys.h"
#include "ui/view/ListBookmarkCommand.h"
#include "ui/view/MenuCodes.h"
#include "ui/view/ViewCommandCodes.h"
#include "ui/view/ViewModel.h"

namespace {

constexpr int kDefaultNumberWidth = 20;
constexpr int kDefaultColumnWidth = 100;

UINT CaptionId(int column) {
    return column == kColumnNumber ? kStrColumnNumber : kStrColumnTitle + (column - kColumnTitle);
}

struct StatusString {
    int status;
    UINT stringId;
};

// Where the procedure below the list object keeps the control's own procedure.
constexpr wchar_t kControlProcProperty[] = L"CV_LISTPROC";

// Sits between the list object and the control. The object paints an empty list's status in
// its erase handler and, as every handled message but one answered 0 passes on, the erase
// reaches here: the control must neither erase over the status nor, told that nothing was
// erased, fill the background again when it paints.
LRESULT CALLBACK BelowListObjectProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    auto control = reinterpret_cast<WNDPROC>(GetPropW(window, kControlProcProperty));
    if (message == WM_ERASEBKGND && WindowObjectOf(window) && ListView_GetItemCount(window) == 0) return 1;
    if (message == WM_NCDESTROY) RemovePropW(window, kControlProcProperty);
    return control ? CallWindowProcW(control, window, message, wp, lp) : DefWindowProcW(window, message, wp, lp);
}

void InsertBelowListObject(HWND list) {
    auto control = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BelowListObjectProc)));
    SetPropW(list, kControlProcProperty, reinterpret_cast<HANDLE>(control));
}

// Once the object is unbound; a procedure installed above this one since keeps it in place.
void RemoveBelowListObject(HWND list) {
    auto control = reinterpret_cast<WNDPROC>(GetPropW(list, kControlProcProperty));
    auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(list, GWLP_WNDPROC));
    if (!control || current != &BelowListObjectProc) return;
    SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(control));
    RemovePropW(list, kControlProcProperty);
}

const StatusString kStatusTexts[] = {
    {kListStatusNoFiles, kStrListNoFiles},
    {kListStatusLoading, kStrListLoading},
    {kListStatusInvalidQuery, kStrListInvalidQuery},
    {kListStatusScanning, kStrListScanning},
    {kListStatusReadingTags, kStrListReadingTags},
    {kListStatusRefreshRoot, kStrListRefreshRoot},
    {kListStatusUpdatingDatabase, kStrListUpdatingDatabase},
};

}  // namespace

struct FileListView::CommandEntry {
    int command;
    void (*run)(FileListView& list, int argument);
};

// The list's own commands; the menu and keyboard commands join this table.
const FileListView::CommandEntry FileListView::kCommands[] = {
    {kMenuToggleColumn, [](FileListView& list, int column) { list.ToggleColumn(column); }},
    {kMenuFileInfo, [](FileListView&, int) { PostToView(kCmdFileInfo); }},
    {kMenuGoToFolder, [](FileListView&, int) { PostToView(kCmdSelectRowFolder); }},
    {kMenuSelectAll, [](FileListView& list, int) { list.SelectRows(SelectChange::kAll); }},
    {kMenuSelectNone, [](FileListView& list, int) { list.SelectRows(SelectChange::kNone); }},
    {kMenuInvertSelection, [](FileListView& list, int) { list.SelectRows(SelectChange::kInvert); }},
    {kMenuEditTags, [](FileListView&, int) { PostToView(kCmdEditTags, 0); }},
    {kMenuFindFileInExplorer,
     [](FileListView& list, int) {
         PostToView(kCmdShowInExplorer, ListView_GetNextItem(list.Window(), -1, LVNI_FOCUSED | LVNI_SELECTED));
     }},
    {kMenuDeleteFiles, [](FileListView&, int) { PostToView(kCmdRecycleFiles, 0); }},
    {kMenuDeleteFolder, [](FileListView&, int) { PostToView(kCmdRecycleFiles, 1); }},
    {kMenuFindMore, [](FileListView&, int field) { PostToView(kCmdFindMore, MAKELPARAM(kMenuFindMore, field)); }},
    {kMenuBookmarks, [](FileListView& list, int n) { RunBookmarkCommand(list.bookmarks_, n); }},
};

FileListView::FileListView(HWND list, ViewModel& model, const SettingsFile& settings, HINSTANCE resources)
    : model_(model), settings_(settings), resources_(resources), status_(String(kStrListLoading)) {
    InsertBelowListObject(list);
    Bind(list);
    RegisterWindow(kListWindowId, list);
    DWORD styles = LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT;
    ListView_SetExtendedListViewStyleEx(list, styles, styles);
    stored_.Load(settings_);
    enterKeyDisabled_ = settings_.ReadFlag(settings::kDisableEnterKey);
    InsertColumns();
    ListView_SetColumnOrderArray(list, kColumnCount, stored_.order.data());
    drop_.Register(list, Ref<ListDropTarget>::Adopt(new ListDropTarget(list, model_)));
}

std::wstring FileListView::String(UINT id) const {
    wchar_t buffer[256];
    if (resources_ && LoadStringW(resources_, id, buffer, ARRAYSIZE(buffer)) > 0) return buffer;
    // A language pack that lacks the text falls back to the built-in English one.
    return GetString(id);
}

void FileListView::InsertColumns() {
    for (int column = 0; column < kColumnCount; ++column) {
        std::wstring caption = String(CaptionId(column));
        LVCOLUMNW item = {};
        item.mask = LVCF_TEXT | LVCF_WIDTH;
        item.pszText = caption.data();
        // A negative width is a column the user hid; it keeps that width for showing it again.
        item.cx = stored_.widths[column] < 0 ? 0 : stored_.widths[column];
        if (ListView_InsertColumn(Window(), column, &item) >= 0) ++columnsInserted_;
    }
}

void FileListView::ToggleColumn(int column) {
    if (column < 0 || column >= columnsInserted_) return;
    HWND list = Window();
    int width = ListView_GetColumnWidth(list, column);
    int& remembered = stored_.widths[column];
    if (width > 0) {
        remembered = -width;
        ListView_SetColumnWidth(list, column, 0);
        return;
    }
    // A column dragged shut by hand, or stored as 0, has no hidden width to come back with;
    // a negative width here would ask the control to size the column itself.
    int shown = remembered < 0 ? -remembered : remembered;
    if (shown == 0) shown = column == kColumnNumber ? kDefaultNumberWidth : kDefaultColumnWidth;
    ListView_SetColumnWidth(list, column, shown);
}

// The play actions go to the view with where they came from: 1 from a double-click.
void FileListView::RunCommand(int command, int argument) {
    if (command >= kMenuPlay && command <= kMenuPlayAfterCurrent) {
        PostToView(kCmdPlayRows, MAKELPARAM(command, argument));
        return;
    }
    for (const CommandEntry& entry : kCommands)
        if (entry.command == command) return entry.run(*this, argument);
}

void FileListView::SelectRows(SelectChange change) {
    HWND list = Window();
    int count = ListView_GetItemCount(list);
    if (change != SelectChange::kInvert) {
        ListView_SetItemState(list, -1, change == SelectChange::kAll ? LVIS_SELECTED : 0, LVIS_SELECTED);
        return;
    }
    for (int row = 0; row < count; ++row) {
        bool selected = ListView_GetItemState(list, row, LVIS_SELECTED) != 0;
        ListView_SetItemState(list, row, selected ? 0 : LVIS_SELECTED, LVIS_SELECTED);
    }
}

void FileListView::SetStatus(int status) {
    for (const StatusString& text : kStatusTexts)
        if (text.status == status) status_ = String(text.stringId);
    InvalidateRect(Window(), nullptr, TRUE);
}

void FileListView::OnGetDispInfo(NMLVDISPINFOW& info) {
    LVITEMW& item = info.item;
    if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return;
    Ref<FileRecord> record = model_.RowAt(item.iItem);
    if (!record) return;
    CellContext context;
    context.row = item.iItem;
    context.hideKbps = model_.Options().hideKbps;
    std::wstring text = CellText(*record, item.iSubItem, context);
    lstrcpynW(item.pszText, text.c_str(), item.cchTextMax);
}

void FileListView::Save() {
    HWND list = Window();
    ListView_SetItemCount(list, 0);
    ColumnWidths widths{};
    for (int column = 0; column < columnsInserted_; ++column)
        widths[column] = ListView_GetColumnWidth(list, column);
    ColumnOrder order{};
    if (ListView_GetColumnOrderArray(list, kColumnCount, order.data())) stored_.order = order;
    stored_.Save(settings_, widths);
}

LRESULT FileListView::OnCommandMessage(HWND, UINT, WPARAM code, LPARAM lp) {
    switch (code) {
        case kCmdGetDoubleClick: return stored_.doubleClickCommand;
        case kCmdSetDoubleClick: stored_.doubleClickCommand = static_cast<int>(lp); return 0;
        case kCmdRunMenuCommand: RunCommand(LOWORD(lp), HIWORD(lp)); return 0;
        case kCmdSetListStatus: SetStatus(static_cast<int>(lp)); return 0;
        default: return 0;
    }
}

// The control's own type-ahead would jump to rows by a text the list does not hold.
LRESULT FileListView::OnChar(HWND, UINT, WPARAM, LPARAM) { return 0; }

// Rows scrolled into view need their tags read.
LRESULT FileListView::OnVScroll(HWND, UINT, WPARAM, LPARAM) {
    PostToView(kCmdReadVisibleTags);
    return 1;
}

LRESULT FileListView::OnMouseWheel(HWND, UINT, WPARAM, LPARAM) {
    PostToView(kCmdReadVisibleTags);
    return 1;
}

// The view shows the divider cursor while the mouse is near the pane edge.
LRESULT FileListView::OnSetCursor(HWND, UINT, WPARAM wp, LPARAM lp) {
    if (HWND view = GetWindow(kMainViewWindowId)) PostMessageW(view, WM_SETCURSOR, wp, lp);
    return 1;
}

LRESULT FileListView::OnEraseBackground(HWND window, UINT, WPARAM wp, LPARAM) {
    if (ListView_GetItemCount(window) == 0) PaintStatus(reinterpret_cast<HDC>(wp));
    return 1;
}

LRESULT FileListView::OnNotify(HWND window, UINT, WPARAM, LPARAM lp) {
    auto* header = reinterpret_cast<NMHDR*>(lp);
    if (!header) return 1;
    if (header->hwndFrom == ListView_GetHeader(window)) return OnHeaderNotify(*header);
    // The view hands the list's double-click back: it acts on the selection.
    if (header->hwndFrom == window && header->code == static_cast<UINT>(NM_DBLCLK)) {
        RunCommand(stored_.doubleClickCommand, 1);
        return 0;
    }
    return 1;
}

LRESULT FileListView::OnClose(HWND window, UINT, WPARAM, LPARAM) {
    drop_.Revoke();
    Save();
    Unbind();
    RemoveBelowListObject(window);
    return 0;
}

// A list destroyed without being closed first still gives its drop target back.
LRESULT FileListView::OnDestroy(HWND, UINT, WPARAM, LPARAM) {
    drop_.Revoke();
    return 1;
}

LRESULT FileListView::OnKeyUp(HWND window, UINT message, WPARAM key, LPARAM) {
    return HandleContextMenuKey(window, message, key) ? 0 : 1;
}
