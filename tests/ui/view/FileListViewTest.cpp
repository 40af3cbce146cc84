// The list object on a real list control: its columns and the settings they come from and go
// back to, its private commands, the messages it takes from the control, and header clicks.
#include "ListHarness.h"

#include "db/roots/SqlRoot.h"
#include "ui/framework/Messages.h"
#include "ui/framework/WindowRegistry.h"
#include "ui/view/CommandCodes.h"

namespace {

std::vector<int> Widths(HWND list) {
    std::vector<int> widths;
    for (int i = 0; i < 15; ++i) widths.push_back(ListView_GetColumnWidth(list, i));
    return widths;
}

std::vector<int> DisplayOrder(HWND list) {
    std::vector<int> order(15, -1);
    ListView_GetColumnOrderArray(list, 15, order.data());
    return order;
}

std::wstring Caption(HWND list, int column) {
    wchar_t text[64] = {};
    LVCOLUMNW item = {};
    item.mask = LVCF_TEXT;
    item.pszText = text;
    item.cchTextMax = 64;
    ListView_GetColumn(list, column, &item);
    return text;
}

LPARAM ListCommand(int command, int argument) { return MAKELPARAM(command, argument); }

TEST_F(ListTest, FirstStartShowsFifteenColumnsInTheirNaturalOrder) {
    EXPECT_EQ(GetWindow(kListWindowId), list);
    EXPECT_EQ(Header_GetItemCount(ListView_GetHeader(list)), 15);
    std::vector<int> widths(15, 100);
    widths[0] = 20;
    EXPECT_EQ(Widths(list), widths);
    EXPECT_EQ(DisplayOrder(list), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}));
    const wchar_t* captions[] = {L"#", L"Title", L"Artist", L"Album", L"Genre", L"Comment", L"Track", L"Year",
                                 L"Length", L"Bitrate", L"Playcount", L"Last changed", L"Filesize",
                                 L"Filepath", L"Filename"};
    for (int i = 0; i < 15; ++i) EXPECT_EQ(Caption(list, i), captions[i]) << i;
    DWORD styles = ListView_GetExtendedListViewStyle(list);
    EXPECT_TRUE(styles & LVS_EX_HEADERDRAGDROP) << "columns can be dragged";
    EXPECT_TRUE(styles & LVS_EX_FULLROWSELECT);
    EXPECT_EQ(view->StatusText(), L"Loading...");
    EXPECT_EQ(Command(kCmdGetDoubleClick), 3011) << "enqueue and play";
}

TEST_F(ListTest, ClosingWritesWidthsDoubleClickAndOrder) {
    ListView_SetColumnWidth(list, 0, 33);
    ListView_SetColumnWidth(list, 13, 250);
    Command(kCmdSetDoubleClick, 3013);
    int order[15] = {14, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};
    ListView_SetColumnOrderArray(list, 15, order);  // as a header drag leaves it
    CloseList();
    EXPECT_EQ(IniValue(L"List", L"Num"), L"33");
    EXPECT_EQ(IniValue(L"List", L"Path"), L"250");
    EXPECT_EQ(IniValue(L"List", L"Track #"), L"100");
    EXPECT_EQ(IniValue(L"List", L"Double-click"), L"3");
    EXPECT_EQ(IniValue(L"List", L"Column order"), L"14;0;1;2;3;4;5;6;7;8;9;10;11;12;13;");
    EXPECT_EQ(view->Window(), nullptr) << "closing unbinds";
}

TEST_F(ListTest, HiddenAlbumStaysHiddenAcrossARestartAndComesBackAtItsWidth) {
    ListView_SetColumnWidth(list, 3, 130);
    Command(kCmdRunMenuCommand, ListCommand(kMenuToggleColumn, 3));
    EXPECT_EQ(ListView_GetColumnWidth(list, 3), 0);
    CloseList();
    EXPECT_EQ(IniValue(L"List", L"Album"), L"-130");

    CreateList();
    EXPECT_EQ(ListView_GetColumnWidth(list, 3), 0) << "starts hidden";
    Command(kCmdRunMenuCommand, ListCommand(kMenuToggleColumn, 3));
    EXPECT_EQ(ListView_GetColumnWidth(list, 3), 130);
    CloseList();
    EXPECT_EQ(IniValue(L"List", L"Album"), L"130");
}

