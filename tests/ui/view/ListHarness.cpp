// The list tests' windows, fake view model and helpers.
#include "ListHarness.h"

#include "ui/framework/Messages.h"
#include "ui/framework/WindowRegistry.h"
#include "ui/view/CommandCodes.h"

namespace {

FileListView* current = nullptr;
WNDPROC controlProc = nullptr;

// What the view does for its list: text requests, header clicks and drawing go to the list
// object, and the double-click comes back to the list.
LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (current) {
        if (message == WM_NOTIFY) {
            auto* header = reinterpret_cast<NMHDR*>(lp);
            if (header->idFrom == kListControl) {
                if (header->code == LVN_GETDISPINFOW) {
                    current->OnGetDispInfo(*reinterpret_cast<NMLVDISPINFOW*>(lp));
                    return 0;
                }
                if (header->code == LVN_COLUMNCLICK) {
                    current->OnColumnClick(reinterpret_cast<NMLISTVIEW*>(lp)->iSubItem);
                    return 0;
                }
                if (header->code == static_cast<UINT>(NM_DBLCLK))
                    return SendMessageW(header->hwndFrom, WM_NOTIFY, wp, lp);
            }
        }
        if (message == WM_DRAWITEM && wp == kListControl) {
            current->DrawRow(*reinterpret_cast<DRAWITEMSTRUCT*>(lp));
            return TRUE;
        }
        if (message == WM_MEASUREITEM && wp == kListControl) {
            current->MeasureRow(*reinterpret_cast<MEASUREITEMSTRUCT*>(lp));
            return TRUE;
        }
    }
    return DefWindowProcW(window, message, wp, lp);
}

// Sits under the list object, so it sees only what the object lets through to the control.
LRESULT CALLBACK CharSpyProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (message == WM_CHAR) ListTest::controlChars.push_back(static_cast<wchar_t>(wp));
    return CallWindowProcW(controlProc, window, message, wp, lp);
}

LRESULT CALLBACK ViewRecorderProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (message == kCommandMessage) {
        ListTest::viewSaw.push_back(wp);
        return 0;
    }
    if (message == WM_SETCURSOR) ListTest::viewSaw.push_back(WM_SETCURSOR);
    return DefWindowProcW(window, message, wp, lp);
}

void RegisterClasses() {
    static bool done = [] {
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &HostProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"CvListTestHost";
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        bool host = RegisterClassW(&wc) != 0;
        wc.lpfnWndProc = &ViewRecorderProc;
        wc.lpszClassName = L"CvListTestView";
        return host && RegisterClassW(&wc) != 0;
    }();
    ASSERT_TRUE(done);
}

// A skin colour bitmap: entry i is the pixel at x = 48 + 2i of the first line.
UniqueBitmap SkinBitmap() {
    const std::pair<int, COLORREF> entries[] = {
        {0, listcolors::kBackground},        {1, listcolors::kText},
        {7, listcolors::kHeaderBackground},  {8, listcolors::kHeaderText},
        {9, RGB(200, 200, 200)},             {10, RGB(20, 20, 20)},
        {12, listcolors::kHeaderEmpty},      {18, listcolors::kPlayingText},
        {19, listcolors::kSelection},
    };
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 120, -1, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    {
        SelectGuard select(dc.get(), bitmap.get());
        for (int x = 0; x < 120; ++x) SetPixel(dc.get(), x, 0, RGB(1, 2, 3));  // the reference colour
        for (const auto& [index, color] : entries) SetPixel(dc.get(), 48 + 2 * index, 0, color);
    }
    return bitmap;
}

// Every test's window lives in this one: destroying a visible top-level window makes Wine wait
// for a window manager that Xvfb does not have, two seconds each time.
HWND Stage() {
    static HWND stage = CreateWindowW(L"CvListTestHost", L"list tests", WS_POPUP | WS_VISIBLE, 0, 0, 720, 420,
                                      nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    return stage;
}

}  // namespace

