// The list object on a real owner-data list inside a window that forwards the list's
// notifications and drawing as the view does: columns and the settings behind them, status
// texts, header clicks, row and empty-list painting, and the GDI and USER objects it leaves.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "base/GuiObjects.h"
#include "bus/CommandCodes.h"
#include "bus/Messages.h"
#include "bus/WindowRegistry.h"
#include "db/roots/SqlRoot.h"
#include "support/BuildFiles.h"
#include "support/TempFolder.h"
#include "ui/view/FileListView.h"
#include "ui/view/RowSorting.h"
#include "ui/view/StripeShade.h"
#include "ui/view/ViewModel.h"

namespace {

class FakeModel : public ViewModel {
public:
    Ref<FileRecord> RowAt(int i) override {
        return i >= 0 && i < static_cast<int>(rows->rows.size()) ? rows->rows[static_cast<size_t>(i)] : nullptr;
    }
    Ref<RowList> CurrentRows() override { return rows; }
    Ref<TreeNode> SelectedNode() override { return node; }
    int DefaultSortKey() const override { return defaultKey; }
    void SetDefaultSortKey(int key) override { defaultKey = key; }
    Ref<RowList> SortShownRows(int key) override {
        Ref<RowList> sorted = rows->Copy();
        SortRowList(*sorted, key ? key : defaultKey, 0);
        sorted->sortKey = key;
        rows = sorted;
        return sorted;
    }
    const MainViewOptions& Options() const override { return options; }
    const SkinColors& Colors() const override { return colors; }
    std::wstring PlayingPath() const override { return playing; }

    Ref<RowList> rows = Ref<RowList>::Make();
    Ref<TreeNode> node;
    int defaultKey = 1;
    MainViewOptions options;
    SkinColors colors;
    std::wstring playing;
};

constexpr COLORREF kBackground = RGB(40, 40, 40), kText = RGB(250, 250, 0);
constexpr COLORREF kPlayingText = RGB(0, 250, 250), kSelection = RGB(0, 0, 200);

// A skin colour strip: entry i is the pixel at x = 48 + 2i.
UniqueBitmap SkinBitmap() {
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 120, 1, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    SelectGuard select(dc.get(), bitmap.get());
    for (int x = 0; x < 120; ++x) SetPixel(dc.get(), x, 0, RGB(1, 2, 3));
    for (auto [index, color] : {std::pair{0, kBackground}, {1, kText}, {18, kPlayingText}, {19, kSelection}})
        SetPixel(dc.get(), 48 + 2 * index, 0, color);
    return bitmap;
}

FileListView* current = nullptr;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    auto* header = reinterpret_cast<NMHDR*>(lp);
    if (current && message == WM_NOTIFY && header->code == LVN_GETDISPINFOW)
        current->OnGetDispInfo(*reinterpret_cast<NMLVDISPINFOW*>(lp));
    else if (current && message == WM_NOTIFY && header->code == LVN_COLUMNCLICK)
        current->OnColumnClick(reinterpret_cast<NMLISTVIEW*>(lp)->iSubItem);
    else if (current && message == WM_DRAWITEM)
        current->DrawRow(*reinterpret_cast<DRAWITEMSTRUCT*>(lp));
    else
        return DefWindowProcW(window, message, wp, lp);
    return 0;
}

// Every test's window lives in this one: destroying a visible top-level window makes Wine wait
// two seconds for a window manager that Xvfb does not have.
HWND Stage() {
    static HWND stage = [] {
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &HostProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"CvListTest";
        RegisterClassW(&wc);
        return CreateWindowW(L"CvListTest", L"", WS_POPUP | WS_VISIBLE, 0, 0, 720, 420, nullptr, nullptr, nullptr,
                             nullptr);
    }();
    return stage;
}

