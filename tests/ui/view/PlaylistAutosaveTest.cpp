// Saving changed playlist roots at shutdown: only playlists with unsaved changes, only with
// autosave on, and the other kinds of root never.
#include <gtest/gtest.h>

#include <vector>

#include "ui/view/PlaylistAutosave.h"

namespace {

// A root that records the saves asked of it and answers them as told.
class StandInRoot : public Root {
public:
    StandInRoot(RootType type, bool modified, bool saves = true)
        : Root(Ref<TreeNode>::Make(type == RootType::kFolder ? NodeKind::kFolder : NodeKind::kPlaylist,
                                   L"C:\\music\\list.m3u"),
               1),
          type_(type), saves_(saves) {
        node_->playlist = Ref<Playlist>::Make();
        node_->playlist->modified = modified;
    }
    void Close() override {}
    bool Save() override {
        ++saveCalls;
        return saves_;
    }
    bool Load(const RootLoader&, int) override { return true; }
    RootType Type() const override { return type_; }

    int saveCalls = 0;

private:
    RootType type_;
    bool saves_;
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
        auto root = Ref<StandInRoot>::Adopt(new StandInRoot(c.type, c.modified));
        int saved = SaveModifiedPlaylists({Ref<Root>(root)}, c.autosave);
        EXPECT_EQ(root->saveCalls, c.expectedSaves)
            << "type " << static_cast<int>(c.type) << ", modified " << c.modified << ", autosave " << c.autosave;
        EXPECT_EQ(saved, c.expectedSaves);
    }
}

TEST(PlaylistAutosaveTest, EveryChangedPlaylistIsAskedAndOnlyRealSavesCount) {
    auto first = Ref<StandInRoot>::Adopt(new StandInRoot(RootType::kPlaylist, true, false));
    auto folder = Ref<StandInRoot>::Adopt(new StandInRoot(RootType::kFolder, false));
    auto second = Ref<StandInRoot>::Adopt(new StandInRoot(RootType::kPlaylist, true));
    // The first refuses (a read-only file): the second is still saved.
    EXPECT_EQ(SaveModifiedPlaylists({Ref<Root>(first), Ref<Root>(folder), Ref<Root>(second)}, true), 1);
    EXPECT_EQ(first->saveCalls, 1);
    EXPECT_EQ(folder->saveCalls, 0);
    EXPECT_EQ(second->saveCalls, 1);
}

}  // namespace
