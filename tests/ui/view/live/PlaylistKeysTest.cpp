// The list's keys on a playlist's entries (Ctrl+Up and Ctrl+Down move them, Delete removes
// them, and neither touches a folder), Alt+I writing the selection into the host's bookmark
// file, and the bookmarks submenu's commands playing a bookmark or bookmarking the selection.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

#include "KeyboardFixture.h"
#include "bus/CommandCodes.h"
#include "bus/Messages.h"
#include "db/TreeNode.h"
#include "settings/PluginContext.h"
#include "ui/view/CellText.h"
#include "ui/view/FileListView.h"
#include "ui/view/MenuCodes.h"
#include "ui/view/ViewCommandCodes.h"

namespace {

using Texts = std::vector<std::wstring>;

class PlaylistKeysTest : public KeyboardTest {
protected:
    // A playlist root holding the player's four entries, shown by file name: d, b, c, a.
    void StartOnPlaylist() {
        for (const wchar_t* name : {L"d.mp3", L"b.mp3", L"c.mp3", L"a.mp3"}) {
            AddLibraryFile(name);
            Fake().playlist.push_back(Library(name));
        }
        WriteBytes(PlaylistPath(), "");
        StorePlaylistRoot(PlaylistPath());
        StoreFolderRoot(Library());
        StartPlugin();
        ASSERT_TRUE(SelectAndWaitForListing(PlaylistPath()));
        Command(kCmdImportHostPlaylist);
        ASSERT_TRUE(NamesBecome({L"d.mp3", L"b.mp3", L"c.mp3", L"a.mp3"}));
    }

    std::wstring PlaylistPath() const { return folder.File(L"list.m3u"); }
    bool NamesBecome(const Texts& names) const {
        return PumpUntil([&] { return ColumnTexts(kColumnFilename) == names; }, 10000);
    }

    Playlist* PlaylistOfNode() const {
        TVITEMW item = {};
        item.mask = TVIF_PARAM;
        item.hItem = ItemOf(PlaylistPath());
        TreeView_GetItem(Tree(), &item);
        auto* node = reinterpret_cast<TreeNode*>(item.lParam);
        return node ? node->playlist.get() : nullptr;
    }

