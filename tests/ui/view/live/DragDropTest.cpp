// Drops on the real view, through the drop targets the list and the tree registered, with a
// real data object as a drag from the shell brings: refusals, entries added to playlists,
// roots added from the tree's empty space, the highlight and the effect under the keys.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bus/CommandCodes.h"
#include "bus/Messages.h"
#include "db/TreeNode.h"
#include "livehost/LivePlugin.h"
#include "ui/view/FileListView.h"
#include "ui/view/FolderTreeView.h"
#include "ui/view/CellText.h"
#include "ui/view/ViewCommandCodes.h"
#include "ui/view/ViewModel.h"
#include "ui/view/drop/DropCollector.h"
#include "ui/view/drop/FileDropData.h"

namespace {

using Paths = std::vector<std::wstring>;

constexpr DWORD kCopyOrMove = DROPEFFECT_COPY | DROPEFFECT_MOVE;

class DragDropTest : public LivePluginTest {
protected:
    // The host initialises OLE on its user-interface thread before it loads the plugin.
    void SetUp() override {
        oleStarted_ = SUCCEEDED(OleInitialize(nullptr));
        LivePluginTest::SetUp();
    }
    void TearDown() override {
        LivePluginTest::TearDown();
        if (oleStarted_) OleUninitialize();
    }

    // A folder root with two songs and a playlist root listing the first, the view started.
    void StartWithLibraryAndPlaylist(const char* playlistText = "#EXTM3U\r\nAlbum\\one.mp3\r\n") {
        AddLibraryFile(L"Album\\one.mp3");
        AddLibraryFile(L"Album\\two.mp3");
        WriteBytes(PlaylistPath(), playlistText);
        StoreFolderRoot(Library());
        StorePlaylistRoot(PlaylistPath());
        StartPlugin();
    }
    std::wstring PlaylistPath() const { return Library(L"list.m3u8"); }

    IDropTarget* ListTarget() const {
        auto* list = dynamic_cast<FileListView*>(WindowObjectOf(List()));
        return list ? list->DropTarget() : nullptr;
    }
    TreeDropTarget* TreeTarget() const {
        FolderTreeView* tree = TreeView();
        return tree ? tree->DropTarget() : nullptr;
    }
    FolderTreeView* TreeView() const { return dynamic_cast<FolderTreeView*>(WindowObjectOf(Tree())); }
    // Drops onto playlists are gathered on a thread of their own and go in from the loop.
    bool WaitForDropsCollected() {
        DropCollector* collector = TreeView() ? TreeView()->Model().DropCollection() : nullptr;
        return collector && PumpUntil([&] { return !collector->Busy(); }, 20000);
    }

    Playlist* PlaylistOf(const std::wstring& playlistPath) const {
        TreeNode* node = TreeView() ? TreeView()->NodeOf(ItemOf(playlistPath)) : nullptr;
        return node ? node->playlist.get() : nullptr;
    }
    Paths EntriesOf(const std::wstring& playlistPath) const {
        Paths paths;
        TreeNode* node = TreeView() ? TreeView()->NodeOf(ItemOf(playlistPath)) : nullptr;
        if (node && node->playlist)
            for (const Ref<FileRecord>& entry : node->playlist->CopyEntries()) paths.push_back(entry->Path());
        return paths;
    }