TEST_F(ListTest, ShowingAColumnWithoutARememberedWidthUsesTheDefault) {
    CloseList();
    WriteIni(L"List", L"Genre", L"0");
    CreateList();
    EXPECT_EQ(ListView_GetColumnWidth(list, 4), 0);
    Command(kCmdRunMenuCommand, ListCommand(kMenuToggleColumn, 4));
    EXPECT_EQ(ListView_GetColumnWidth(list, 4), 100) << "a stored 0 must not leave the column unreachable";
    Command(kCmdRunMenuCommand, ListCommand(kMenuToggleColumn, 99));  // no such column: nothing happens
    EXPECT_EQ(Header_GetItemCount(ListView_GetHeader(list)), 15);
}

TEST_F(ListTest, StoredColumnOrderIsApplied) {
    CloseList();
    WriteIni(L"List", L"Column order", L"3;0;1;2;4;5;6;7;8;9;10;11;12;13;14;");
    CreateList();
    EXPECT_EQ(DisplayOrder(list), (std::vector<int>{3, 0, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}));
}

TEST_F(ListTest, StatusCodesChooseTheEmptyListText) {
    const std::pair<int, const wchar_t*> cases[] = {
        {0, L"No files found."},
        {3, L"Scanning..."},
        {4, L"Reading tags..."},
        {5, L"Please refresh root to view contents."},
        {2, L"Please refresh root to view contents."},  // unknown: unchanged
        {7, L"Updating database..."},
        {6, L"Updating database..."},
        {1, L"Loading..."},
    };
    for (const auto& [code, text] : cases) {
        Command(kCmdSetListStatus, code);
        EXPECT_EQ(view->StatusText(), text) << code;
    }
}

TEST_F(ListTest, DoubleClickRunsTheStoredCommandOnlyThroughTheTable) {
    EXPECT_EQ(Command(kCmdSetDoubleClick, 3010), 0);
    EXPECT_EQ(Command(kCmdGetDoubleClick), 3010);
    // The list's double-click comes back from the view; no list command is known for it yet,
    // and nothing else may happen to the list.
    SetRows({L"a", L"b"});
    NMITEMACTIVATE click = {};
    click.hdr = {list, static_cast<UINT_PTR>(kListControl), static_cast<UINT>(NM_DBLCLK)};
    click.iItem = 0;
    SendMessageW(host, WM_NOTIFY, kListControl, reinterpret_cast<LPARAM>(&click));
    EXPECT_EQ(Widths(list)[0], 20);
}

TEST_F(ListTest, TypedCharactersNeverReachTheControl) {
    SetRows({L"alpha", L"beta"});
    SendMessageW(list, WM_CHAR, L'b', 0);
    EXPECT_TRUE(controlChars.empty());
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), -1) << "no type-ahead selection";
}

