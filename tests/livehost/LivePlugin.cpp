// The in-process plugin fixture.
#include "livehost/LivePlugin.h"

#include <commctrl.h>

#include <atomic>
#include <iterator>

#include "bus/CommandCodes.h"
#include "bus/Messages.h"
#include "bus/WindowRegistry.h"
#include "db/CacheDatabase.h"
#include "db/roots/RootRows.h"
#include "db/TreeNode.h"
#include "livehost/ShutdownChecks.h"
#include "scan/AbortScan.h"
#include "settings/PluginContext.h"
#include "support/QueryNumber.h"

void LivePluginTest::SetUp() {
    // The registry keeps the last handle set; a window of the previous test is gone.
    for (int id : {kTreeWindowId, kListWindowId, kHostWindowId, kPlaylistEditorWindowId, kMainViewWindowId,
                   kFrameWindowId})
        RegisterWindow(id, nullptr);
    // Each test's plugin is a life of its own; the last test's close raised the flag for good.
    LowerAbortScan();
    ResetFake();
    host = CreateFakeHostWindow();
    AppendMenuW(Fake().mainMenu, MF_STRING, kHostMenuAnchorCommand, L"Library");
    AppendMenuW(Fake().mainMenu, MF_STRING, 40259, L"Exit");
    AppendMenuW(Fake().secondMenu, MF_STRING, 0, L"Zero");
    record = ThePluginRecord();
    record->hostWindow = host;
    record->instance = reinterpret_cast<HINSTANCE>(context.module());
}

void LivePluginTest::TearDown() {
    if (started && !quit) CloseAndQuit();
    DestroyFakeHost();
    Pump();
}

long long LivePluginTest::StoreFolderRoot(const std::wstring& path) {
    CacheDatabase database(CacheFolder());
    database.CreateSchema();
    std::wstring withSlash = path.empty() || path.back() == L'\\' ? path : path + L"\\";
    return InsertRootRow(database, 1, true, withSlash, std::nullopt);
}

void LivePluginTest::AddLibraryFile(const std::wstring& relative, const std::map<std::wstring, std::wstring>& tags) {
    CreateDirectoryW(Library().c_str(), nullptr);
    for (size_t slash = relative.find(L'\\'); slash != std::wstring::npos; slash = relative.find(L'\\', slash + 1))
        CreateDirectoryW(Library(relative.substr(0, slash)).c_str(), nullptr);
    WriteBytes(Library(relative), "x");
    if (!tags.empty()) Fake().tags[relative.substr(relative.rfind(L'\\') + 1)] = tags;
}

long long LivePluginTest::StorePlaylistRoot(const std::wstring& path) {
    CacheDatabase database(CacheFolder());
    database.CreateSchema();
    return InsertRootRow(database, 2, true, path, std::nullopt);
}

namespace {

// Counts the listings and row-tag notices the view takes in, as the thread's message loop
// hands them out: the first can arrive before a test gets hold of the view's window.
HHOOK listingHook = nullptr;
int listingsShown = 0;
constexpr WPARAM kFirstCountedCode = 1000;
std::atomic<int> commandsReceived[200];

LRESULT CALLBACK CountListings(int code, WPARAM removal, LPARAM lp) {
    auto* message = reinterpret_cast<MSG*>(lp);
    if (code == HC_ACTION && removal == PM_REMOVE && message->message == kCommandMessage) {
        if (message->wParam == kCmdListingReady) ++listingsShown;
        if (message->wParam >= kFirstCountedCode && message->wParam - kFirstCountedCode < std::size(commandsReceived))
            ++commandsReceived[message->wParam - kFirstCountedCode];
    }
    return CallNextHookEx(listingHook, code, removal, lp);
}

void StopCountingListings() {
    if (listingHook) UnhookWindowsHookEx(listingHook);
    listingHook = nullptr;
}

}  // namespace

int LivePluginTest::RowNotices() const { return CommandsReceived(kCmdRowTagsRead); }

void LivePluginTest::ClickHeader(int column) const {
    NMLISTVIEW click = {};
    click.hdr.hwndFrom = List();
    click.hdr.idFrom = kListControl;
    click.hdr.code = LVN_COLUMNCLICK;
    click.iItem = -1;
    click.iSubItem = column;
    SendMessageW(View(), WM_NOTIFY, kListControl, reinterpret_cast<LPARAM>(&click));
}

void LivePluginTest::StartPlugin() {
    listingsShown = 0;
    for (std::atomic<int>& count : commandsReceived) count = 0;
    if (!listingHook) listingHook = SetWindowsHookExW(WH_GETMESSAGE, &CountListings, nullptr, GetCurrentThreadId());
    ASSERT_EQ(record->init(), 0);
    started = true;
    ASSERT_TRUE(PumpUntil([] { return GetWindow(kMainViewWindowId) != nullptr; }, 20000));
    ASSERT_TRUE(WaitForListing(0, 30000)) << "the first listing after start-up";
}

