// What the list looks like: striped, selected and playing rows, the status of an empty list,
// the skinned header, row heights with a custom font, and the GDI and USER objects it leaves.
#include "ListHarness.h"

#include "ui/view/CommandCodes.h"
#include "ui/view/StripeShade.h"

#include <algorithm>
#include <optional>

namespace {

// An off-screen 32-bit picture of the list's client area, filled with a colour no skin uses.
class Canvas {
public:
    static constexpr COLORREF kUnpainted = RGB(255, 0, 255);

    explicit Canvas(HWND window) : dc_(CreateCompatibleDC(nullptr)) {
        RECT client;
        GetClientRect(window, &client);
        width_ = client.right;
        height_ = client.bottom;
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width_, -height_, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        bitmap_ = UniqueBitmap(CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_),
                                                nullptr, 0));
        select_.emplace(dc_.get(), bitmap_.get());
        for (int i = 0; i < width_ * height_; ++i) bits_[i] = 0xFF00FF;
    }
    HDC dc() const { return dc_.get(); }
    COLORREF At(int x, int y) const {
        GdiFlush();
        DWORD v = bits_[y * width_ + x];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    int Count(const RECT& r, COLORREF color) const {
        int n = 0;
        for (int y = std::max<LONG>(r.top, 0); y < std::min<LONG>(r.bottom, height_); ++y)
            for (int x = std::max<LONG>(r.left, 0); x < std::min<LONG>(r.right, width_); ++x) n += At(x, y) == color;
        return n;
    }
    int PaintedIn(const RECT& r) const {
        RECT inside;
        RECT all = {0, 0, width_, height_};
        if (!IntersectRect(&inside, &r, &all)) return 0;
        return (inside.right - inside.left) * (inside.bottom - inside.top) - Count(inside, kUnpainted);
    }
    int Painted() const { return PaintedIn({0, 0, width_, height_}); }

private:
    UniqueMemoryDc dc_;
    UniqueBitmap bitmap_;
    std::optional<SelectGuard> select_;
    DWORD* bits_ = nullptr;
    int width_ = 0, height_ = 0;
};

RECT RowRect(HWND list, int row) {
    RECT rect = {};
    ListView_GetItemRect(list, row, &rect, LVIR_BOUNDS);
    return rect;
}

void Draw(FileListView& view, HWND list, const Canvas& canvas, int row, UINT action, UINT state) {
    DRAWITEMSTRUCT item = {ODT_LISTVIEW, kListControl, static_cast<UINT>(row), action, state, list,
                           canvas.dc(), RowRect(list, row), 0};
    view.DrawRow(item);
}

TEST_F(ListTest, RowsAreStripedSelectedAndThePlayingFileStandsOut) {
    UseSkinColors();
    EXPECT_EQ(ListView_GetBkColor(list), listcolors::kBackground);
    EXPECT_EQ(ListView_GetTextColor(list), listcolors::kText);
    model.options.stripeShade = 150;
    SetRows({L"First", L"Second", L"Third", L"Fourth"});
    model.playing = L"c:\\MUSIC\\2.mp3";  // the second row, in other letters

    Canvas canvas(list);
    for (int row = 0; row < 4; ++row) Draw(*view, list, canvas, row, ODA_DRAWENTIRE, row == 2 ? ODS_SELECTED : 0);
    const COLORREF striped = StripeShade(listcolors::kBackground, 150);
    const COLORREF expectedFill[] = {striped, listcolors::kBackground, listcolors::kSelection,
                                     listcolors::kBackground};
    for (int row = 0; row < 4; ++row) {
        RECT r = RowRect(list, row);
        EXPECT_EQ(canvas.At(r.left + 1, r.top), expectedFill[row]) << "row " << row;
        bool playing = row == 1;
        EXPECT_EQ(canvas.Count(r, listcolors::kPlayingText) > 0, playing) << "row " << row;
        EXPECT_EQ(canvas.Count(r, listcolors::kText) > 0, !playing) << "row " << row;
    }
    RECT rows = {0, RowRect(list, 0).top, 10000, RowRect(list, 3).bottom};
    EXPECT_EQ(canvas.Painted(), canvas.PaintedIn(rows)) << "nothing outside the rows";

    Canvas untouched(list);
    Draw(*view, list, untouched, 0, ODA_FOCUS, ODS_FOCUS);
    EXPECT_EQ(untouched.Painted(), 0) << "a focus change alone draws nothing";
}

