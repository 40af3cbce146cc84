// The view's context menus through the real view and the system's own menu loop: which menu a
// right-click or the menu key opens where, what it lists, and what choosing an item does.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <atomic>
#include <thread>

#include "livehost/LivePlugin.h"
#include "settings/PluginContext.h"
#include "support/TempFolder.h"
#include "ui/view/live/MenuDriver.h"
#include "ui/view/ViewCommandCodes.h"

namespace {

std::vector<UINT> IdsOf(const std::vector<SeenMenuItem>& items) {
    std::vector<UINT> ids;
    for (const SeenMenuItem& item : items) ids.push_back(item.separator ? 0 : item.id);
    return ids;
}

std::vector<std::wstring> CaptionsOf(const std::vector<SeenMenuItem>& items) {
    std::vector<std::wstring> captions;
    for (const SeenMenuItem& item : items) captions.push_back(item.separator ? L"---" : item.caption);
    return captions;
}

class LiveContextMenuTest : public LivePluginTest {
protected:
    void StartWithFolder(const std::wstring& settings = L"") {
        AddLibraryFile(L"a.mp3", {{L"title", L"A"}});
        AddLibraryFile(L"b.mp3", {{L"title", L"B"}});
        AddLibraryFile(L"c.mp3", {{L"title", L"C"}});
        if (!settings.empty()) WriteBytes(SettingsPath(), std::string(settings.begin(), settings.end()));
        StoreFolderRoot(Library());
        StartPlugin();
        ASSERT_TRUE(SelectAndWaitForListing(Library()));
        ASSERT_EQ(ListCount(), 3);
    }

