// The view's commands on playlists through the real view: the host editor's "Send to" menu,
// the playlist the worker asks for by path, and saving before a playlist root is removed.
#include <gtest/gtest.h>

#include <string>

#include "base/TextObject.h"
#include "bus/CommandCodes.h"
#include "bus/Messages.h"
#include "db/CacheDatabase.h"
#include "db/roots/RootRows.h"
#include "db/TreeNode.h"
#include "livehost/LivePlugin.h"
#include "ui/view/ViewCommandCodes.h"

namespace {

class LivePlaylistRootCommandsTest : public LivePluginTest {
protected:
    // An empty playlist file stored as a root before start-up; answers its root id.
    long long StorePlaylistRoot(const std::wstring& path) {
        CreateDirectoryW(Library().c_str(), nullptr);
        WriteBytes(path, "#EXTM3U\r\n");
        CacheDatabase database(CacheFolder());
        database.CreateSchema();
        return InsertRootRow(database, 2, true, path, std::nullopt);
    }

    // A folder root holding a song and mix.m3u listing it, shown in the tree as the folder's own.
    void StartWithPlaylistInFolder() {
        CreateDirectoryW(Library().c_str(), nullptr);
        WriteBytes(Library(L"a.mp3"), "x");
        WriteBytes(Library(L"mix.m3u"), "a.mp3\r\n");
        WritePrivateProfileStringW(L"General", L"Display tree playlists", L"1", SettingsPath().c_str());
        StoreFolderRoot(Library());
        StartPlugin();
    }

    TreeNode* NodeOf(HTREEITEM item) const {
        TVITEMW info = {};
        info.mask = TVIF_PARAM;
        info.hItem = item;
        TreeView_GetItem(Tree(), &info);
        return reinterpret_cast<TreeNode*>(info.lParam);
    }
};

struct MenuItem {
    std::wstring text;
    ULONG_PTR data;
    UINT id;
};

MenuItem ItemAt(HMENU menu, int position) {
    wchar_t text[256] = {};
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING | MIIM_DATA | MIIM_ID;
    info.dwTypeData = text;
    info.cch = 256;
    GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info);
    return {text, info.dwItemData, info.wID};
}

TEST_F(LivePlaylistRootCommandsTest, SendToMenuListsTheLastPlaylistRootFirst) {
    long long first = StorePlaylistRoot(Library(L"first.m3u"));
    long long second = StorePlaylistRoot(Library(L"second.m3u"));
    StartPlugin();
    HMENU menu = CreatePopupMenu();
    Command(kCmdFillSendToMenu, reinterpret_cast<LPARAM>(&menu));
    ASSERT_EQ(GetMenuItemCount(menu), 2);
    MenuItem top = ItemAt(menu, 0), below = ItemAt(menu, 1);
    EXPECT_EQ(top.text, L"second.m3u");
    EXPECT_EQ(top.data, static_cast<ULONG_PTR>(second));
    EXPECT_EQ(below.text, L"first.m3u");
    EXPECT_EQ(below.data, static_cast<ULONG_PTR>(first));
    EXPECT_EQ(top.id, 3035u);
    DestroyMenu(menu);
}

TEST_F(LivePlaylistRootCommandsTest, PlaylistForPathFindsOneShownUnderAFolder) {
    StartWithPlaylistInFolder();
    HTREEITEM item = ItemOf(Library(L"mix.m3u"));
    ASSERT_NE(item, nullptr) << "the folder's playlist is not in the tree";
    Playlist* shown = NodeOf(item)->playlist.get();
    ASSERT_NE(shown, nullptr);

    // Asked in another case than the file's: paths compare without regard to case.
    auto* answer = reinterpret_cast<Playlist*>(Command(kCmdPlaylistForPath, PassText(Library(L"MIX.m3u"))));
    EXPECT_EQ(answer, shown);
    if (answer) answer->Release();
    EXPECT_EQ(Command(kCmdPlaylistForPath, PassText(Library(L"other.m3u"))), 0);
}