TEST_F(ListTest, NumbersSitAtTheRightOfTheirCells) {
    UseSkinColors();
    for (int i = 0; i < 15; ++i) ListView_SetColumnWidth(list, i, i == 1 || i == 7 ? 100 : 30);
    SetRows({L"Song"});
    model.rows->rows[0]->year = 1999;
    Canvas canvas(list);
    Draw(*view, list, canvas, 0, ODA_DRAWENTIRE, 0);
    RECT year = {}, title = {};
    ListView_GetSubItemRect(list, 0, 7, LVIR_LABEL, &year);
    ListView_GetSubItemRect(list, 0, 1, LVIR_LABEL, &title);
    auto half = [](RECT r, bool right) {
        int middle = (r.left + r.right) / 2;
        return right ? RECT{middle, r.top, r.right, r.bottom} : RECT{r.left, r.top, middle, r.bottom};
    };
    EXPECT_GT(canvas.Count(half(year, true), listcolors::kText), 0);
    EXPECT_EQ(canvas.Count(half(year, false), listcolors::kText), 0);
    EXPECT_GT(canvas.Count(half(title, false), listcolors::kText), 0);
    EXPECT_EQ(canvas.Count(half(title, true), listcolors::kText), 0);
}

TEST_F(ListTest, EmptyListShowsItsStatusBelowTheHeader) {
    UseSkinColors();
    Command(kCmdSetListStatus, kListStatusNoFiles);
    RECT header;
    GetWindowRect(ListView_GetHeader(list), &header);
    int headerHeight = header.bottom - header.top;

    Canvas canvas(list);
    SendMessageW(list, WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc()), 0);
    RECT client;
    GetClientRect(list, &client);
    EXPECT_EQ(canvas.Count(client, Canvas::kUnpainted), 0) << "the whole client area is filled";
    EXPECT_EQ(canvas.At(client.right - 1, client.bottom - 1), listcolors::kBackground);
    EXPECT_GT(canvas.Count({10, headerHeight + 10, client.right, headerHeight + 40}, listcolors::kText), 0);
    EXPECT_EQ(canvas.Count({0, 0, client.right, headerHeight + 10}, listcolors::kText), 0);
    EXPECT_EQ(canvas.Count({0, 0, 10, client.bottom}, listcolors::kText), 0);

    // On screen too: the control's own painting must not wipe it out again.
    RedrawWindow(list, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    HDC screen = GetDC(list);
    int shown = 0;
    for (int y = headerHeight + 10; y < headerHeight + 40; ++y)
        for (int x = 10; x < 200; ++x) shown += GetPixel(screen, x, y) == listcolors::kText;
    ReleaseDC(list, screen);
    EXPECT_GT(shown, 0);

    SetRows({L"a"});
    Canvas withRows(list);
    SendMessageW(list, WM_ERASEBKGND, reinterpret_cast<WPARAM>(withRows.dc()), 0);
    EXPECT_EQ(withRows.Count(client, listcolors::kText), 0) << "a list with rows shows no status";
}

