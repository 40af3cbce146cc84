// The keys that move between and within the panes: Tab and Shift+Tab cycle list, search box
// and tree; Up leaves the top row for the search box; Ctrl+Home and Alt+S jump; Ctrl+Up moves
// a root for good; the list's Ctrl and Alt keys reach their commands; and Alt keys no pane
// uses reach the host's main window.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "KeyboardFixture.h"
#include "bus/CommandCodes.h"
#include "bus/Messages.h"
#include "host/HostApi.h"
#include "ui/view/ViewCommandCodes.h"

namespace {

class PaneKeysTest : public KeyboardTest {
protected:
    void StartOverTwoFiles() {
        AddLibraryFile(L"a.mp3");
        AddLibraryFile(L"b.mp3");
        StoreFolderRoot(Library());
        StartPlugin();
        ASSERT_TRUE(SelectAndWaitForListing(Library()));
        ASSERT_EQ(ListCount(), 2);
    }

    std::wstring SearchText() const {
        wchar_t text[64] = {};
        GetWindowTextW(Search(), text, 64);
        return text;
    }
};

TEST_F(PaneKeysTest, TabAndShiftTabCycleThroughThePanes) {
    StartOverTwoFiles();
    SelectRows({});
    Press(List(), VK_TAB);
    EXPECT_EQ(Focused(), Search()) << "list -> search box";
    Press(Search(), VK_TAB);
    EXPECT_EQ(Focused(), Tree()) << "search box -> tree";
    EXPECT_EQ(SearchText(), L"") << "the Tab character is not typed";
    Press(Tree(), VK_TAB);
    EXPECT_EQ(Focused(), List()) << "tree -> list";
    EXPECT_EQ(SelectedRows(), std::vector<int>{0}) << "the first row is taken when none was selected";

    Press(List(), VK_TAB, kShift);
    EXPECT_EQ(Focused(), Tree()) << "list -> tree";
    Press(Tree(), VK_TAB, kShift);
    EXPECT_EQ(Focused(), Search()) << "tree -> search box";
    Press(Search(), VK_TAB, kShift);
    EXPECT_EQ(Focused(), List()) << "search box -> list";

    SelectRows({});
    Press(Search(), VK_DOWN);
    EXPECT_EQ(Focused(), List()) << "Down leaves the search box for the list";
    EXPECT_EQ(SelectedRows(), std::vector<int>{0});
}

TEST_F(PaneKeysTest, UpLeavesTheTopRowForTheSearchBox) {
    StartOverTwoFiles();
    SelectRows({1});
    Press(List(), VK_UP);
    EXPECT_NE(Focused(), Search()) << "from the second row the list moves up";
    EXPECT_EQ(ListView_GetNextItem(List(), -1, LVNI_FOCUSED), 0);
    Press(List(), VK_UP);
    EXPECT_EQ(Focused(), Search()) << "from the top row";

    SetWindowTextW(Search(), L"zzz-nothing");
    ASSERT_TRUE(PumpUntil([this] { return ListCount() == 0; }, 20000));
    Press(List(), VK_UP);
    EXPECT_EQ(Focused(), Search()) << "from an empty list";
}

TEST_F(PaneKeysTest, CtrlHomeAndAltSJumpToLibraryAndSearchText) {
    StartOverTwoFiles();
    Press(List(), VK_HOME, kCtrl);
    EXPECT_TRUE(PumpUntil([this] { return TreeView_GetSelection(Tree()) == ItemOf(L""); }, 10000));

    SetWindowTextW(Search(), L"abc");
    SendMessageW(Search(), EM_SETSEL, 1, 1);
    Press(List(), 'S', kAlt);
    DWORD start = 0, end = 0;
    SendMessageW(Search(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(Focused(), Search());
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 3u) << "the whole text is selected, ready to be typed over";
}

// In the player Alt+S reaches the plugin first as the host's queued key, which the plugin takes
// from the host; the search text must still end up selected, as when the pane gets the key.
TEST_F(PaneKeysTest, AltSTakenFromTheHostQueueSelectsTheSearchText) {
    StartOverTwoFiles();
    SetWindowTextW(Search(), L"abc");
    SendMessageW(Search(), EM_SETSEL, 1, 1);
    SetFocus(List());
    MSG queued = {List(), WM_SYSKEYDOWN, 'S', 0, 0, {0, 0}};
    SendMessageW(host, kHostMessage, reinterpret_cast<WPARAM>(&queued), kHostQueuedMessage);
    EXPECT_EQ(queued.wParam, 0u) << "the host drops the key";
    auto wholeTextSelected = [this] {
        DWORD start = 1, end = 0;
        SendMessageW(Search(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return start == 0 && end == 3;
    };
    EXPECT_TRUE(PumpUntil([&] { return Focused() == Search() && wholeTextSelected(); }, 5000))
        << "focus " << (Focused() == Search()) << ", whole text selected " << wholeTextSelected();
}

TEST_F(PaneKeysTest, PaneKeysReachTheirCommands) {
    StartOverTwoFiles();
    Press(List(), 'A', kCtrl);
    EXPECT_EQ(SelectedRows(), (std::vector<int>{0, 1})) << "Ctrl+A";
    Press(List(), 'D', kCtrl);
    EXPECT_TRUE(SelectedRows().empty()) << "Ctrl+D";

    SelectRows({0});
    enum Pane { kList, kTree, kSearch };
    const struct {
        Pane pane;
        UINT key;
        Modifiers held;
        WPARAM command;
    } cases[] = {
        {kList, VK_SPACE, {}, kCmdShowPlayingRow},    {kList, VK_DOWN, {}, kCmdReadVisibleTags},
        {kList, VK_NEXT, {}, kCmdReadVisibleTags},    {kList, VK_PRIOR, {}, kCmdReadVisibleTags},
        {kList, 'G', kCtrl, kCmdSelectRowFolder},     {kList, 'S', kCtrl, kCmdSavePlaylist},
        {kList, '3', kAlt, kCmdFileInfo},             {kList, 'P', kCtrl, kCmdOpenPreferencesNow},
        {kTree, 'S', kCtrl, kCmdSavePlaylist},        {kTree, 'P', kCtrl, kCmdOpenPreferencesNow},
        {kSearch, 'P', kCtrl, kCmdOpenPreferencesNow},
    };
    for (const auto& c : cases) {
        HWND pane = c.pane == kList ? List() : c.pane == kTree ? Tree() : Search();
        int before = CommandsReceived(c.command);
        Press(pane, c.key, c.held);
        EXPECT_TRUE(PumpUntil([&] { return CommandsReceived(c.command) > before; }, 10000))
            << "pane " << c.pane << ", key " << c.key << " did not reach command " << c.command;
    }
}

TEST_F(PaneKeysTest, AltKeysNoPaneUsesReachTheHost) {
    StartOverTwoFiles();
    WatchHostKeys();
    Press(List(), 'X', kAlt);
    Press(Tree(), 'X', kAlt);
    Press(Search(), 'X', kAlt);
    // Alt on its own is no chord of the host's.
    PressOnly(List(), VK_MENU, kAlt);
    PressOnly(Search(), VK_MENU, kAlt);
    EXPECT_TRUE(PumpUntil([] { return HostAltKeys().size() >= 3; }, 10000));
    EXPECT_EQ(HostAltKeys(), (std::vector<WPARAM>{'X', 'X', 'X'}));
    // The keys were the host's: the frame's own menus were not searched for them as well.
    EXPECT_EQ(KeyMenuRequests(), 0);
}

TEST_F(PaneKeysTest, CtrlUpMovesARootAndTheOrderSurvivesARestart) {
    StartOverRoots({L"One\\1.mp3", L"Two\\2.mp3"});
    std::vector<std::wstring> stored = {Library(L"One\\"), Library(L"Two\\")};
    ASSERT_EQ(RootOrder(), stored);
    ASSERT_TRUE(SelectAndWaitForListing(Library(L"Two\\")));
    Press(Tree(), VK_UP, kCtrl);
    std::vector<std::wstring> moved = {Library(L"Two\\"), Library(L"One\\")};
    EXPECT_TRUE(PumpUntil([&] { return RootOrder() == moved; }, 10000));
    EXPECT_EQ(TreeView_GetSelection(Tree()), ItemOf(Library(L"Two\\"))) << "the moved root stays selected";

    CloseAndQuit();
    BeginNextLife();
    StartPlugin();
    EXPECT_EQ(RootOrder(), moved);
}

}  // namespace