TEST_F(LivePlaylistRootCommandsTest, RemovingAReadOnlyPlaylistAfterYesToSaveSaysItIsReadOnlyAndKeepsTheRoot) {
    std::wstring file = Library(L"locked.m3u");
    long long rootId = StorePlaylistRoot(file);
    StartPlugin();
    ASSERT_TRUE(SelectAndWaitForListing(file));
    // An entry sent from the host's playlist leaves the root with unsaved changes.
    Fake().playlist = {Library(L"a.mp3")};
    SendToEntry entry = {rootId, 0};
    Command(kCmdSendEntryToPlaylist, reinterpret_cast<LPARAM>(&entry));
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);

    BoxAnswerer confirm(L"Confirmation", IDYES, 2);  // remove it? save it first?
    BoxAnswerer error(L"Error", IDOK);
    PostCommand(kCmdRemoveRoot);
    EXPECT_TRUE(PumpUntil([&] { return error.Done(); }, 60000));
    std::vector<std::wstring> texts = error.Join();
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0].find(L"read-only"), std::wstring::npos) << testing::PrintToString(texts[0]);
    EXPECT_EQ(confirm.Join().size(), 2u);
    PumpFor(500);
    EXPECT_NE(ItemOf(file), nullptr) << "a root whose save failed stays, and its changes with it";
    EXPECT_EQ(CountInCache(L"SELECT COUNT(*) FROM Roots"), 1);
}

// A playlist root added for a file a folder already shows shares that node's entries; removing
// the root again leaves them to the folder's node instead of emptying them under it.
// Enqueue from the tree, sent before the worker has listed (and so read) the playlist it just
// got selected, reads the file first rather than enqueueing nothing.
TEST_F(LivePlaylistRootCommandsTest, EnqueueingAPlaylistNodeNotYetListedReadsItFirst) {
    StartWithPlaylistInFolder();
    HTREEITEM item = ItemOf(Library(L"mix.m3u"));
    ASSERT_NE(item, nullptr);
    ASSERT_TRUE(NodeOf(item)->playlist && NodeOf(item)->playlist->NeedsLoading());
    TreeView_SelectItem(Tree(), item);
    SendMessageW(View(), kCommandMessage, kCmdPlayTreeNode, kMenuEnqueue);
    EXPECT_EQ(Fake().playlist, std::vector<std::wstring>{Library(L"a.mp3")});
}

TEST_F(LivePlaylistRootCommandsTest, RemovingARootLeavesTheEntriesItSharedWithAFolderNode) {
    StartWithPlaylistInFolder();
    ASSERT_TRUE(SelectAndWaitForListing(Library(L"mix.m3u")));
    Ref<Playlist> shared = NodeOf(ItemOf(Library(L"mix.m3u")))->playlist;
    ASSERT_EQ(shared->EntryCount(), 1u);

    HWND tree = Tree();
    auto secondRoot = [tree] { return TreeView_GetNextSibling(tree, TreeView_GetChild(tree, TreeView_GetRoot(tree))); };
    PostCommand(kCmdAddPlaylistRootPath, PassText(Library(L"mix.m3u")));
    ASSERT_TRUE(PumpUntil([&] { return secondRoot() != nullptr; }, 20000));
    HTREEITEM rootItem = secondRoot();
    ASSERT_EQ(NodeOf(rootItem)->playlist, shared) << "the new root shares the folder node's entries";
    TreeView_SelectItem(tree, rootItem);
    Pump();
    BoxAnswerer remove(L"Confirmation", IDYES);
    PostCommand(kCmdRemoveRoot);
    ASSERT_TRUE(PumpUntil([&] { return remove.Done(); }, 20000));
    ASSERT_TRUE(PumpUntil([&] { return CountInCache(L"SELECT COUNT(*) FROM Roots") == 1; }, 20000));
    PumpFor(300);
    EXPECT_EQ(shared->EntryCount(), 1u) << "the folder's node keeps its entries";
}

}  // namespace
