// F5 reads what the tree has selected from disk again, with auto-refresh off: one sub-folder
// and nothing else, or every root from "My Library", while the view stands busy exactly until
// the new listing arrives. A root whose folder is gone keeps what the cache holds.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "KeyboardFixture.h"
#include "bus/CommandCodes.h"
#include "ui/view/CellText.h"

namespace {

class RefreshKeyTest : public KeyboardTest {
protected:
    void SetUp() override {
        KeyboardTest::SetUp();
        WriteSetting(L"General", L"Auto-refresh", L"0");
    }

    long long Stored(const std::wstring& name) const {
        std::wstring sql = L"SELECT COUNT(*) FROM Files WHERE file_exists=1 AND filename='" + name + L"'";
        return CountInCache(sql.c_str());
    }

    // Rows of the file whether or not the cache takes it for present now.
    long long Rows(const std::wstring& name) const {
        std::wstring sql = L"SELECT COUNT(*) FROM Files WHERE filename='" + name + L"'";
        return CountInCache(sql.c_str());
    }

    bool Listed(const std::wstring& name) const {
        std::vector<std::wstring> names = ColumnTexts(kColumnFilename);
        return std::find(names.begin(), names.end(), name) != names.end();
    }

    bool SearchBoxDisabled() const { return (GetWindowLongPtrW(Search(), GWL_STYLE) & WS_DISABLED) != 0; }
    // "My Library" is what start-up selects.
    bool LibrarySelected() const { return TreeView_GetSelection(Tree()) == ItemOf(L""); }
    HWND ClearButton() const { return GetDlgItem(View(), kClearButton); }
};

TEST_F(RefreshKeyTest, SubFolderIsReadAgainAndNothingElse) {
    AddLibraryFile(L"A\\a1.mp3");
    AddLibraryFile(L"B\\b1.mp3");
    StoreFolderRoot(Library());
    StartPlugin();
    ASSERT_TRUE(SelectAndWaitForListing(Library(L"A\\")));
    ASSERT_EQ(ListCount(), 1);
    AddLibraryFile(L"A\\a2.mp3");
    AddLibraryFile(L"B\\b2.mp3");
    AddLibraryFile(L"top.mp3");

    int rescans = CommandsReceived(kCmdFolderRescanned);
    Press(Tree(), VK_F5);
    EXPECT_TRUE(PumpUntil([this] { return Listed(L"a2.mp3"); }, 30000)) << "list has " << ListCount() << " rows";
    EXPECT_EQ(ListCount(), 2);
    EXPECT_EQ(Stored(L"a2.mp3"), 1);
    EXPECT_EQ(Stored(L"b2.mp3"), 0) << "the sibling folder was read too";
    EXPECT_EQ(Stored(L"top.mp3"), 0) << "the root's own folder was read too";
    EXPECT_EQ(CommandsReceived(kCmdFolderRescanned) - rescans, 1);
    EXPECT_TRUE(IsWindowEnabled(Tree()));
}

TEST_F(RefreshKeyTest, LibraryReadsEveryRootWhileTheViewStandsBusy) {
    StartOverRoots({L"One\\1.mp3", L"Two\\2.mp3"});
    AddLibraryFile(L"One\\new1.mp3");
    AddLibraryFile(L"Two\\new2.mp3");

    int before = Listings();
    PressOnly(Tree(), VK_F5);
    EXPECT_FALSE(IsWindowEnabled(Tree()));
    EXPECT_TRUE(SearchBoxDisabled());
    EXPECT_FALSE(IsWindowEnabled(ClearButton()));
    EXPECT_EQ(Focused(), List()) << "the keys go on in the list";

    ASSERT_TRUE(PumpUntil([&] { return Listings() > before && Listed(L"new1.mp3") && Listed(L"new2.mp3"); }, 30000))
        << "list has " << ListCount() << " rows";
    EXPECT_EQ(Stored(L"new1.mp3"), 1);
    EXPECT_EQ(Stored(L"new2.mp3"), 1);
    EXPECT_TRUE(IsWindowEnabled(Tree()));
    EXPECT_FALSE(SearchBoxDisabled());
    EXPECT_TRUE(IsWindowEnabled(ClearButton()));
}

TEST_F(RefreshKeyTest, RootWhoseFolderIsGoneKeepsItsRows) {
    StartOverRoots({L"Here\\here.mp3", L"Away\\away.mp3"});
    ASSERT_EQ(Rows(L"away.mp3"), 1);
    CloseAndQuit();
    // As when its drive is unplugged between two sessions.
    ASSERT_TRUE(MoveFileW(Library(L"Away").c_str(), Library(L"Elsewhere").c_str()));
    BeginNextLife();
    StartPlugin();
    ASSERT_TRUE(LibrarySelected());
    AddLibraryFile(L"Here\\more.mp3");
    ASSERT_EQ(Rows(L"away.mp3"), 1) << "kept through the start without its folder";

    Press(Tree(), VK_F5);
    ASSERT_TRUE(PumpUntil([this] { return Listed(L"more.mp3"); }, 30000));
    EXPECT_EQ(Rows(L"away.mp3"), 1) << "the missing root's rows were dropped";

    // The root itself selected: nothing is read, and the view is at once usable again.
    ASSERT_TRUE(SelectAndWaitForListing(Library(L"Away\\")));
    Press(Tree(), VK_F5);
    EXPECT_EQ(Rows(L"away.mp3"), 1);
    EXPECT_TRUE(IsWindowEnabled(Tree()));
}

}  // namespace
