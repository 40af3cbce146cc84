// The host playlist's rules the plugin relies on: inserts before an index, clamped positions,
// and the playing entry staying the same when entries are inserted before it.
#include <gtest/gtest.h>

#include "logic/PlaylistModel.h"

namespace {

PlaylistEntry Entry(const wchar_t* path) { return PlaylistEntry{path, L"", 0}; }

std::wstring Paths(const PlaylistModel& model) {
    std::wstring joined;
    for (int i = 0; i < model.Length(); ++i) joined += model.At(i)->path + L";";
    return joined;
}

TEST(PlaylistModelTest, InsertAfterCurrentKeepsOrderOfSuccessiveInserts) {
    PlaylistModel model;
    for (const wchar_t* path : {L"a", L"b", L"c", L"d", L"e"}) model.Append(Entry(path));
    model.SetPosition(1);
    // Enqueue after current: index = position + 1, + 2, ...
    model.Insert(2, Entry(L"x"));
    model.Insert(3, Entry(L"y"));
    EXPECT_EQ(L"a;b;x;y;c;d;e;", Paths(model));
    EXPECT_EQ(1, model.Position());
}

TEST(PlaylistModelTest, InsertBeforePlayingEntryMovesThePosition) {
    PlaylistModel model;
    for (const wchar_t* path : {L"a", L"b", L"c"}) model.Append(Entry(path));
    model.SetPosition(2);
    model.Insert(0, Entry(L"x"));
    EXPECT_EQ(3, model.Position());
    EXPECT_EQ(L"c", model.At(model.Position())->path);
}

TEST(PlaylistModelTest, OutOfRangeIndexesAreClamped) {
    PlaylistModel model;
    EXPECT_EQ(0, model.Insert(7, Entry(L"a")));
    EXPECT_EQ(0, model.Insert(-3, Entry(L"b")));
    EXPECT_EQ(2, model.Insert(99, Entry(L"c")));
    EXPECT_EQ(L"b;a;c;", Paths(model));
    model.SetPosition(10);
    EXPECT_EQ(2, model.Position());
    model.SetPosition(-1);
    EXPECT_EQ(0, model.Position());
    EXPECT_EQ(nullptr, model.At(3));
    EXPECT_EQ(nullptr, model.At(-1));
}

TEST(PlaylistModelTest, ClearResetsPositionButNotShuffle) {
    PlaylistModel model;
    model.Append(Entry(L"a"));
    model.Append(Entry(L"b"));
    model.SetPosition(1);
    model.SetShuffle(true);
    model.Clear();
    EXPECT_EQ(0, model.Length());
    EXPECT_EQ(0, model.Position());
    EXPECT_TRUE(model.Shuffle());
}

}  // namespace