class ListTest : public testing::Test {
protected:
    void SetUp() override { CreateList(); }
    void TearDown() override { CloseList(); }
    void CreateList() {
        host = CreateWindowW(L"CvListTest", L"", WS_CHILD | WS_VISIBLE, 0, 0, 700, 400, Stage(), nullptr, nullptr,
                             nullptr);
        list = CreateWindowW(WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA | LVS_OWNERDRAWFIXED,
                             0, 0, 680, 360, host, reinterpret_cast<HMENU>(kListControl), nullptr, nullptr);
        view = Ref<FileListView>::Adopt(new FileListView(list, model, settings, context.module()));
        current = view.get();
    }
    void CloseList() {
        if (view && view->Window()) SendMessageW(list, WM_CLOSE, 0, 0);
        current = nullptr;
        if (host) DestroyWindow(host);
        host = list = nullptr;
    }
    void SetRows(const std::vector<std::wstring>& titles) {
        model.rows = Ref<RowList>::Make();
        for (const std::wstring& title : titles) {
            auto record = Ref<FileRecord>::Make(L"C:\\Music\\" + std::to_wstring(model.rows->rows.size()) + L".mp3");
            TagTexts tags;
            tags[0] = title;
            record->SetTags(tags);
            record->tagged = true;
            model.rows->rows.push_back(record);
        }
        ListView_SetItemCountEx(list, static_cast<int>(titles.size()), 0);
    }
    std::vector<std::wstring> Titles() const {
        std::vector<std::wstring> titles;
        for (const auto& row : model.rows->rows) titles.push_back(row->TagOrEmpty(TagField::kTitle));
        return titles;
    }
    std::wstring Ini(const wchar_t* key) const {
        wchar_t value[256] = {};
        GetPrivateProfileStringW(L"List", key, L"(absent)", value, 256, settings.Path().c_str());
        return value;
    }
    LRESULT Command(WPARAM code, LPARAM argument = 0) const { return SendMessageW(list, kCommandMessage, code, argument); }
    void ToggleColumn(int column) const { Command(kCmdRunMenuCommand, MAKELPARAM(kMenuToggleColumn, column)); }
    void ClickHeader(int column) const {
        NMLISTVIEW click = {};
        click.hdr = {list, kListControl, static_cast<UINT>(LVN_COLUMNCLICK)};
        click.iItem = -1;
        click.iSubItem = column;
        SendMessageW(host, WM_NOTIFY, kListControl, reinterpret_cast<LPARAM>(&click));
    }
    std::vector<int> Widths() const {
        std::vector<int> widths;
        for (int i = 0; i < 15; ++i) widths.push_back(ListView_GetColumnWidth(list, i));
        return widths;
    }
    std::vector<int> Order() const {
        std::vector<int> order(15, -1);
        ListView_GetColumnOrderArray(list, 15, order.data());
        return order;
    }

    TempFolder temp;
    ScopedPluginContext context{temp.File(L"docs")};
    SettingsFile settings{temp.File(L"gen_cv.ini")};
    FakeModel model;
    HWND host = nullptr, list = nullptr;
    Ref<FileListView> view;
};

using Ints = std::vector<int>;
using Texts = std::vector<std::wstring>;

TEST_F(ListTest, FirstStartShowsFifteenColumnsInTheirNaturalOrder) {
    EXPECT_EQ(GetWindow(kListWindowId), list);
    EXPECT_EQ(Widths(), (Ints{20, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100}));
    EXPECT_EQ(Order(), (Ints{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}));
    wchar_t caption[32] = {};
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT;
    column.pszText = caption;
    column.cchTextMax = 32;
    ListView_GetColumn(list, 14, &column);
    EXPECT_STREQ(caption, L"Filename");
    EXPECT_TRUE(ListView_GetExtendedListViewStyle(list) & LVS_EX_HEADERDRAGDROP) << "columns can be dragged";
    EXPECT_EQ(view->StatusText(), L"Loading...");
    EXPECT_EQ(Command(kCmdGetDoubleClick), 3011) << "enqueue and play";
}