    // The screen point of a tree item, or of the tree's empty space below its items.
    POINTL OnItem(const std::wstring& path) const {
        RECT r = {};
        TreeView_GetItemRect(Tree(), ItemOf(path), &r, TRUE);
        return ScreenPoint(Tree(), {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    }
    POINTL BelowTheItems() const {
        RECT client;
        GetClientRect(Tree(), &client);
        return ScreenPoint(Tree(), {client.right / 2, client.bottom - 30});
    }
    POINTL OnRow(int row) const {
        RECT r = {};
        r.left = LVIR_BOUNDS;
        ListView_GetItemRect(List(), row, &r, LVIR_BOUNDS);
        return ScreenPoint(List(), {r.left + 4, (r.top + r.bottom) / 2});
    }
    static POINTL ScreenPoint(HWND window, POINT client) {
        ClientToScreen(window, &client);
        return {client.x, client.y};
    }

    // Enter, pass over and drop at one point, as the system's drag loop calls a target; the
    // drop only when the target showed an effect. Answers the effect of the drop (or of the
    // last refusal).
    DWORD DragAndDrop(IDropTarget* target, const Paths& files, POINTL at, DWORD keys = 0) {
        Ref<FileDropData> data = FileDropData::ForFiles(files);
        DWORD effect = kCopyOrMove;
        target->DragEnter(data.get(), keys | MK_LBUTTON, at, &effect);
        if (effect == DROPEFFECT_NONE) return effect;
        effect = kCopyOrMove;
        target->DragOver(keys | MK_LBUTTON, at, &effect);
        if (effect == DROPEFFECT_NONE) {
            target->DragLeave();
            return effect;
        }
        effect = kCopyOrMove;
        target->Drop(data.get(), keys, at, &effect);
        return effect;
    }

    bool oleStarted_ = false;
};

TEST_F(DragDropTest, BothPanesRegisterTheirTargetsWithOle) {
    StartWithLibraryAndPlaylist();
    ASSERT_NE(ListTarget(), nullptr);
    ASSERT_NE(TreeTarget(), nullptr);
    // A second registration is refused while the first stands.
    EXPECT_EQ(RegisterDragDrop(List(), ListTarget()), DRAGDROP_E_ALREADYREGISTERED);
    EXPECT_EQ(RegisterDragDrop(Tree(), TreeTarget()), DRAGDROP_E_ALREADYREGISTERED);
}

TEST_F(DragDropTest, FilesOnTheListWhileAFolderIsShownAreRefused) {
    StartWithLibraryAndPlaylist();
    ASSERT_TRUE(SelectAndWaitForListing(Library(L"Album\\")));
    int before = ListCount();
    int refreshes = CommandsReceived(kCmdRefreshList);
    Ref<FileDropData> data = FileDropData::ForFiles({Library(L"Album\\two.mp3")});
    DWORD effect = kCopyOrMove;
    ASSERT_EQ(ListTarget()->DragEnter(data.get(), MK_LBUTTON, OnRow(0), &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    effect = kCopyOrMove;
    ListTarget()->DragOver(MK_LBUTTON, OnRow(0), &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    // Even a drop that arrives all the same changes nothing.
    effect = kCopyOrMove;
    ListTarget()->Drop(data.get(), 0, OnRow(0), &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    PumpFor(300);
    EXPECT_EQ(ListCount(), before);
    EXPECT_EQ(CommandsReceived(kCmdRefreshList), refreshes);
    ASSERT_NE(PlaylistOf(PlaylistPath()), nullptr);
    EXPECT_FALSE(PlaylistOf(PlaylistPath())->modified);
    EXPECT_EQ(PlaylistOf(PlaylistPath())->EntryCount(), 0u) << "the playlist, never shown, is still unread";
}

TEST_F(DragDropTest, FilesDroppedOnAShownPlaylistGoBeforeTheRowAndTheListReloads) {
    StartWithLibraryAndPlaylist();
    ASSERT_TRUE(SelectAndWaitForListing(PlaylistPath()));
    ASSERT_EQ(ListCount(), 1);
    int shown = Listings();
    EXPECT_EQ(DragAndDrop(ListTarget(), {Library(L"Album\\two.mp3")}, OnRow(0)), static_cast<DWORD>(DROPEFFECT_COPY));
    ASSERT_TRUE(WaitForListing(shown));
    EXPECT_EQ(ListCount(), 2);
    Paths expected = {Library(L"Album\\two.mp3"), Library(L"Album\\one.mp3")};
    EXPECT_EQ(EntriesOf(PlaylistPath()), expected);
    // With Shift held the source is still told copy: told move, it would delete the folder.
    shown = Listings();
    EXPECT_EQ(DragAndDrop(ListTarget(), {Library(L"Album")}, OnRow(0), MK_SHIFT), static_cast<DWORD>(DROPEFFECT_COPY));
    ASSERT_TRUE(WaitForListing(shown));
    EXPECT_EQ(ListCount(), 4);
}

// The row names the entry the file goes before, whatever order the playlist is shown in.
TEST_F(DragDropTest, AFileDroppedOnARowOfASortedPlaylistGoesBeforeThatRowsEntry) {
    StartWithLibraryAndPlaylist("#EXTM3U\r\nAlbum\\one.mp3\r\nAlbum\\two.mp3\r\n");
    ASSERT_TRUE(SelectAndWaitForListing(PlaylistPath()));
    for (int click = 0; click < 2 && ColumnTexts(kColumnFilename).front() != L"two.mp3"; ++click) {
        int shown = Listings();
        ClickHeader(kColumnFilename);
        PumpUntil([&] { return Listings() > shown || ColumnTexts(kColumnFilename).front() == L"two.mp3"; }, 5000);
    }
    ASSERT_EQ(ColumnTexts(kColumnFilename), (Paths{L"two.mp3", L"one.mp3"}));
    WriteBytes(Library(L"new.mp3"), "x");
    int shown = Listings();
    DragAndDrop(ListTarget(), {Library(L"new.mp3")}, OnRow(0));
    ASSERT_TRUE(WaitForListing(shown));
    Paths expected = {Library(L"Album\\one.mp3"), Library(L"new.mp3"), Library(L"Album\\two.mp3")};
    EXPECT_EQ(EntriesOf(PlaylistPath()), expected);
}

// The folder is walked after the drop has returned; Escape in the view meanwhile stops it,
// and then nothing of it goes in.
TEST_F(DragDropTest, AFolderOnAPlaylistItemAppendsItsSupportedFilesWithSubFoldersUnlessEscapeStopsIt) {
    AddLibraryFile(L"Drop\\a.mp3");
    AddLibraryFile(L"Drop\\Deeper\\b.flac");
    AddLibraryFile(L"Drop\\Deeper\\notes.txt");
    StartWithLibraryAndPlaylist();
    ASSERT_TRUE(SelectAndWaitForListing(PlaylistPath()));
    ASSERT_TRUE(SelectAndWaitForListing(Library()));
    EXPECT_EQ(DragAndDrop(TreeTarget(), {Library(L"Drop")}, OnItem(PlaylistPath())),
              static_cast<DWORD>(DROPEFFECT_COPY));
    SendMessageW(List(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitForDropsCollected());
    PumpFor(200);
    EXPECT_EQ(EntriesOf(PlaylistPath()), Paths{Library(L"Album\\one.mp3")});
    EXPECT_FALSE(PlaylistOf(PlaylistPath())->modified);
    EXPECT_EQ(StatusText(), L"Collecting files stopped: nothing was added.");

    // Passing over the item marks it as where the files will go. (The tree control under test
    // marks no item that is also the selected one, so another item is selected here.)
    Ref<FileDropData> data = FileDropData::ForFiles({Library(L"Drop")});
    DWORD effect = kCopyOrMove;
    TreeTarget()->DragEnter(data.get(), MK_LBUTTON, OnItem(PlaylistPath()), &effect);
    effect = kCopyOrMove;
    TreeTarget()->DragOver(MK_LBUTTON, OnItem(PlaylistPath()), &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(TreeView_GetDropHilight(Tree()), ItemOf(PlaylistPath()));
    effect = kCopyOrMove;
    TreeTarget()->Drop(data.get(), 0, OnItem(PlaylistPath()), &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(TreeView_GetDropHilight(Tree()), nullptr);
    // The drop returned before the folder was walked, and the status line says it is.
    EXPECT_EQ(EntriesOf(PlaylistPath()).size(), 1u);
    EXPECT_EQ(StatusText(), L"Collecting files... 0 found (Escape to stop)");
    ASSERT_TRUE(WaitForDropsCollected());
    EXPECT_NE(StatusText().find(L"file(s) found"), std::wstring::npos) << "the totals are back";

    Paths entries = EntriesOf(PlaylistPath());
    ASSERT_EQ(entries.size(), 3u);
    std::sort(entries.begin() + 1, entries.end());
    Paths expected = {Library(L"Album\\one.mp3"), Library(L"Drop\\Deeper\\b.flac"), Library(L"Drop\\a.mp3")};
    EXPECT_EQ(entries, expected);
    EXPECT_TRUE(PlaylistOf(PlaylistPath())->modified);
}

TEST_F(DragDropTest, FilesOnTheSelectedPlaylistItemReloadTheList) {
    StartWithLibraryAndPlaylist();
    ASSERT_TRUE(SelectAndWaitForListing(PlaylistPath()));
    int shown = Listings();
    EXPECT_EQ(DragAndDrop(TreeTarget(), {Library(L"Album\\two.mp3")}, OnItem(PlaylistPath())),
              static_cast<DWORD>(DROPEFFECT_COPY));
    ASSERT_TRUE(WaitForListing(shown));
    EXPECT_EQ(ListCount(), 2);
    Paths expected = {Library(L"Album\\one.mp3"), Library(L"Album\\two.mp3")};
    EXPECT_EQ(EntriesOf(PlaylistPath()), expected);
}

TEST_F(DragDropTest, OverAFolderItemNothingCanBeDroppedAndLeavingClearsTheHighlight) {
    StartWithLibraryAndPlaylist();
    Ref<FileDropData> data = FileDropData::ForFiles({Library(L"Album\\two.mp3")});
    DWORD effect = kCopyOrMove;
    TreeTarget()->DragEnter(data.get(), MK_LBUTTON, OnItem(Library()), &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    effect = kCopyOrMove;
    TreeTarget()->DragOver(MK_LBUTTON, OnItem(Library()), &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(TreeView_GetDropHilight(Tree()), ItemOf(Library()));
    TreeTarget()->DragLeave();
    EXPECT_EQ(TreeView_GetDropHilight(Tree()), nullptr);
}

TEST_F(DragDropTest, APlaylistFileOnEmptyTreeSpaceBecomesARootAndATextFileDoesNothing) {
    StartWithLibraryAndPlaylist();
    std::wstring mix = folder.File(L"mix.m3u8");
    WriteBytes(mix, "#EXTM3U\r\n");
    WriteBytes(folder.File(L"notes.txt"), "n");
    int added = CommandsReceived(kCmdAddPlaylistRootPath);
    EXPECT_EQ(DragAndDrop(TreeTarget(), {folder.File(L"notes.txt")}, BelowTheItems()), static_cast<DWORD>(DROPEFFECT_COPY));
    PumpFor(300);
    EXPECT_EQ(CommandsReceived(kCmdAddPlaylistRootPath), added);
    EXPECT_EQ(DragAndDrop(TreeTarget(), {mix}, BelowTheItems()), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_TRUE(PumpUntil([&] { return ItemOf(mix) != nullptr; }, 20000)) << "the playlist's root item";
    EXPECT_EQ(CommandsReceived(kCmdAddPlaylistRootPath), added + 1);
}

TEST_F(DragDropTest, AFolderDraggedFromTheTreeOntoEmptySpaceDoesNothing) {
    TempFolder other;
    WriteBytes(other.File(L"x.mp3"), "x");
    StartWithLibraryAndPlaylist();
    int added = CommandsReceived(kCmdAddFolderRootPath);
    TreeTarget()->SetDragFromTree(true);
    DragAndDrop(TreeTarget(), {other.path() + L"\\"}, BelowTheItems());
    EXPECT_FALSE(TreeTarget()->DragFromTree());
    PumpFor(300);
    EXPECT_EQ(CommandsReceived(kCmdAddFolderRootPath), added);
    // The same folder from elsewhere is added as a root.
    BoxAnswerer readTags(L"Confirmation", IDNO);
    DragAndDrop(TreeTarget(), {other.path()}, BelowTheItems());
    EXPECT_TRUE(PumpUntil([&] { return ItemOf(other.path() + L"\\") != nullptr; }, 30000)) << "the new root's item";
    PumpUntil([&] { return readTags.Done(); }, 30000);
}

TEST_F(DragDropTest, TheTreeForgetsADragFromItselfWhenTheDragEnds) {
    StartWithLibraryAndPlaylist();
    TreeTarget()->SetDragFromTree(true);
    SendMessageW(Tree(), kCommandMessage, kCmdClearDropHighlight, 0);
    EXPECT_FALSE(TreeTarget()->DragFromTree());
}

// A playlist never lists itself, dropped on its own node or inside a dropped folder; a read-only
// playlist refuses a drop before anything is added, with the message its save would give.
TEST_F(DragDropTest, APlaylistNeverListsItselfAndARefusedDropAddsNothing) {
    StartWithLibraryAndPlaylist();
    ASSERT_TRUE(SelectAndWaitForListing(PlaylistPath()));
    Paths before = EntriesOf(PlaylistPath());
    ASSERT_EQ(before.size(), 1u);
    DragAndDrop(TreeTarget(), {PlaylistPath()}, OnItem(PlaylistPath()));
    ASSERT_TRUE(WaitForDropsCollected());
    EXPECT_EQ(EntriesOf(PlaylistPath()), before);
    DragAndDrop(TreeTarget(), {Library()}, OnItem(PlaylistPath()));
    ASSERT_TRUE(WaitForDropsCollected());
    Paths withFolder = EntriesOf(PlaylistPath());
    EXPECT_EQ(withFolder.size(), 3u) << "the folder's two songs and nothing of the playlist itself";
    EXPECT_EQ(std::count(withFolder.begin(), withFolder.end(), PlaylistPath()), 0);

    SetFileAttributesW(PlaylistPath().c_str(), FILE_ATTRIBUTE_READONLY);
    BoxAnswerer error(L"Error", IDOK);
    EXPECT_EQ(DragAndDrop(TreeTarget(), {Library(L"Album\\two.mp3")}, OnItem(PlaylistPath())),
              static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_TRUE(PumpUntil([&] { return error.Done(); }, 30000));
    std::vector<std::wstring> texts = error.Join();
    SetFileAttributesW(PlaylistPath().c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(texts, std::vector<std::wstring>{L"File is read-only. You can't save to a read-only file."});
    EXPECT_EQ(EntriesOf(PlaylistPath()), withFolder);
}

}  // namespace
