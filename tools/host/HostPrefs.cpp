// The preferences window: a list of pages on the left, the selected page on the right. The
// host's own "General" page is a plain text; a plugin page is the plugin's dialog, created
// from the record's module and dialog id with the record's procedure as a child, the way the
// player shows it.
#include "HostPrefs.h"

#include <string>
#include <vector>

#include "HostApp.h"
#include "HostOutput.h"
#include "PlayerInterface.h"
#include "base/Text.h"

namespace {

constexpr wchar_t kPrefsClass[] = L"CvHostPrefs";
constexpr int kPageListId = 100;
constexpr int kHostPageId = 101;
constexpr int kPageLeft = 150, kPageTop = 8;

// A registered page: the plugin's record, and what the host noted of it when it came, so that
// a page left behind can be named without reading a record its plugin may have freed.
struct Page {
    standin::PrefsPage* record;
    HINSTANCE instance;
    std::wstring name;
};

std::vector<Page> pages;
HWND prefsWindow;
HWND pageWindow;

HWND PageList() { return GetDlgItem(prefsWindow, kPageListId); }

void ShowPage(int index) {
    if (pageWindow) DestroyWindow(pageWindow);
    pageWindow = nullptr;
    SendMessageW(PageList(), LB_SETCURSEL, index, 0);
    if (index <= 0 || index > static_cast<int>(pages.size())) {
        pageWindow = CreateWindowW(L"STATIC", L"Stand-in player preferences. Plugin pages are listed on the left.",
                                   WS_CHILD | WS_VISIBLE, kPageLeft, kPageTop, 320, 40, prefsWindow,
                                   reinterpret_cast<HMENU>(kHostPageId), Host().instance, nullptr);
        return;
    }
    const standin::PrefsPage* page = pages[index - 1].record;
    pageWindow = CreateDialogParamW(page->instance, MAKEINTRESOURCEW(page->dialogId), prefsWindow,
                                    page->dialogProc, 0);
    if (pageWindow) {
        SetWindowPos(pageWindow, nullptr, kPageLeft, kPageTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ShowWindow(pageWindow, SW_SHOW);
    }
}

void FillPageList() {
    SendMessageW(PageList(), LB_RESETCONTENT, 0, 0);
    SendMessageW(PageList(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"General"));
    for (const Page& page : pages)
        SendMessageW(PageList(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(page.name.c_str()));
}

LRESULT CALLBACK PrefsProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    switch (message) {
        case WM_CREATE:
            CreateWindowW(L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | LBS_NOTIFY, 8, 8, 132, 360,
                          window, reinterpret_cast<HMENU>(kPageListId), Host().instance, nullptr);
            return 0;
        case WM_COMMAND:
            if (LOWORD(wp) == kPageListId && HIWORD(wp) == LBN_SELCHANGE)
                ShowPage(static_cast<int>(SendMessageW(PageList(), LB_GETCURSEL, 0, 0)));
            return 0;
        case WM_CLOSE:
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            pageWindow = nullptr;
            prefsWindow = nullptr;
            return 0;
    }
    return DefWindowProcW(window, message, wp, lp);
}

int PageIndex(const void* record) {
    for (size_t i = 0; i < pages.size(); ++i)
        if (pages[i].record == record) return static_cast<int>(i) + 1;
    return 0;
}

}  // namespace

HWND PrefsWindow() { return prefsWindow; }

void OpenPrefs(const void* page) {
    if (!prefsWindow) {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = PrefsProc;
        wc.hInstance = Host().instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kPrefsClass;
        RegisterClassW(&wc);
        prefsWindow = CreateWindowExW(WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME, kPrefsClass, L"Preferences",
                                      WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 120, 80, 640, 420,
                                      Host().mainWindow, nullptr, Host().instance, nullptr);
        FillPageList();
    }
    ShowPage(PageIndex(page));
    ShowWindow(prefsWindow, SW_SHOW);
    SetForegroundWindow(prefsWindow);
}

void ClosePrefs() {
    if (prefsWindow) DestroyWindow(prefsWindow);
}

LRESULT OnRegisterPrefsPage(WPARAM wp) {
    auto* page = reinterpret_cast<standin::PrefsPage*>(wp);
    if (!page) return 0;
    if (!PageIndex(page)) pages.push_back({page, page->instance, page->name ? Utf8ToWide(page->name) : L"(plugin)"});
    // The two words the host owns: the page's place in the list and a marker that it is shown.
    page->playerWords[0] = PageIndex(page);
    if (prefsWindow) FillPageList();
    return 1;
}

LRESULT OnOpenPrefs(WPARAM wp) {
    OpenPrefs(reinterpret_cast<const void*>(wp));
    return 1;
}

// The page goes from the list at once; one on show is replaced by the host's own page.
LRESULT OnUnregisterPrefsPage(WPARAM wp) {
    int index = PageIndex(reinterpret_cast<const void*>(wp));
    if (!index) return 0;
    int selected = prefsWindow ? static_cast<int>(SendMessageW(PageList(), LB_GETCURSEL, 0, 0)) : 0;
    pages.erase(pages.begin() + (index - 1));
    if (!prefsWindow) return 1;
    FillPageList();
    if (selected == index) ShowPage(0);
    else SendMessageW(PageList(), LB_SETCURSEL, selected > index ? selected - 1 : selected, 0);
    return 1;
}

bool ReportPrefsPagesLeft(HMODULE plugin) {
    bool clean = true;
    for (auto page = pages.begin(); page != pages.end();) {
        if (page->instance != plugin) {
            ++page;
            continue;
        }
        ReportPluginFault(L"host: preferences page \"" + page->name + L"\" still registered after quit");
        clean = false;
        page = pages.erase(page);
    }
    return clean;
}
