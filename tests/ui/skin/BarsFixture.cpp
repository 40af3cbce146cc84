// The windows and the test skin of the skinned-bar tests.
#include "BarsFixture.h"

#include "base/Gdi.h"

namespace bars_test {

namespace {

constexpr wchar_t kOwnerClass[] = L"CvBarsTestOwner";

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    auto* state = reinterpret_cast<OwnerState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NOTIFY && state) {
        auto* header = reinterpret_cast<NMHDR*>(lp);
        if (header->code == skinbars::kDrawRequestCode) {
            const auto& request = *reinterpret_cast<skinbars::DrawRequest*>(lp);
            ++state->drawRequests;
            if (state->lastRequests.size() < 64) state->lastRequests.push_back(request);
            return state->painter ? state->painter->Answer(request) : 0;
        }
        if (header->code == LVN_GETDISPINFOW) {
            auto* info = reinterpret_cast<NMLVDISPINFOW*>(lp);
            if (info->item.mask & LVIF_TEXT) wsprintfW(info->item.pszText, L"Row %d", info->item.iItem);
            return 0;
        }
    }
    return DefWindowProcW(window, message, wp, lp);
}

COLORREF Distinct(int k) { return RGB(20 + (k * 37) % 200, 30 + (k * 53) % 200, 40 + (k * 71) % 200); }

struct PieceRect {
    int x, y, w, h;
};

const PieceRect kPieceRects[2][2][7] = {
    {{{0, 45, 14, 14}, {14, 45, 14, 14}, {84, 31, 4, 14}, {88, 31, 5, 14}, {93, 31, 10, 14}, {103, 31, 5, 14}, {108, 31, 4, 14}},
     {{28, 45, 14, 14}, {42, 45, 14, 14}, {84, 45, 4, 14}, {88, 45, 5, 14}, {93, 45, 10, 14}, {103, 45, 5, 14}, {108, 45, 4, 14}}},
    {{{0, 31, 14, 14}, {14, 31, 14, 14}, {56, 31, 14, 4}, {56, 35, 14, 5}, {56, 40, 14, 10}, {56, 50, 14, 5}, {56, 55, 14, 4}},
     {{28, 31, 14, 14}, {42, 31, 14, 14}, {70, 31, 14, 4}, {70, 35, 14, 5}, {70, 40, 14, 10}, {70, 50, 14, 5}, {70, 55, 14, 4}}},
};

}  // namespace

COLORREF PieceColour(int bar, bool pressed, int piece) { return Distinct(bar * 14 + (pressed ? 7 : 0) + piece + 1); }

COLORREF EntryColour(int index) { return RGB(index * 12, 250 - index * 9, 100 + index * 5); }

HBITMAP MakeTestSkin() {
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 120, 60, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    SelectGuard select(dc.get(), bitmap);
    RECT all = {0, 0, 120, 60};
    UniqueBrush back(CreateSolidBrush(RGB(1, 2, 3)));
    FillRect(dc.get(), &all, back.get());
    SetPixel(dc.get(), 111, 0, RGB(255, 0, 255));
    for (int i = 0; i < 22; ++i) SetPixel(dc.get(), 48 + 2 * i, 0, EntryColour(i));
    for (int bar = 0; bar < 2; ++bar)
        for (int pressed = 0; pressed < 2; ++pressed)
            for (int piece = 0; piece < 7; ++piece) {
                const PieceRect& p = kPieceRects[bar][pressed][piece];
                RECT r = {p.x, p.y, p.x + p.w, p.y + p.h};
                UniqueBrush brush(CreateSolidBrush(PieceColour(bar, pressed != 0, piece)));
                FillRect(dc.get(), &r, brush.get());
            }
    return bitmap;
}

HWND CreateOwner(OwnerState& state, int x, int y, int width, int height) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = OwnerProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kOwnerClass;
        wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        RegisterClassW(&wc);
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        registered = true;
    }
    HWND owner = CreateWindowExW(WS_EX_TOPMOST, kOwnerClass, L"bars", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, x, y,
                                 width, height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(owner, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
    return owner;
}

HWND CreateRowList(HWND owner, int id, int x, int y, int width, int height, int rows) {
    HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"",
                                WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_OWNERDATA | LVS_NOSORTHEADER, x, y,
                                width, height, owner, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                GetModuleHandleW(nullptr), nullptr);
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = width * 2;  // wider than the list: a horizontal bar too
    column.pszText = const_cast<wchar_t*>(L"Title");
    ListView_InsertColumn(list, 0, &column);
    ListView_SetItemCountEx(list, rows, 0);
    return list;
}

HWND CreateTree(HWND owner, int id, int x, int y, int width, int height, int items) {
    HWND tree = CreateWindowExW(0, WC_TREEVIEWW, L"", WS_CHILD | WS_VISIBLE | WS_BORDER | TVS_NOHSCROLL, x, y,
                                width, height, owner, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                GetModuleHandleW(nullptr), nullptr);
    for (int i = 0; i < items; ++i) {
        wchar_t text[32];
        wsprintfW(text, L"Item %d", i);
        TVINSERTSTRUCTW insert = {};
        insert.hParent = TVI_ROOT;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT;
        insert.item.pszText = text;
        TreeView_InsertItem(tree, &insert);
    }
    return tree;
}

void Pump(DWORD ms) {
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (ms) Sleep(5);
    } while (GetTickCount() - start < ms);
}

int TopRow(HWND list) { return ListView_GetTopIndex(list); }

COLORREF PixelOf(HWND window, int x, int y) {
    HDC dc = GetWindowDC(window);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

}  // namespace bars_test
