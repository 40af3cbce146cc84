// A folder root added while the player's thread is busy: the worker posts the notice that shows
// the root, scans it, and then sends the notice that it is loaded. A sent notice is handled
// before anything posted, so the loaded root arrives before the view has shown it; its
// sub-folders must still reach the tree, and the root must be there once.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "base/TextObject.h"
#include "bus/CommandCodes.h"
#include "livehost/FakeHost.h"
#include "livehost/LivePlugin.h"
#include "ui/view/ViewCommandCodes.h"

namespace {

class RootAddedTest : public LivePluginTest {
protected:
    int TopLevelItems() const {
        int count = 0;
        for (HTREEITEM item = TreeView_GetChild(Tree(), ItemOf(L"")); item; item = TreeView_GetNextSibling(Tree(), item))
            ++count;
        return count;
    }
};

TEST_F(RootAddedTest, RootLoadedBeforeItWasShownKeepsItsSubFolders) {
    AddLibraryFile(L"Sub\\a.mp3");
    AddLibraryFile(L"Sub\\Deeper\\b.mp3");
    StartPlugin();
    BoxAnswerer noTags(L"Confirmation", IDNO);
    int added = CommandsReceived(kCmdAddFolderRootPath);
    PostCommand(kCmdAddFolderRootPath, PassText(Library()));
    ASSERT_TRUE(PumpUntil([&] { return CommandsReceived(kCmdAddFolderRootPath) > added; }, 10000));
    // The player's thread is busy elsewhere while the worker shows, scans and loads the root.
    Sleep(3000);
    EXPECT_TRUE(PumpUntil([&] { return ItemOf(Library(L"Sub\\Deeper\\")) != nullptr; }, 20000))
        << "the root's sub-folders never reached the tree";
    EXPECT_TRUE(PumpUntil([&] { return noTags.Done(); }, 20000));
    EXPECT_EQ(TopLevelItems(), 1) << "the root was shown twice";
    EXPECT_TRUE(PumpUntil([&] { return IsWindowEnabled(Tree()) != FALSE; }, 20000)) << "the tree stayed busy";
}

}  // namespace
