// Enter, Shift+Enter, Ctrl+Enter and Alt+Enter in the list and in the tree hand the files to
// the host as a user expects: play, enqueue, enqueue and play, insert after the playing entry;
// "Disable ENTER-key" silences plain Enter alone.
#include <gtest/gtest.h>

#include "KeyboardFixture.h"
#include "ui/view/CellText.h"

namespace {

using Texts = std::vector<std::wstring>;
using Inserts = std::vector<std::pair<std::wstring, int>>;

class PlayKeysTest : public KeyboardTest {
protected:
    void StartOverThreeFiles() {
        for (const wchar_t* name : {L"a.mp3", L"b.mp3", L"c.mp3"}) AddLibraryFile(name);
        StoreFolderRoot(Library());
        StartPlugin();
        ASSERT_TRUE(SelectAndWaitForListing(Library()));
        ASSERT_EQ(ListCount(), 3);
        paths = ColumnTexts(kColumnFilepath);
    }

    bool PlaylistIs(const Texts& expected) const {
        return PumpUntil([&] { return Fake().playlist == expected; }, 10000);
    }

    Texts paths;
};

TEST_F(PlayKeysTest, EnterKeysInTheListActOnTheSelectedRows) {
    StartOverThreeFiles();
    SelectRows({0, 2});
    Press(List(), VK_RETURN);
    EXPECT_TRUE(PlaylistIs({paths[0], paths[2]})) << "Enter plays the selection";
    EXPECT_EQ(Fake().position, 0);

    Fake().playlist = {L"x", L"y"};
    Press(List(), VK_RETURN, kShift);
    EXPECT_TRUE(PlaylistIs({L"x", L"y", paths[0], paths[2]})) << "Shift+Enter enqueues";
    EXPECT_EQ(Fake().position, 0) << "enqueueing leaves the playing entry alone";

    Press(List(), VK_RETURN, kCtrl);
    EXPECT_TRUE(PlaylistIs({L"x", L"y", paths[0], paths[2], paths[0], paths[2]}));
    EXPECT_EQ(Fake().position, 4) << "Ctrl+Enter plays the first file it appended";

    // Alt+Enter while entry 4 plays puts the files right after it.
    Fake().playlist = {L"0", L"1", L"2", L"3", L"4", L"5"};
    Fake().position = 4;
    Press(List(), VK_RETURN, kAlt);
    EXPECT_TRUE(PlaylistIs({L"0", L"1", L"2", L"3", L"4", paths[0], paths[2], L"5"}));
    EXPECT_EQ(Inserted(), (Inserts{{paths[0], 5}, {paths[2], 6}}));
}

TEST_F(PlayKeysTest, EnterKeysInTheTreeActOnEverythingUnderTheNode) {
    StartOverThreeFiles();
    Press(Tree(), VK_RETURN);
    EXPECT_TRUE(PlaylistIs(paths)) << "Enter plays the folder in the list's order";

    Press(Tree(), VK_RETURN, kShift);
    EXPECT_TRUE(PlaylistIs({paths[0], paths[1], paths[2], paths[0], paths[1], paths[2]}));

    Fake().playlist = {L"0", L"1"};
    Press(Tree(), VK_RETURN, kCtrl);
    EXPECT_TRUE(PlaylistIs({L"0", L"1", paths[0], paths[1], paths[2]}));
    EXPECT_EQ(Fake().position, 2);

    Fake().playlist = {L"0", L"1"};
    Fake().position = 0;
    Press(Tree(), VK_RETURN, kAlt);
    EXPECT_EQ(Inserted(), (Inserts{{paths[0], 1}, {paths[1], 2}, {paths[2], 3}}));
}

TEST_F(PlayKeysTest, DisabledEnterKeyLeavesPlainEnterSilentInBothPanes) {
    WriteSetting(L"General", L"Disable ENTER-key", L"1");
    StartOverThreeFiles();
    SelectRows({1});
    // Each pane's plain Enter comes first: had it played, the playlist would have been
    // replaced before the enqueue that follows.
    Fake().playlist = {L"kept"};
    Press(List(), VK_RETURN);
    Press(List(), VK_RETURN, kShift);
    EXPECT_TRUE(PlaylistIs({L"kept", paths[1]})) << "list: Shift+Enter still enqueues";

    Press(Tree(), VK_RETURN);
    Press(Tree(), VK_RETURN, kShift);
    EXPECT_TRUE(PlaylistIs({L"kept", paths[1], paths[0], paths[1], paths[2]})) << "tree: Shift+Enter still enqueues";
    EXPECT_TRUE(Inserted().empty());
}

}  // namespace