TEST_F(ListTest, ClosingSavesWidthsOrderAndDoubleClickAndHiddenColumnsComeBack) {
    ListView_SetColumnWidth(list, 3, 130);
    ToggleColumn(3);  // hide "Album"
    EXPECT_EQ(ListView_GetColumnWidth(list, 3), 0);
    ListView_SetColumnWidth(list, 13, 250);
    Command(kCmdSetDoubleClick, 3013);
    int dragged[15] = {14, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};
    ListView_SetColumnOrderArray(list, 15, dragged);
    CloseList();
    EXPECT_EQ(view->Window(), nullptr) << "closing unbinds";
    EXPECT_EQ(Ini(L"Album"), L"-130");
    EXPECT_EQ(Ini(L"Path"), L"250");
    EXPECT_EQ(Ini(L"Num"), L"20");
    EXPECT_EQ(Ini(L"Double-click"), L"3");
    EXPECT_EQ(Ini(L"Column order"), L"14;0;1;2;3;4;5;6;7;8;9;10;11;12;13;");

    WritePrivateProfileStringW(L"List", L"Genre", L"0", settings.Path().c_str());
    CreateList();
    EXPECT_EQ(ListView_GetColumnWidth(list, 3), 0) << "starts hidden";
    EXPECT_EQ(Order()[0], 14);
    ToggleColumn(3);
    EXPECT_EQ(ListView_GetColumnWidth(list, 3), 130) << "at its old width";
    ToggleColumn(4);
    EXPECT_EQ(ListView_GetColumnWidth(list, 4), 100) << "a stored 0 must not leave the column unreachable";
}

TEST_F(ListTest, StatusCodesChooseTheEmptyListText) {
    const std::pair<int, const wchar_t*> cases[] = {
        {0, L"No files found."}, {3, L"Scanning..."}, {4, L"Reading tags..."},
        {5, L"Please refresh root to view contents."}, {2, L"Please refresh root to view contents."},
        {7, L"Updating database..."}, {6, L"Updating database..."}, {8, L"Invalid SQL-query"},
        {1, L"Loading..."},
    };
    for (const auto& [code, text] : cases) {
        Command(kCmdSetListStatus, code);
        EXPECT_EQ(view->StatusText(), text) << code;
    }
}

TEST_F(ListTest, HeaderClicksSortUpThenDownKeepTheSelectedFileAndNumberReverses) {
    SetRows({L"b", L"", L"a", L"c"});
    ListView_SetItemState(list, 0, LVIS_SELECTED, LVIS_SELECTED);
    ListView_SetSelectionMark(list, 0);  // "b"
    ClickHeader(1);
    EXPECT_EQ(model.defaultKey, -1);
    EXPECT_EQ(Titles(), (Texts{L"a", L"b", L"c", L""}));
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), 1);
    EXPECT_EQ(ListView_GetSelectionMark(list), 1);
    ClickHeader(1);
    EXPECT_EQ(Titles(), (Texts{L"c", L"b", L"a", L""})) << "empty titles stay at the bottom";
    ClickHeader(0);
    EXPECT_EQ(model.defaultKey, -1);
    EXPECT_EQ(Titles(), (Texts{L"a", L"b", L"c", L""}));
}

TEST_F(ListTest, PlaylistsAndSmartPlaylistsKeepTheirOwnKey) {
    model.node = Ref<TreeNode>::Make(NodeKind::kPlaylist, L"C:\\Music\\list.m3u");
    model.node->playlist = Ref<Playlist>::Make();
    model.node->playlist->sortKey = 2;
    SetRows({L"b", L"a", L"c"});
    ClickHeader(0);
    EXPECT_EQ(model.defaultKey, 0);
    EXPECT_EQ(model.node->playlist->sortKey, 2);
    EXPECT_FALSE(model.node->playlist->modified);
    EXPECT_EQ(Titles(), (Texts{L"b", L"a", L"c"})) << "rows stay in place";
    ClickHeader(1);
    EXPECT_EQ(model.node->playlist->sortKey, -1);
    EXPECT_TRUE(model.node->playlist->modified) << "its new order can be saved";
    EXPECT_EQ(Titles(), (Texts{L"a", L"b", L"c"}));

    auto smart = Ref<SqlRoot>::Make(L"year > 1990", L"Nineties", 1);
    smart->Node()->root = smart.get();
    model.node = smart->Node();
    ClickHeader(2);
    ClickHeader(0);
    EXPECT_EQ(smart->SortKey(), 2);
    EXPECT_EQ(model.defaultKey, 0);
    smart->Node()->root = nullptr;
}