TEST_F(ListTest, ScrollingAsksForTagsAndTheCursorGoesToTheView) {
    SetRows(std::vector<std::wstring>(200, L"x"));
    SendMessageW(list, WM_VSCROLL, SB_LINEDOWN, 0);
    SendMessageW(list, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(10, 10));
    SendMessageW(list, WM_SETCURSOR, reinterpret_cast<WPARAM>(list), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    Pump();
    EXPECT_EQ(viewSaw, (std::vector<WPARAM>{kCmdReadVisibleTags, kCmdReadVisibleTags, WM_SETCURSOR}));
    EXPECT_GT(ListView_GetTopIndex(list), 0) << "the control still scrolls";
}

TEST_F(ListTest, CellTextsReachTheControlThroughItsTextRequest) {
    SetRows({L"First", L"Second", L"Third"});
    wchar_t text[64] = {};
    ListView_GetItemText(list, 1, 1, text, 64);
    EXPECT_STREQ(text, L"Second");
    ListView_GetItemText(list, 2, 0, text, 64);
    EXPECT_STREQ(text, L"3");
    ListView_GetItemText(list, 0, 14, text, 4);
    EXPECT_STREQ(text, L"1.m") << "cut to the control's buffer";
}

void ClickHeader(HWND host, HWND list, int column) {
    NMLISTVIEW click = {};
    click.hdr = {list, static_cast<UINT_PTR>(kListControl), static_cast<UINT>(LVN_COLUMNCLICK)};
    click.iItem = -1;
    click.iSubItem = column;
    SendMessageW(host, WM_NOTIFY, kListControl, reinterpret_cast<LPARAM>(&click));
}

int SelectedRow(HWND list) { return ListView_GetNextItem(list, -1, LVNI_SELECTED); }

TEST_F(ListTest, TitleHeaderSortsUpThenDownAndKeepsTheSelectedFile) {
    SetRows({L"b", L"", L"a", L"c"});
    ListView_SetItemState(list, 0, LVIS_SELECTED, LVIS_SELECTED);
    ListView_SetSelectionMark(list, 0);  // "b"
    ClickHeader(host, list, 1);
    EXPECT_EQ(model.defaultKey, -1);
    EXPECT_EQ(model.rows->sortKey, -1);
    EXPECT_EQ(RowTitles(), (std::vector<std::wstring>{L"a", L"b", L"c", L""}));
    EXPECT_EQ(SelectedRow(list), 1);
    EXPECT_EQ(ListView_GetSelectionMark(list), 1);
    EXPECT_EQ(ListView_GetNextItem(list, 1, LVNI_SELECTED), -1) << "only that row";

    ClickHeader(host, list, 1);
    EXPECT_EQ(model.defaultKey, 1);
    EXPECT_EQ(RowTitles(), (std::vector<std::wstring>{L"c", L"b", L"a", L""}));
    EXPECT_EQ(SelectedRow(list), 1);

    ClickHeader(host, list, 0);  // "#" on a folder reverses
    EXPECT_EQ(model.defaultKey, -1);
    EXPECT_EQ(RowTitles(), (std::vector<std::wstring>{L"a", L"b", L"c", L""}));
}

TEST_F(ListTest, NumberHeaderOnAPlaylistLeavesItsRowsAndItsOwnKey) {
    model.node = Ref<TreeNode>::Make(NodeKind::kPlaylist, L"C:\\Music\\list.m3u");
    model.node->playlist = Ref<Playlist>::Make();
    model.node->playlist->sortKey = 2;
    SetRows({L"b", L"a", L"c"});
    ClickHeader(host, list, 0);
    EXPECT_EQ(model.defaultKey, 0);
    EXPECT_EQ(model.node->playlist->sortKey, 2);
    EXPECT_FALSE(model.node->playlist->modified);
    EXPECT_EQ(RowTitles(), (std::vector<std::wstring>{L"b", L"a", L"c"}));

    ClickHeader(host, list, 1);
    EXPECT_EQ(model.node->playlist->sortKey, -1) << "other columns use the playlist's own key";
    EXPECT_TRUE(model.node->playlist->modified) << "its new order can be saved";
    EXPECT_EQ(model.defaultKey, 0);
    EXPECT_EQ(RowTitles(), (std::vector<std::wstring>{L"a", L"b", L"c"}));
}

TEST_F(ListTest, SmartPlaylistKeepsItsOwnKey) {
    auto smart = Ref<SqlRoot>::Make(L"year > 1990", L"Nineties", 1);
    model.node = smart->Node();
    model.node->root = smart.get();
    SetRows({L"b", L"a"});
    ClickHeader(host, list, 1);
    ClickHeader(host, list, 1);
    EXPECT_EQ(smart->SortKey(), 1);
    EXPECT_EQ(model.defaultKey, 1) << "unchanged";
    ClickHeader(host, list, 0);
    EXPECT_EQ(smart->SortKey(), -1);
    model.node->root = nullptr;
}

TEST_F(ListTest, HeaderClickOnAnEmptyListOnlyStoresTheKey) {
    ClickHeader(host, list, 5);
    EXPECT_EQ(model.defaultKey, -5);
    EXPECT_EQ(model.rows->sortKey, -5);
    EXPECT_EQ(model.sorts, 0);
    EXPECT_EQ(view->StatusText(), L"Loading...");
}

TEST_F(ListTest, DividerDoubleClickFitsTheNumberColumnToTheLargestRowNumber) {
    SetRows(std::vector<std::wstring>(12345, L"x"));
    HWND header = ListView_GetHeader(list);
    NMHEADERW click = {};
    click.hdr = {header, static_cast<UINT_PTR>(GetDlgCtrlID(header)), static_cast<UINT>(HDN_DIVIDERDBLCLICKW)};
    click.iItem = 0;
    SendMessageW(list, WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));

    HDC dc = GetDC(list);
    SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(list, WM_GETFONT, 0, 0)));
    SIZE digits = {};
    GetTextExtentPoint32W(dc, L"12345", 5, &digits);
    ReleaseDC(list, dc);
    int width = ListView_GetColumnWidth(list, 0);
    EXPECT_GE(width - 6, digits.cx) << "the number fits between the cell margins";
    EXPECT_LE(width - 6, digits.cx + 2);

    ListView_SetColumnWidth(list, 0, 50);
    EXPECT_EQ(ListView_GetColumnWidth(list, 0), 50) << "later width changes are the user's";
}

}  // namespace