TEST_F(ListTest, HeaderIsDrawnInSkinColoursWithTheSortMark) {
    UseSkinColors();
    for (int i = 0; i < 15; ++i) ListView_SetColumnWidth(list, i, i == 1 || i == 2 ? 80 : 30);
    model.defaultKey = -2;
    HWND header = ListView_GetHeader(list);
    RedrawWindow(header, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RECT client, artist, title;
    GetClientRect(header, &client);
    Header_GetItemRect(header, 2, &artist);
    Header_GetItemRect(header, 1, &title);
    HDC dc = GetDC(header);
    auto count = [&](const RECT& r, COLORREF color) {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += GetPixel(dc, x, y) == color;
        return n;
    };
    EXPECT_GT(count(artist, listcolors::kHeaderBackground), 0);
    EXPECT_GT(count(artist, listcolors::kHeaderText), 0) << "caption";
    RECT free = {2 * 80 + 13 * 30, 0, client.right, client.bottom};
    EXPECT_EQ(count(free, listcolors::kHeaderEmpty), (free.right - free.left) * (free.bottom - free.top));
    // The mark sits in the right part of the sorted column only, drawn in the edge shades.
    RECT artistMark = {artist.right - 40, artist.top + 2, artist.right - 3, artist.bottom - 2};
    RECT titleMark = {title.right - 40, title.top + 2, title.right - 3, title.bottom - 2};
    EXPECT_GT(count(artistMark, RGB(200, 200, 200)) + count(artistMark, RGB(20, 20, 20)), 0);
    EXPECT_EQ(count(titleMark, RGB(200, 200, 200)) + count(titleMark, RGB(20, 20, 20)), 0);
    ReleaseDC(header, dc);
}

TEST_F(ListTest, RowsTakeTheHeightOfTheCustomFont) {
    MEASUREITEMSTRUCT measure = {ODT_LISTVIEW, kListControl, 0, 0, 0, 0};
    view->MeasureRow(measure);
    EXPECT_EQ(measure.itemHeight, 16u) << "without a custom font";

    UniqueFont font(CreateFontW(30, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial"));
    view->SetFont(font.get());
    SetRows({L"a", L"b"});
    RECT row = RowRect(list, 0);
    EXPECT_GE(row.bottom - row.top, 30);
    view->SetFont(nullptr);
    CloseList();  // before the font goes
}

// GDI and USER objects of this process. Wine answers 0 to GetGuiResources; there the GDI
// objects are counted by asking the type of every handle slot and the USER ones as windows.
struct GuiCounts {
    DWORD gdi = 0, user = 0;
};

BOOL CALLBACK CountWindow(HWND window, LPARAM count) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId()) {
        ++*reinterpret_cast<DWORD*>(count);
        EnumChildWindows(window, CountWindow, count);
    }
    return TRUE;
}

GuiCounts CountGuiObjects() {
    GuiCounts counts = {GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
                        GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)};
    if (counts.gdi || counts.user) return counts;
    for (UINT_PTR slot = 0x20; slot < 0x10000; ++slot)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(slot))) ++counts.gdi;
    EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&counts.user));
    return counts;
}

TEST(ListResourcesTest, NothingIsLeftBehindAfterTheListIsGone) {
    auto lifetime = [] {
        class Run : public ListTest {
        public:
            void TestBody() override {}
            void Go() {
                SetUp();
                UseSkinColors();
                model.options.stripeShade = 150;
                SetRows({L"b", L"a", L"c"});
                ListView_SetItemState(list, 1, LVIS_SELECTED, LVIS_SELECTED);
                UpdateWindow(host);
                view->OnColumnClick(1);
                Command(kCmdRunMenuCommand, MAKELPARAM(kMenuToggleColumn, 2));
                RedrawWindow(host, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
                ListView_SetItemCountEx(list, 0, 0);
                RedrawWindow(list, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW);
                Pump();
                TearDown();
            }
        } run;
        run.Go();
    };
    lifetime();  // the first run loads what stays loaded: classes, fonts, the controls
    GuiCounts before = CountGuiObjects();
    lifetime();
    Pump();
    GuiCounts after = CountGuiObjects();
    EXPECT_GT(before.gdi, 0u);
    EXPECT_EQ(after.gdi, before.gdi);
    EXPECT_EQ(after.user, before.user);
}

}  // namespace