    void SelectRows(std::initializer_list<int> rows) {
        SetFocus(List());
        ListView_SetItemState(List(), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        for (int row : rows) ListView_SetItemState(List(), row, LVIS_SELECTED, LVIS_SELECTED);
        ListView_SetItemState(List(), *rows.begin(), LVIS_FOCUSED, LVIS_FOCUSED);
    }

    // What the control's own default handling sends its parent: the window it came from and
    // the screen point, or (-1, -1) from the keyboard.
    void ContextMenuFrom(HWND source, POINT screen = {-1, -1}) {
        SendMessageW(View(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(source), MAKELPARAM(screen.x, screen.y));
    }

    POINT BelowTheLastTreeItem() const {
        RECT client;
        GetClientRect(Tree(), &client);
        POINT at = {10, client.bottom - 5};
        ClientToScreen(Tree(), &at);
        return at;
    }
};

TEST_F(LiveContextMenuTest, EmptyTreeSpaceShowsInsertRootAndAGreyedRemoveRootDrawnByTheView) {
    StartWithFolder();
    MenuDriver menu;
    ContextMenuFrom(Tree(), BelowTheLastTreeItem());
    ASSERT_TRUE(menu.Seen());
    const std::vector<SeenMenuItem>& items = menu.Items();
    EXPECT_EQ(IdsOf(items), (std::vector<UINT>{3000, 3001}));
    EXPECT_EQ(CaptionsOf(items), (std::vector<std::wstring>{L"Insert root", L"Remove root"}));
    EXPECT_TRUE(items[1].greyed);
    EXPECT_EQ(CaptionsOf(items[0].submenu), (std::vector<std::wstring>{L"Folder", L"Playlist", L"Smart playlist"}));
    for (const SeenMenuItem& item : items) EXPECT_TRUE(item.ownerDrawn) << item.id;
    // Each measured item has room for its icon square, the gap and a caption.
    ASSERT_FALSE(menu.MeasuredItems().empty());
    for (SIZE size : menu.MeasuredItems()) {
        EXPECT_GT(size.cx, GetSystemMetrics(SM_CYMENUSIZE) + 4 + 10);
        EXPECT_GE(size.cy, 16);
    }
    EXPECT_GT(menu.DrawnItems(), 0);
}

// Answers the folder browser the view opens on this thread: selects the folder and presses OK.
class FolderBrowserAnswer {
public:
    FolderBrowserAnswer(std::wstring folder) : thread_([this, folder, owner = GetCurrentThreadId()] { Run(owner, folder); }) {}
    ~FolderBrowserAnswer() { thread_.join(); }
    bool Done() const { return done_; }
    bool Accepted() const { return accepted_; }

private:
    static BOOL CALLBACK FindBrowser(HWND window, LPARAM found) {
        wchar_t name[64] = {};
        GetClassNameW(window, name, 64);
        if (IsWindowVisible(window) && std::wstring(name) == L"#32770" && GetDlgItem(window, IDOK) &&
            FindWindowExW(window, nullptr, WC_TREEVIEWW, nullptr)) {
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        }
        return TRUE;
    }

    static std::wstring LeafName(const std::wstring& folder) {
        size_t slash = folder.find_last_of(L'\\');
        return slash == std::wstring::npos ? folder : folder.substr(slash + 1);
    }

    // The caption of the item the browser's tree has selected (this process: the text comes back).
    static std::wstring SelectedName(HWND browser) {
        HWND tree = FindWindowExW(browser, nullptr, WC_TREEVIEWW, nullptr);
        wchar_t text[MAX_PATH] = {};
        TVITEMW item = {};
        item.mask = TVIF_TEXT;
        item.hItem = tree ? TreeView_GetSelection(tree) : nullptr;
        item.pszText = text;
        item.cchTextMax = MAX_PATH;
        if (!item.hItem || !TreeView_GetItem(tree, &item)) return L"";
        return text;
    }

    void Run(DWORD owner, const std::wstring& folder) {
        HWND browser = nullptr;
        for (DWORD start = GetTickCount(); !browser && GetTickCount() - start < 20000; Sleep(50))
            EnumThreadWindows(owner, FindBrowser, reinterpret_cast<LPARAM>(&browser));
        if (browser) {
            // A selection made while the browser still fills its tree can be lost to the
            // starting one, which OK would then choose: it is made again until it shows.
            for (DWORD start = GetTickCount(); GetTickCount() - start < 10000; Sleep(100)) {
                SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
                if (SelectedName(browser) == LeafName(folder)) break;
            }
            accepted_ = IsWindowEnabled(GetDlgItem(browser, IDOK)) != FALSE;
            PostMessageW(browser, WM_COMMAND, accepted_ ? IDOK : IDCANCEL, 0);
        }
        done_ = true;
    }

    std::atomic<bool> done_{false};
    std::atomic<bool> accepted_{false};
    std::thread thread_;
};

TEST_F(LiveContextMenuTest, ChoosingFolderInTheRootMenuAddsThePickedFolderAsARoot) {
    StartWithFolder();
    TempFolder other;
    WriteBytes(other.File(L"d.mp3"), "x");
    {
        FolderBrowserAnswer answer(other.path());
        BoxAnswerer readTags(L"Confirmation", IDNO);
        MenuDriver menu(3004);
        PostMessageW(View(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Tree()),
                     MAKELPARAM(BelowTheLastTreeItem().x, BelowTheLastTreeItem().y));
        ASSERT_TRUE(PumpUntil([&] { return answer.Done(); }, 30000));
        EXPECT_TRUE(menu.Chose());
        EXPECT_TRUE(answer.Accepted()) << "the browser's OK stayed disabled for a folder";
        EXPECT_TRUE(PumpUntil([&] { return ItemOf(other.path() + L"\\") != nullptr; }, 30000))
            << "the tree does not show the new root";
        PumpUntil([&] { return readTags.Done(); }, 30000);
    }
}

TEST_F(LiveContextMenuTest, ListMenuOverTwoRowsListsItsItemsInOrderAtTheFocusedRow) {
    StartWithFolder(L"[General]\r\nShow delete=1\r\n");
    SelectRows({1, 2});
    MenuDriver menu;
    ContextMenuFrom(List());
    ASSERT_TRUE(menu.Seen());
    EXPECT_EQ(CaptionsOf(menu.Items()),
              (std::vector<std::wstring>{L"Play\tEnter", L"Enqueue\tShift+Enter", L"Enqueue and play\tCtrl+Enter",
                                         L"Enqueue after current\tAlt+Enter", L"---", L"Find more", L"Bookmarks",
                                         L"View file info\tAlt+3", L"Go to folder\tCtrl+G",
                                         L"Find file in Explorer\tCtrl+F", L"Delete file(s)", L"---",
                                         L"Select all\tCtrl+A", L"Select none\tCtrl+D", L"Invert selection"}));
    // The list's double-click action, "Enqueue and play" unless set otherwise, is the bold item.
    EXPECT_TRUE(FindSeenItem(menu.Items(), 3011)->isDefault);
    RECT row = {};
    ListView_GetItemRect(List(), 1, &row, LVIR_BOUNDS);
    POINT corner = {row.left, row.top};
    ClientToScreen(List(), &corner);
    EXPECT_EQ(menu.Position().y, corner.y);
}

TEST_F(LiveContextMenuTest, WithTheEnterKeyDisabledPlayShowsNoEnter) {
    StartWithFolder(L"[General]\r\nDisable ENTER-key=1\r\n");
    SelectRows({0});
    MenuDriver menu;
    ContextMenuFrom(List());
    ASSERT_TRUE(menu.Seen());
    EXPECT_EQ(menu.Items()[0].caption, L"Play");
    EXPECT_EQ(menu.Items()[1].caption, L"Enqueue\tShift+Enter");
    EXPECT_EQ(FindSeenItem(menu.Items(), 3024), nullptr) << "delete shown while its option is off";
}

TEST_F(LiveContextMenuTest, TheListShowsNoMenuWithoutASelectionOrWhileTheViewIsBusy) {
    StartWithFolder();
    ListView_SetItemState(List(), -1, 0, LVIS_SELECTED);
    {
        MenuDriver menu;
        ContextMenuFrom(List());
        EXPECT_FALSE(menu.Seen());
    }
    SelectRows({0});
    EnableWindow(Tree(), FALSE);
    {
        MenuDriver menu;
        ContextMenuFrom(List());
        EXPECT_FALSE(menu.Seen());
    }
    EnableWindow(Tree(), TRUE);
}

TEST_F(LiveContextMenuTest, HeaderMenuTicksTheVisibleColumnsAndTogglesOne) {
    StartWithFolder();
    HWND header = ListView_GetHeader(List());
    RECT bounds;
    GetWindowRect(header, &bounds);
    POINT onHeader = {bounds.left + 5, (bounds.top + bounds.bottom) / 2};
    const UINT artist = 3999 + (2u << 16);
    ASSERT_GT(ListView_GetColumnWidth(List(), 2), 0);
    int widths[15];
    for (int column = 0; column < 15; ++column) widths[column] = ListView_GetColumnWidth(List(), column);
    {
        MenuDriver menu(artist);
        ContextMenuFrom(header, onHeader);
        ASSERT_TRUE(menu.Seen());
        ASSERT_EQ(menu.Items().size(), 15u);
        for (const SeenMenuItem& item : menu.Items()) {
            int column = HIWORD(item.id);
            EXPECT_EQ(item.checked, widths[column] >= 1) << column;
        }
    }
    EXPECT_EQ(ListView_GetColumnWidth(List(), 2), 0) << "choosing a ticked column hides it";
    {
        MenuDriver menu(artist);
        ContextMenuFrom(header, onHeader);
        ASSERT_TRUE(menu.Seen());
        EXPECT_FALSE(FindSeenItem(menu.Items(), artist)->checked);
    }
    EXPECT_GT(ListView_GetColumnWidth(List(), 2), 0) << "choosing it again shows it";
}

TEST_F(LiveContextMenuTest, EnqueueFromTheListMenuEnqueuesTheSelectedRows) {
    StartWithFolder();
    SelectRows({0, 2});
    MenuDriver menu(3012);
    ContextMenuFrom(List());
    ASSERT_TRUE(menu.Chose());
    EXPECT_TRUE(PumpUntil([] { return Fake().playlist.size() == 2; }, 10000));
    std::vector<std::wstring> names = ColumnTexts(14);
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(Fake().playlist, (std::vector<std::wstring>{Library(names[0]), Library(names[2])}));
}

TEST_F(LiveContextMenuTest, RightClickOnATreeItemSelectsItAndItsMenuPlaysTheNode) {
    StartWithFolder();
    ASSERT_TRUE(SelectAndWaitForListing(L""));
    HTREEITEM root = ItemOf(Library());
    RECT text = {};
    ASSERT_TRUE(TreeView_GetItemRect(Tree(), root, &text, TRUE));
    POINT on = {text.left + 2, (text.top + text.bottom) / 2};
    ClientToScreen(Tree(), &on);
    MenuDriver menu(3012);
    ContextMenuFrom(Tree(), on);
    ASSERT_TRUE(menu.Seen());
    EXPECT_EQ(TreeView_GetSelection(Tree()), root);
    // A folder root: the play actions, then its own items and the roots.
    EXPECT_EQ(IdsOf(menu.Items()), (std::vector<UINT>{3010, 3012, 3011, 3013, 0, 3030, 3034, 3022, 3023, 0, 3003}));
    EXPECT_TRUE(FindSeenItem(menu.Items(), 3023)->checked) << "a stored root loads on start-up";
    EXPECT_FALSE(FindSeenItem(menu.Items(), 3001)->greyed);
    EXPECT_TRUE(PumpUntil([] { return Fake().playlist.size() == 3; }, 10000));
}

TEST_F(LiveContextMenuTest, BookmarkItemsWritesTheBookmarkFileAndTheSubmenuPlaysIt) {
    StartWithFolder();
    std::wstring file = PluginContext::Get()->GetPath(PathKind::kBookmarkFile);
    ASSERT_FALSE(file.empty());
    DeleteFileW(file.c_str());
    // The row of "B": on a busy machine the listing can come before the titles that sort it.
    int rowOfB = -1;
    for (int row = 0; row < ListCount() && rowOfB < 0; ++row) {
        wchar_t title[16] = {};
        ListView_GetItemText(List(), row, 1, title, 16);
        if (std::wstring(title) == L"B") rowOfB = row;
    }
    ASSERT_GE(rowOfB, 0);
    SelectRows({rowOfB});
    {
        MenuDriver menu(3027);
        ContextMenuFrom(List());
        ASSERT_TRUE(menu.Seen());
        EXPECT_EQ(CaptionsOf(FindSeenItem(menu.Items(), 3027)->submenu),
                  (std::vector<std::wstring>{L"Bookmark item(s)\tAlt+I", L"---"}));
    }
    EXPECT_TRUE(PumpUntil([&] { return !ReadBytes(file).empty(); }, 10000));
    const UINT first = 3027 + (1u << 16);
    {
        MenuDriver menu(first);
        ContextMenuFrom(List());
        ASSERT_TRUE(menu.Seen());
        const SeenMenuItem* bookmark = FindSeenItem(menu.Items(), first);
        ASSERT_NE(bookmark, nullptr);
        EXPECT_EQ(bookmark->caption, L"B");
    }
    EXPECT_TRUE(PumpUntil([] { return !Fake().playlist.empty(); }, 10000));
    EXPECT_EQ(Fake().playlist, (std::vector<std::wstring>{Library(L"b.mp3")}));
    DeleteFileW(file.c_str());
}

// Shift+F10 and the menu key as the list and the tree get them: their own handling turns them
// into a context menu request that reaches the view.
TEST_F(LiveContextMenuTest, ShiftF10AndTheMenuKeyOpenTheMenuOfTheFocusedPane) {
    StartWithFolder();
    SelectRows({0});
    BYTE keys[256] = {};
    struct Case {
        const char* name;
        bool inTree;
        UINT down;
        WPARAM key;
        bool shift;
    };
    const Case cases[] = {
        {"Shift+F10 in the list", false, WM_SYSKEYDOWN, VK_F10, true},
        {"menu key in the list", false, WM_KEYDOWN, VK_APPS, false},
        {"Shift+F10 in the tree", true, WM_SYSKEYDOWN, VK_F10, true},
        {"menu key in the tree", true, WM_KEYDOWN, VK_APPS, false},
    };
    for (const Case& c : cases) {
        HWND pane = c.inTree ? Tree() : List();
        SetFocus(pane);
        GetKeyboardState(keys);
        keys[VK_SHIFT] = c.shift ? 0x80 : 0;
        SetKeyboardState(keys);
        int opened = 0;
        {
            MenuDriver menu;
            PostMessageW(pane, c.down, c.key, 1);
            PostMessageW(pane, c.down == WM_SYSKEYDOWN ? WM_SYSKEYUP : WM_KEYUP, c.key, 0xC0000001);
            EXPECT_TRUE(PumpUntil([&] { return menu.Closed(); }, 5000)) << c.name;
            if (menu.Seen()) {
                EXPECT_EQ(menu.Items()[0].id, 3010u) << c.name;
            }
            opened = menu.Seen() ? 1 : 0;
        }
        // The key-up must not ask for a second menu.
        MenuDriver second;
        Pump();
        EXPECT_FALSE(second.Seen()) << c.name;
        keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
        EXPECT_EQ(opened, 1) << c.name;
    }
}

}  // namespace