TEST_F(ListTest, DividerDoubleClickFitsTheNumberColumnToTheLargestRowNumber) {
    SetRows(Texts(12345, L"x"));
    HWND header = ListView_GetHeader(list);
    NMHEADERW click = {};
    click.hdr = {header, 0, static_cast<UINT>(HDN_DIVIDERDBLCLICKW)};
    SendMessageW(list, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&click));
    HDC dc = GetDC(list);
    SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(list, WM_GETFONT, 0, 0)));
    SIZE digits = {};
    GetTextExtentPoint32W(dc, L"12345", 5, &digits);
    ReleaseDC(list, dc);
    int text = ListView_GetColumnWidth(list, 0) - 6;  // less the cell margins
    EXPECT_GE(text, digits.cx) << "no ellipsis";
    EXPECT_LE(text, digits.cx + 2) << "and no more";
}

// Reads pixels drawn off-screen by the list.
class Canvas {
public:
    static constexpr int kWidth = 700, kHeight = 400;
    static constexpr COLORREF kBlank = RGB(255, 0, 255);

    Canvas() : dc_(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        bitmap_ = UniqueBitmap(CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_),
                                                nullptr, 0));
        SelectObject(dc_.get(), bitmap_.get());
        std::fill(bits_, bits_ + kWidth * kHeight, 0xFF00FF);
    }
    HDC dc() const { return dc_.get(); }
    COLORREF At(int x, int y) const {
        GdiFlush();
        DWORD v = bits_[y * kWidth + x];
        return RGB(v >> 16, (v >> 8) & 0xFF, v & 0xFF);
    }
    int Count(const RECT& r, COLORREF color) const {
        int n = 0;
        for (int y = r.top; y < r.bottom && y < kHeight; ++y)
            for (int x = std::max<LONG>(r.left, 0); x < r.right && x < kWidth; ++x) n += At(x, y) == color;
        return n;
    }

private:
    UniqueMemoryDc dc_;
    UniqueBitmap bitmap_;
    DWORD* bits_ = nullptr;
};

TEST_F(ListTest, RowsAreStripedSelectedAndThePlayingFileStandsOut) {
    model.colors.ReadFrom(SkinBitmap());
    model.options.stripeShade = 150;
    SetRows({L"First", L"Second", L"Third"});
    model.playing = L"c:\\MUSIC\\1.mp3";  // the second row, in other letters
    Canvas canvas;
    const COLORREF fill[] = {StripeShade(kBackground, 150), kBackground, kSelection};
    for (int row = 0; row < 3; ++row) {
        DRAWITEMSTRUCT item = {ODT_LISTVIEW, kListControl, static_cast<UINT>(row), ODA_DRAWENTIRE,
                               row == 2 ? ODS_SELECTED : 0u, list, canvas.dc(), {}, 0};
        ListView_GetItemRect(list, row, &item.rcItem, LVIR_BOUNDS);
        view->DrawRow(item);
        EXPECT_EQ(canvas.At(1, item.rcItem.top), fill[row]) << row;
        EXPECT_EQ(canvas.Count(item.rcItem, kPlayingText) > 0, row == 1) << row;
        EXPECT_EQ(canvas.Count(item.rcItem, kText) > 0, row != 1) << row;
    }
    Canvas untouched;
    DRAWITEMSTRUCT focus = {ODT_LISTVIEW, kListControl, 0, ODA_FOCUS, ODS_FOCUS, list, untouched.dc(), {}, 0};
    ListView_GetItemRect(list, 0, &focus.rcItem, LVIR_BOUNDS);
    view->DrawRow(focus);
    EXPECT_EQ(untouched.Count(focus.rcItem, Canvas::kBlank), Canvas::kWidth * (focus.rcItem.bottom - focus.rcItem.top))
        << "a focus change alone draws nothing";
}