std::vector<WPARAM> ListTest::viewSaw;
std::vector<wchar_t> ListTest::controlChars;

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

Ref<FileRecord> FakeListModel::RowAt(int index) {
    if (!rows || index < 0 || index >= static_cast<int>(rows->rows.size())) return {};
    return rows->rows[static_cast<size_t>(index)];
}

void FakeListModel::SortRows(const Ref<RowList>& list) {
    ++sorts;
    int flags = (options.skipLeadingThe ? kSortSkipLeadingThe : 0) |
                (options.skipLeadingSpaces ? kSortSkipLeadingSpaces : 0);
    SortRowList(*list, list->sortKey ? list->sortKey : defaultKey, flags);
}

void ListTest::SetUp() {
    RegisterClasses();
    viewSaw.clear();
    controlChars.clear();
    model.options.stripeShade = 100;
    viewWindow = CreateWindowW(L"CvListTestView", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    RegisterWindow(kMainViewWindowId, viewWindow);
    CreateList();
}

void ListTest::TearDown() {
    CloseList();
    view.Reset();
    RegisterWindow(kMainViewWindowId, nullptr);
    if (viewWindow) DestroyWindow(viewWindow);
    viewWindow = nullptr;
}

void ListTest::CreateList() {
    host = CreateWindowW(L"CvListTestHost", L"list", WS_CHILD | WS_VISIBLE, 0, 0, 700, 400, Stage(), nullptr,
                         GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(host, nullptr);
    list = CreateWindowExW(0, WC_LISTVIEWW, L"",
                           WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA | LVS_OWNERDRAWFIXED | LVS_SHOWSELALWAYS,
                           0, 0, 680, 360, host, reinterpret_cast<HMENU>(kListControl), GetModuleHandleW(nullptr),
                           nullptr);
    ASSERT_NE(list, nullptr);
    controlProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CharSpyProc)));
    view = Ref<FileListView>::Adopt(
        new FileListView(list, model, settings, reinterpret_cast<HINSTANCE>(context.module())));
    current = view.get();
}

void ListTest::CloseList() {
    if (view && view->Window()) SendMessageW(list, WM_CLOSE, 0, 0);
    current = nullptr;
    if (host && IsWindow(host)) DestroyWindow(host);
    host = list = nullptr;
}

void ListTest::UseSkinColors() {
    model.colors.ReadFrom(SkinBitmap());
    view->ApplyColors();
}

void ListTest::SetRows(const std::vector<std::wstring>& titles) {
    model.rows = Ref<RowList>::Make();
    int n = 0;
    for (const std::wstring& title : titles) {
        auto record = Ref<FileRecord>::Make(L"C:\\Music\\" + std::to_wstring(++n) + L".mp3");
        TagTexts tags;
        tags[static_cast<int>(TagField::kTitle)] = title;
        record->SetTags(tags);
        record->tagged = true;
        model.rows->rows.push_back(record);
    }
    ListView_SetItemCountEx(list, static_cast<int>(titles.size()), 0);
}

std::vector<std::wstring> ListTest::RowTitles() const {
    std::vector<std::wstring> titles;
    for (const auto& row : model.rows->rows) titles.push_back(row->TagOrEmpty(TagField::kTitle));
    return titles;
}

std::wstring ListTest::IniValue(const wchar_t* section, const wchar_t* key) const {
    wchar_t value[512] = {};
    GetPrivateProfileStringW(section, key, L"(absent)", value, 512, settings.Path().c_str());
    return value;
}

void ListTest::WriteIni(const wchar_t* section, const wchar_t* key, const wchar_t* value) const {
    WritePrivateProfileStringW(section, key, value, settings.Path().c_str());
}

LRESULT ListTest::Command(WPARAM code, LPARAM argument) const {
    return SendMessageW(list, kCommandMessage, code, argument);
}
