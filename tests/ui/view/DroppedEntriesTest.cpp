// What dropped paths do to a playlist and to the roots, on real folders: folders bring their
// media files with sub-folders, files dropped on an entry go before it, and a drop on the
// tree's empty space adds a folder or a playlist file as a root.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/TempFolder.h"
#include "ui/view/ViewCommandCodes.h"
#include "ui/view/drop/DroppedEntries.h"

namespace {

using Paths = std::vector<std::wstring>;

bool TakesAudio(const std::wstring& extension) { return extension == L"mp3" || extension == L"flac"; }

// A drop on a tree item: files as they are named, all appended.
size_t AppendDroppedPaths(Playlist& playlist, const Paths& paths) {
    return AddDroppedEntries(playlist, GatherDroppedEntries(paths, {}, &TakesAudio), nullptr);
}
// A drop on the list: looked-up files before the entry, or appended below the last row.
size_t InsertDroppedPaths(Playlist& playlist, const Paths& paths, const FileRecord* before) {
    DropPlacement placement{before != nullptr, true};
    return AddDroppedEntries(playlist, GatherDroppedEntries(paths, placement, &TakesAudio), before);
}

Paths PathsOf(const Playlist& playlist) {
    Paths paths;
    for (const Ref<FileRecord>& entry : playlist.CopyEntries()) paths.push_back(entry->Path());
    return paths;
}

class DroppedEntriesTest : public testing::Test {
protected:
    void SetUp() override {
        CreateDirectoryW(folder.File(L"Album").c_str(), nullptr);
        CreateDirectoryW(folder.File(L"Album\\Disc 2").c_str(), nullptr);
        WriteBytes(folder.File(L"Album\\a.mp3"), "aaaa");
        WriteBytes(folder.File(L"Album\\notes.txt"), "n");
        WriteBytes(folder.File(L"Album\\Disc 2\\b.flac"), "bb");
        WriteBytes(folder.File(L"loose.mp3"), "12345");
        playlist.path = folder.File(L"list.m3u8");
        playlist.SetEntries({Ref<FileRecord>::Make(std::wstring_view(L"C:\\x.mp3")),
                             Ref<FileRecord>::Make(std::wstring_view(L"C:\\y.mp3"))});
    }

    TempFolder folder;
    Playlist playlist;
};

TEST_F(DroppedEntriesTest, FolderOnAPlaylistAppendsItsMediaFilesSubFoldersIncluded) {
    size_t added = AppendDroppedPaths(playlist, {folder.File(L"Album")});
    EXPECT_EQ(added, 2u);
    // After the two there were, in whatever order the folder lists them.
    Paths expected = {L"C:\\x.mp3", L"C:\\y.mp3", folder.File(L"Album\\Disc 2\\b.flac"), folder.File(L"Album\\a.mp3")};
    Paths got = PathsOf(playlist);
    std::sort(got.begin() + 2, got.end());
    EXPECT_EQ(got, expected);
    EXPECT_TRUE(playlist.modified);
}

// A folder dragged out of the tree carries its trailing backslash.
TEST_F(DroppedEntriesTest, FolderDraggedFromTheTreeWithItsBackslashIsAFolder) {
    EXPECT_EQ(AppendDroppedPaths(playlist, {folder.File(L"Album\\Disc 2\\")}), 1u);
    EXPECT_EQ(PathsOf(playlist).back(), folder.File(L"Album\\Disc 2\\b.flac"));
}

TEST_F(DroppedEntriesTest, FilesDroppedOnAnEntryGoBeforeItInReverseOrderWithSizeAndTime) {
    Ref<FileRecord> second = playlist.CopyEntries()[1];
    std::wstring loose = folder.File(L"loose.mp3");
    std::wstring missing = folder.File(L"gone.mp3");
    size_t added = InsertDroppedPaths(playlist, {loose, missing}, second.get());
    EXPECT_EQ(added, 2u);
    Paths expected = {L"C:\\x.mp3", missing, loose, L"C:\\y.mp3"};
    EXPECT_EQ(PathsOf(playlist), expected);
    Playlist::Entries entries = playlist.CopyEntries();
    EXPECT_EQ(entries[2]->size, 5);
    EXPECT_NE(entries[2]->changed, 0);
    EXPECT_EQ(entries[1]->size, 0);
    EXPECT_EQ(entries[2]->fileId, -1);
    EXPECT_TRUE(playlist.modified);
}

TEST_F(DroppedEntriesTest, BelowTheLastRowEverythingIsAppendedInOrder) {
    std::wstring loose = folder.File(L"loose.mp3");
    InsertDroppedPaths(playlist, {loose, folder.File(L"Album\\Disc 2")}, nullptr);
    Paths expected = {L"C:\\x.mp3", L"C:\\y.mp3", loose, folder.File(L"Album\\Disc 2\\b.flac")};
    EXPECT_EQ(PathsOf(playlist), expected);
}

// A file dropped on the tree is taken as it is named; the list looks it up for its columns.
TEST_F(DroppedEntriesTest, FileOnATreePlaylistIsAppendedWithoutALookUp) {
    AppendDroppedPaths(playlist, {folder.File(L"loose.mp3")});
    EXPECT_EQ(playlist.CopyEntries().back()->size, 0);
}

TEST_F(DroppedEntriesTest, AFolderWithoutMediaChangesNothing) {
    CreateDirectoryW(folder.File(L"Empty").c_str(), nullptr);
    WriteBytes(folder.File(L"Empty\\readme.txt"), "r");
    EXPECT_EQ(InsertDroppedPaths(playlist, {folder.File(L"Empty")}, nullptr), 0u);
    EXPECT_EQ(playlist.EntryCount(), 2u);
    EXPECT_FALSE(playlist.modified);
}

TEST(EmptyTreeSpaceTest, FoldersAndPlaylistFilesBecomeRootsUnlessDraggedFromTheTree) {
    struct Case {
        const wchar_t* path;
        bool folder;
        bool fromTree;
        WPARAM expected;
    };
    const Case cases[] = {
        {L"C:\\Music", true, false, kCmdAddFolderRootPath},
        {L"C:\\Lists\\mix.m3u8", false, false, kCmdAddPlaylistRootPath},
        {L"C:\\Lists\\OLD.M3U", false, false, kCmdAddPlaylistRootPath},
        {L"C:\\Lists\\notes.txt", false, false, 0},
        {L"C:\\Lists\\m3u", false, false, 0},
        {L"C:\\Music\\", true, true, 0},
        {L"C:\\Lists\\mix.m3u8", false, true, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EmptyTreeSpaceCommand(c.path, c.folder, c.fromTree), c.expected) << c.path;
}

}  // namespace