TEST_F(ListTest, EmptyListShowsItsStatusBelowTheHeaderOnScreen) {
    model.colors.ReadFrom(SkinBitmap());
    view->ApplyColors();
    Command(kCmdSetListStatus, kListStatusNoFiles);
    RECT header;
    GetClientRect(ListView_GetHeader(list), &header);
    // The control's own painting after the erase must not wipe the status out again.
    RedrawWindow(list, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    HDC screen = GetDC(list);
    int below = 0, beside = 0;
    for (int y = header.bottom; y < header.bottom + 40; ++y)
        for (int x = 0; x < 200; ++x) (x < 10 || y < header.bottom + 10 ? beside : below) += GetPixel(screen, x, y) == kText;
    EXPECT_EQ(GetPixel(screen, 600, 300), kBackground);
    ReleaseDC(list, screen);
    EXPECT_GT(below, 20);
    EXPECT_EQ(beside, 0);
}

std::pair<DWORD, DWORD> GuiObjects() {
    GuiObjectCounts counts = CountGuiObjects();
    return {counts.gdi, counts.user};
}

// Stands in for the view: records the commands the list posts to it.
std::vector<std::pair<WPARAM, LPARAM>> posted;
LRESULT CALLBACK RecordingViewProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (message == kCommandMessage) posted.emplace_back(wp, lp);
    return DefWindowProcW(window, message, wp, lp);
}

TEST_F(ListTest, MenuCommandsChangeTheSelectionOrGoToTheView) {
    WNDCLASSW recording = {};
    recording.lpfnWndProc = &RecordingViewProc;
    recording.lpszClassName = L"CvRecordingView";
    RegisterClassW(&recording);
    HWND fakeView = CreateWindowW(L"CvRecordingView", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    RegisterWindow(kMainViewWindowId, fakeView);
    SetRows({L"a", L"b", L"c", L"d"});
    auto selected = [&] {
        Ints rows;
        for (int i = ListView_GetNextItem(list, -1, LVNI_SELECTED); i >= 0; i = ListView_GetNextItem(list, i, LVNI_SELECTED))
            rows.push_back(i);
        return rows;
    };
    Command(kCmdRunMenuCommand, kMenuSelectAll);
    EXPECT_EQ(selected(), (Ints{0, 1, 2, 3}));
    ListView_SetItemState(list, 1, 0, LVIS_SELECTED);
    Command(kCmdRunMenuCommand, kMenuInvertSelection);
    EXPECT_EQ(selected(), (Ints{1}));
    Command(kCmdRunMenuCommand, kMenuSelectNone);
    EXPECT_EQ(selected(), Ints{});

    posted.clear();
    ListView_SetItemState(list, 2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    Command(kCmdRunMenuCommand, kMenuEnqueue);
    Command(kCmdRunMenuCommand, MAKELPARAM(kMenuFindMore, 2));
    Command(kCmdRunMenuCommand, kMenuFindFileInExplorer);
    Command(kCmdRunMenuCommand, kMenuDeleteFolder);
    NMHDR click = {list, kListControl, static_cast<UINT>(NM_DBLCLK)};
    SendMessageW(list, WM_NOTIFY, kListControl, reinterpret_cast<LPARAM>(&click));
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    using Posted = std::vector<std::pair<WPARAM, LPARAM>>;
    EXPECT_EQ(posted, (Posted{{1037, kMenuEnqueue},
                              {1097, MAKELPARAM(kMenuFindMore, 2)},
                              {1057, 2},
                              {1025, 1},
                              {1037, MAKELPARAM(kMenuEnqueueAndPlay, 1)}}))
        << "a double-click plays with the list's own action, marked as a double-click";
    RegisterWindow(kMainViewWindowId, nullptr);
    DestroyWindow(fakeView);
}

TEST(ListResourcesTest, NothingIsLeftBehindAfterTheListIsGone) {
    auto lifetime = [] {
        struct Run : ListTest {
            void TestBody() override {
                SetUp();
                model.colors.ReadFrom(SkinBitmap());
                view->ApplyColors();
                SetRows({L"b", L"a", L"c"});
                ClickHeader(1);
                ToggleColumn(2);
                RedrawWindow(host, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
                ListView_SetItemCountEx(list, 0, 0);
                RedrawWindow(list, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW);
                TearDown();
            }
        } run;
        run.TestBody();
    };
    lifetime();  // the first run loads what stays loaded: classes, fonts, the controls
    auto before = GuiObjects();
    lifetime();
    auto after = GuiObjects();
    EXPECT_GT(before.first, 0u);
    EXPECT_EQ(after.first, before.first) << "GDI";
    EXPECT_EQ(after.second, before.second) << "USER";
}

}  // namespace
