// Collecting a folder's files for a drop: recursion, the extension filter, the position the
// records go in at, and linked folders that must not be followed.
#include <gtest/gtest.h>

#include "playlists/CollectFiles.h"
#include "playlists/PlaylistTestSupport.h"

namespace {

class CollectFilesTest : public testing::Test {
protected:
    void SetUp() override {
        CreateDirectoryW(folder.File(L"Album").c_str(), nullptr);
        CreateDirectoryW(folder.File(L"Album\\Disc 2").c_str(), nullptr);
        WriteBytes(folder.File(L"a.mp3"), "123");
        WriteBytes(folder.File(L"notes.txt"), "x");
        WriteBytes(folder.File(L"Album\\b.FLAC"), "12345");
        WriteBytes(folder.File(L"Album\\Disc 2\\c.mp3"), "1");
    }
    static std::vector<std::wstring> Sorted(std::vector<std::wstring> paths) {
        std::sort(paths.begin(), paths.end());
        return paths;
    }
    std::vector<std::wstring> PathsIn(const Playlist::Entries& entries) const {
        std::vector<std::wstring> paths;
        for (const Ref<FileRecord>& entry : entries) paths.push_back(entry->Path());
        return paths;
    }

    TempFolder folder;
};

TEST_F(CollectFilesTest, TakesEveryFileBelowThatPassesTheFilter) {
    Playlist::Entries entries;
    ExtensionFilter media = [](const std::wstring& extension) {
        return _wcsicmp(extension.c_str(), L"mp3") == 0 || _wcsicmp(extension.c_str(), L"flac") == 0;
    };
    EXPECT_EQ(CollectFiles(folder.path(), entries, -1, media), -1);
    EXPECT_EQ(Sorted(PathsIn(entries)), Sorted({folder.File(L"a.mp3"), folder.File(L"Album\\b.FLAC"),
                                                folder.File(L"Album\\Disc 2\\c.mp3")}));
    for (const Ref<FileRecord>& entry : entries) {
        EXPECT_EQ(entry->fileId, -1);
        EXPECT_FALSE(entry->remote);
        EXPECT_NE(entry->changed, 0);
        if (entry->FileName() == L"b.FLAC") EXPECT_EQ(entry->size, 5);
    }
    Playlist::Entries everything;
    CollectFiles(folder.path(), everything, -1, nullptr);
    EXPECT_EQ(everything.size(), 4u) << "no filter: every file";
}

TEST_F(CollectFilesTest, InsertsAtThePositionAndMovesItOn) {
    Playlist::Entries entries = {Ref<FileRecord>::Make(std::wstring_view(L"C:\\first.mp3")),
                                 Ref<FileRecord>::Make(std::wstring_view(L"C:\\last.mp3"))};
    int after = CollectFiles(folder.File(L"Album"), entries, 1, nullptr);
    EXPECT_EQ(after, 3);
    std::vector<std::wstring> paths = PathsIn(entries);
    ASSERT_EQ(paths.size(), 4u);
    EXPECT_EQ(paths.front(), L"C:\\first.mp3");
    EXPECT_EQ(paths.back(), L"C:\\last.mp3");
    EXPECT_EQ(Sorted({paths[1], paths[2]}), Sorted({folder.File(L"Album\\b.FLAC"), folder.File(L"Album\\Disc 2\\c.mp3")}));
}

// A junction back to the folder itself would be entered forever.
class LoopingFolder : public PlaylistStorage {
public:
    bool ListFolder(const std::wstring& folder, std::vector<StoredFileInfo>& entries) override {
        ++listings;
        entries.push_back({L"song.mp3", FILE_ATTRIBUTE_NORMAL, 1, 1});
        entries.push_back({L"loop", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT, 0, 0});
        return !folder.empty();
    }
    int listings = 0;
};

TEST_F(CollectFilesTest, LinkedFoldersAreNotEntered) {
    LoopingFolder storage;
    Playlist::Entries entries;
    CollectFiles(L"C:\\x", entries, -1, nullptr, storage);
    EXPECT_EQ(storage.listings, 1);
    EXPECT_EQ(PathsIn(entries), std::vector<std::wstring>{L"C:\\x\\song.mp3"});
}

}  // namespace