int LivePluginTest::Listings() const { return listingsShown; }

int LivePluginTest::CommandsReceived(WPARAM code) {
    if (code < kFirstCountedCode || code - kFirstCountedCode >= std::size(commandsReceived)) return 0;
    return commandsReceived[code - kFirstCountedCode];
}

void LivePluginTest::CloseAndQuit() {
    StopCountingListings();
    SendMessageW(host, WM_CLOSE, 0, 0);
    Pump();
    record->quit();
    quit = true;
}

DWORD LivePluginTest::CloseAndQuitAtOnce(bool withClose) {
    StopCountingListings();
    DWORD start = GetTickCount();
    {
        HangGuard guard(withClose ? "close and Quit" : "Quit", 60000);
        if (withClose) SendMessageW(host, WM_CLOSE, 0, 0);
        record->quit();
        quit = true;
    }
    return GetTickCount() - start;
}

void LivePluginTest::BeginNextLife() {
    TearDown();
    SetUp();
    started = quit = false;
    PluginContext::CreateWithDocuments(reinterpret_cast<HINSTANCE>(context.module()), folder.File(L"docs"));
}

long long LivePluginTest::CountInCache(const wchar_t* sql) const {
    CacheDatabase database(CacheFolder());
    return QueryNumber(database, sql);
}

HWND LivePluginTest::View() const { return GetWindow(kMainViewWindowId); }
HWND LivePluginTest::Tree() const { return GetDlgItem(View(), kTreeControl); }
HWND LivePluginTest::List() const { return GetDlgItem(View(), kListControl); }
HWND LivePluginTest::Search() const { return GetDlgItem(View(), kSearchControl); }
int LivePluginTest::ListCount() const { return ListView_GetItemCount(List()); }

LRESULT LivePluginTest::Command(WPARAM code, LPARAM argument) const {
    return SendMessageW(View(), kCommandMessage, code, argument);
}

void LivePluginTest::PostCommand(WPARAM code, LPARAM argument) const {
    PostMessageW(View(), kCommandMessage, code, argument);
}

namespace {

// Items carry their tree node in the item data; the node's path is what a test names.
HTREEITEM FindItem(HWND tree, HTREEITEM from, const std::wstring& path) {
    for (HTREEITEM item = from; item; item = TreeView_GetNextSibling(tree, item)) {
        TVITEMW info = {};
        info.mask = TVIF_PARAM;
        info.hItem = item;
        TreeView_GetItem(tree, &info);
        auto* node = reinterpret_cast<TreeNode*>(info.lParam);
        if (node && CompareStringOrdinal(node->path.c_str(), -1, path.c_str(), -1, TRUE) == CSTR_EQUAL) return item;
        if (HTREEITEM found = FindItem(tree, TreeView_GetChild(tree, item), path)) return found;
    }
    return nullptr;
}

}  // namespace

HTREEITEM LivePluginTest::ItemOf(const std::wstring& path) const {
    return path.empty() ? TreeView_GetRoot(Tree()) : FindItem(Tree(), TreeView_GetRoot(Tree()), path);
}

Ref<Root> LivePluginTest::RootOf(const std::wstring& path) const {
    TVITEMW info = {};
    info.mask = TVIF_PARAM;
    info.hItem = ItemOf(path);
    if (!info.hItem || !TreeView_GetItem(Tree(), &info)) return {};
    auto* node = reinterpret_cast<TreeNode*>(info.lParam);
    return Ref<Root>(node ? node->root : nullptr);
}

bool LivePluginTest::SelectAndWaitForListing(const std::wstring& path) {
    HTREEITEM target = ItemOf(path);
    if (!target) return false;
    int before = Listings();
    TreeView_SelectItem(Tree(), target);
    return WaitForListing(before);
}

bool LivePluginTest::WaitForListing(int shownBefore, DWORD timeoutMs) {
    // Pump() hands out a message and lets the view handle it before the count is read again.
    return PumpUntil([shownBefore] { return listingsShown > shownBefore; }, timeoutMs);
}

std::vector<std::wstring> LivePluginTest::ColumnTexts(int column) const {
    std::vector<std::wstring> texts;
    int count = ListCount();
    for (int row = 0; row < count; ++row) {
        wchar_t text[MAX_PATH] = {};
        ListView_GetItemText(List(), row, column, text, MAX_PATH);
        texts.push_back(text);
    }
    return texts;
}

std::wstring LivePluginTest::StatusText() const {
    wchar_t text[256] = {};
    GetDlgItemTextW(View(), kStatusLine, text, 256);
    return text;
}