    static std::string FileText(const std::wstring& path) {
        std::string text;
        if (FILE* file = _wfopen(path.c_str(), L"rb")) {
            char buffer[512];
            size_t read;
            while ((read = fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, read);
            fclose(file);
        }
        return text;
    }

    bool Relist() {
        int before = Listings();
        PostCommand(kCmdRefreshList, 0);
        return WaitForListing(before);
    }

    // The library's two files listed with the titles read, and no bookmark file yet.
    void StartTaggedWithoutBookmarks(std::wstring& bookmarks) {
        StoreFolderRoot(Library());
        StartPlugin();
        ASSERT_TRUE(SelectAndWaitForListing(Library()));
        bookmarks = PluginContext::Get()->GetPath(PathKind::kBookmarkFile);
        DeleteFileW(bookmarks.c_str());
        // The title written is the one the list shows, once the tags are read.
        ASSERT_TRUE(PumpUntil([this] { return CountInCache(L"SELECT COUNT(*) FROM Files WHERE tagged=1") == 2; }, 20000));
        ASSERT_TRUE(Relist());
    }

    static std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }
};

TEST_F(PlaylistKeysTest, CtrlArrowsMoveAndDeleteRemovesTheSelectedEntries) {
    StartOnPlaylist();
    SelectRows({1});
    Press(List(), VK_DOWN, kCtrl);
    EXPECT_TRUE(NamesBecome({L"d.mp3", L"c.mp3", L"b.mp3", L"a.mp3"}));
    EXPECT_EQ(SelectedRows(), std::vector<int>{2}) << "the moved entry stays selected";
    Press(List(), VK_UP, kCtrl);
    Press(List(), VK_UP, kCtrl);
    EXPECT_TRUE(NamesBecome({L"b.mp3", L"d.mp3", L"c.mp3", L"a.mp3"}));

    SelectRows({0, 3});
    Press(List(), VK_DELETE);
    EXPECT_TRUE(NamesBecome({L"d.mp3", L"c.mp3"}));
    Playlist* playlist = PlaylistOfNode();
    ASSERT_NE(playlist, nullptr);
    EXPECT_EQ(playlist->EntryCount(), 2u);
    EXPECT_TRUE(playlist->modified) << "removing entries offers a save";
}

TEST_F(PlaylistKeysTest, PlaylistKeysLeaveAFolderAlone) {
    StartOnPlaylist();
    ASSERT_TRUE(SelectAndWaitForListing(Library()));
    Texts before = ColumnTexts(kColumnFilepath);
    SelectRows({0});
    Press(List(), VK_DELETE);
    Press(List(), VK_DOWN, kCtrl);
    PostCommand(kCmdRefreshList, 0);
    Pump();
    EXPECT_EQ(ColumnTexts(kColumnFilepath), before);
    EXPECT_EQ(CommandsReceived(kCmdRemovePlaylistRows), 0);
    EXPECT_EQ(CommandsReceived(kCmdMovePlaylistRows), 0);
}

TEST_F(PlaylistKeysTest, AltIBookmarksAndTheBookmarkCommandsPlayAndBookmark) {
    AddLibraryFile(L"a.mp3", {{L"title", L"Alpha"}});
    AddLibraryFile(L"b.mp3", {{L"title", L"Bravo"}});
    std::wstring bookmarks;
    ASSERT_NO_FATAL_FAILURE(StartTaggedWithoutBookmarks(bookmarks));
    Texts names = ColumnTexts(kColumnFilename);
    int alphaRow = names[0] == L"a.mp3" ? 0 : 1;

    SelectRows({alphaRow});
    Press(List(), 'I', kAlt);
    std::string alpha = Narrow(Library(L"a.mp3")) + "\r\nAlpha\r\n";
    EXPECT_TRUE(PumpUntil([&] { return FileText(bookmarks) == alpha; }, 10000)) << FileText(bookmarks);

    // The submenu's first item: "Bookmark item(s)" again, with the selection.
    SendMessageW(List(), kCommandMessage, kCmdRunMenuCommand, kMenuBookmarks);
    EXPECT_TRUE(PumpUntil([&] { return FileText(bookmarks) == alpha + alpha; }, 10000)) << FileText(bookmarks);

    // A bookmark plays with the list's double-click action, Enqueue and play.
    auto* list = dynamic_cast<FileListView*>(WindowObjectOf(List()));
    ASSERT_NE(list, nullptr);
    list->SetBookmarks({Library(L"b.mp3")});
    Fake().playlist = {L"playing"};
    SendMessageW(List(), kCommandMessage, kCmdRunMenuCommand, MAKELPARAM(kMenuBookmarks, 2));
    SendMessageW(List(), kCommandMessage, kCmdRunMenuCommand, MAKELPARAM(kMenuBookmarks, 1));
    Texts expected = {L"playing", Library(L"b.mp3")};
    EXPECT_TRUE(PumpUntil([&] { return Fake().playlist == expected; }, 10000))
        << "only the bookmark that exists is played";
    EXPECT_EQ(Fake().position, 1);
}

// A bookmark is a path line and a title line: a title with a line break is written on one
// line, and a path the player's 8-bit file cannot hold is left out and said, not written as "?".
TEST_F(PlaylistKeysTest, BookmarksAreTwoLinesOfTextThePlayerCanRead) {
    if (GetACP() != 1252) GTEST_SKIP() << "the system code page is " << GetACP();
    AddLibraryFile(L"a.mp3", {{L"title", L"Part one\r\nPart two"}});
    AddLibraryFile(L"Dvo\u0159\u00e1k.mp3", {{L"title", L"Largo"}});
    std::wstring bookmarks;
    ASSERT_NO_FATAL_FAILURE(StartTaggedWithoutBookmarks(bookmarks));
    SelectRows({0, 1});
    BoxAnswerer box(L"Error", IDOK);
    Press(List(), 'I', kAlt);
    EXPECT_TRUE(PumpUntil([&] { return box.Done(); }, 20000));
    EXPECT_EQ(box.Join(), Texts{L"1 file(s) were not bookmarked: the player's bookmark file cannot hold their names."});
    EXPECT_EQ(FileText(bookmarks), Narrow(Library(L"a.mp3")) + "\r\nPart one  Part two\r\n");
    DeleteFileW(bookmarks.c_str());
}

}  // namespace
