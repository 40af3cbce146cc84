// Saving changed playlist roots at shutdown: only playlists with unsaved changes, only with
// autosave on, and the other kinds of root never; each save lands in the root's own file.
#include <gtest/gtest.h>

#include <vector>

#include "support/TempFolder.h"
#include "ui/view/PlaylistAutosave.h"

namespace {

const char kUntouched[] = "#EXTM3U\r\nold.mp3\r\n";

// A root of any kind over a real playlist file holding kUntouched; its entries are one file
// of the same folder, changed or not.
class StandInRoot : public Root {
public:
    StandInRoot(RootType type, const std::wstring& path, bool modified)
        : Root(Ref<TreeNode>::Make(type == RootType::kFolder ? NodeKind::kFolder : NodeKind::kPlaylist, path), 1),
          type_(type) {
        WriteBytes(path, kUntouched);
        node_->playlist = Ref<Playlist>::Make();
        node_->playlist->path = path;
        node_->playlist->SetEntries({Ref<FileRecord>::Make(std::wstring_view(ParentOf(path) + L"\\new.mp3"))});
        node_->playlist->modified = modified;
    }
    void Close() override {}
    bool Save() override { return false; }
    bool LoadContent(const RootLoader&, int) override { return true; }
    RootType Type() const override { return type_; }

    bool Written() const { return ReadBytes(Path()) != kUntouched; }

private:
    static std::wstring ParentOf(const std::wstring& path) { return path.substr(0, path.rfind(L'\\')); }
    RootType type_;
};

struct AutosaveCase {
    RootType type;
    bool modified;
    bool autosave;
    int expectedSaves;
};

TEST(PlaylistAutosaveTest, SavesOnlyChangedPlaylistsWhenAutosaveIsOn) {
    const AutosaveCase cases[] = {
        {RootType::kPlaylist, true, true, 1},
        {RootType::kPlaylist, false, true, 0},
        {RootType::kPlaylist, true, false, 0},
        {RootType::kPlaylist, false, false, 0},
        // A folder root's node may carry entries of its own; it has nothing to save.
        {RootType::kFolder, true, true, 0},
        {RootType::kSql, true, true, 0},
    };
    for (const AutosaveCase& c : cases) {
        TempFolder folder;
        auto root = Ref<StandInRoot>::Adopt(new StandInRoot(c.type, folder.File(L"list.m3u"), c.modified));
        int saved = SaveModifiedPlaylists({Ref<Root>(root)}, c.autosave, PlaylistWriteOptions());
        const char* what = c.expectedSaves ? "written" : "left alone";
        EXPECT_EQ(saved, c.expectedSaves)
            << "type " << static_cast<int>(c.type) << ", modified " << c.modified << ", autosave " << c.autosave;
        EXPECT_EQ(root->Written(), c.expectedSaves == 1) << what;
        if (c.expectedSaves) {
            EXPECT_EQ(ReadBytes(root->Path()), "#EXTM3U\r\nnew.mp3\r\n");
            EXPECT_FALSE(root->Node()->playlist->modified);
        }
    }
}

TEST(PlaylistAutosaveTest, EveryChangedPlaylistIsWrittenAndOnlyRealSavesCount) {
    TempFolder folder;
    auto first = Ref<StandInRoot>::Adopt(new StandInRoot(RootType::kPlaylist, folder.File(L"locked.m3u"), true));
    auto other = Ref<StandInRoot>::Adopt(new StandInRoot(RootType::kFolder, folder.File(L"other.m3u"), false));
    auto second = Ref<StandInRoot>::Adopt(new StandInRoot(RootType::kPlaylist, folder.File(L"second.m3u"), true));
    SetFileAttributesW(first->Path().c_str(), FILE_ATTRIBUTE_READONLY);
    // The first refuses (a read-only file): the second is still saved.
    EXPECT_EQ(SaveModifiedPlaylists({Ref<Root>(first), Ref<Root>(other), Ref<Root>(second)}, true, {}), 1);
    SetFileAttributesW(first->Path().c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_FALSE(first->Written());
    EXPECT_TRUE(first->Node()->playlist->modified) << "still unsaved";
    EXPECT_FALSE(other->Written());
    EXPECT_TRUE(second->Written());
}

}  // namespace
