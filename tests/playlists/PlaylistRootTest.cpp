// A playlist root's own life: loaded, its file read on first listing, saved by itself (as
// without the view, with stored titles), and closed and loaded again.
#include <gtest/gtest.h>

#include "db/roots/PlaylistRoot.h"
#include "db/roots/RootLoader.h"
#include "playlists/PlaylistFile.h"
#include "playlists/PlaylistTestSupport.h"

namespace {

class NoFolders : public RootLoader {
public:
    bool LoadFolderRoot(FolderRoot&, int) const override { return false; }
};

TEST(PlaylistRootTest, ReadsOnFirstListingSavesAndReadsAfreshAfterClosing) {
    TempFolder folder;
    std::wstring path = folder.File(L"list.m3u");
    WriteBytes(path, "#EXTM3U\r\n#EXTINF:61,Kept title\r\na.mp3\r\nb.mp3\r\n");
    auto root = Ref<PlaylistRoot>::Adopt(new PlaylistRoot(path, 1));
    ASSERT_TRUE(root->Load(NoFolders(), 0));
    Playlist& entries = *root->Entries();
    EXPECT_EQ(entries.EntryCount(), 0u) << "nothing is read until the entries are listed";
    ASSERT_TRUE(LoadPlaylistIfNeeded(entries));
    ASSERT_EQ(entries.EntryCount(), 2u);

    EXPECT_FALSE(root->Save()) << "nothing changed";
    entries.EditEntries([](Playlist::Entries& e) { std::swap(e[0], e[1]); });
    entries.modified = true;
    EXPECT_TRUE(root->Save());
    EXPECT_EQ(ReadBytes(path), "#EXTM3U\r\nb.mp3\r\n#EXTINF:61,Kept title\r\na.mp3\r\n");
    EXPECT_FALSE(entries.HasUnsavedChanges());

    // An edit dropped by closing is not kept over the file at the next load.
    entries.EditEntries([](Playlist::Entries& e) { e.pop_back(); });
    entries.modified = true;
    root->Close();
    EXPECT_EQ(entries.EntryCount(), 0u);
    EXPECT_FALSE(entries.HasUnsavedChanges());
    ASSERT_TRUE(root->Load(NoFolders(), 0));
    ASSERT_TRUE(LoadPlaylistIfNeeded(entries));
    EXPECT_EQ(PathsOf(entries), (std::vector<std::wstring>{folder.File(L"b.mp3"), folder.File(L"a.mp3")}));
}

}  // namespace
