// Changes on disk reach the list and the tree through the real view: notices are collected,
// wait for the quiet time, are handed to the worker and refresh the list; repeated "modified"
// notices of one file are applied once; with auto-refresh off they are dropped; and while the
// "read tags?" question is open they wait without bouncing between the view and the worker.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>

#include "base/TextObject.h"
#include "bus/CommandCodes.h"
#include "bus/Messages.h"
#include "db/TreeNode.h"
#include "livehost/LivePlugin.h"
#include "scan/ChangeNotice.h"
#include "ui/view/ViewCommandCodes.h"

namespace {

class LiveAutoRefreshTest : public LivePluginTest {
protected:
    // A watched root holding the given files, started and listed.
    void StartOverRoot(std::initializer_list<const wchar_t*> files) {
        CreateDirectoryW(Library().c_str(), nullptr);
        for (const wchar_t* name : files) WriteBytes(Library(name), "x");
        StoreFolderRoot(Library());
        StartPlugin();
        ASSERT_TRUE(SelectAndWaitForListing(Library()));
    }

    bool Listed(const std::wstring& name) const {
        std::vector<std::wstring> names = ColumnTexts(1);
        return std::find(names.begin(), names.end(), name) != names.end();
    }

    // A fresh listing of the selected folder, as the cache has it now.
    bool Relist() {
        int before = Listings();
        PostCommand(kCmdRefreshList, 0);
        return WaitForListing(before);
    }

    // What a files watcher posts for a file of the root.
    void PostFileNotice(const std::wstring& name, ChangeAction action) {
        PostCommand(kCmdFileChanged, reinterpret_cast<LPARAM>(new ChangeNotice(Library(name), action, RootOf(Library()))));
    }
};

TEST_F(LiveAutoRefreshTest, NewFilesAndFoldersReachListAndTree) {
    WritePrivateProfileStringW(L"General", L"Display tree playlists", L"1", SettingsPath().c_str());
    StartOverRoot({L"a.mp3"});
    Command(kOptSetAutoRefreshWait, 0);
    WriteBytes(Library(L"b.mp3"), "x");
    CreateDirectoryW(Library(L"Sub").c_str(), nullptr);
    // The file comes through the file notice and the list's refresh, the folder through the
    // folder notice and the worker's report of a new folder.
    EXPECT_TRUE(PumpUntil([this] { return Listed(L"b.mp3"); }, 30000)) << "list has " << ListCount() << " rows";
    EXPECT_TRUE(PumpUntil([this] { return ItemOf(Library(L"Sub\\")) != nullptr; }, 30000));
    EXPECT_EQ(ListCount(), 2);
    // A playlist written later gets its node, as a scan would have given it.
    WriteBytes(Library(L"later.m3u"), "a.mp3\r\n");
    EXPECT_TRUE(PumpUntil([this] { return ItemOf(Library(L"later.m3u")) != nullptr; }, 30000));

    // A folder reported for a root that left the tree meanwhile has no place in it, least of
    // all under "My Library".
    std::wstring elsewhere = folder.File(L"Elsewhere\\");
    int before = CommandsReceived(kCmdFolderAdded);
    PostCommand(kCmdFolderAdded, reinterpret_cast<LPARAM>(new TreeNode(NodeKind::kFolder, elsewhere)));
    ASSERT_TRUE(PumpUntil([&] { return CommandsReceived(kCmdFolderAdded) > before; }, 5000));
    PumpFor(50);
    EXPECT_EQ(ItemOf(elsewhere), nullptr);
}

TEST_F(LiveAutoRefreshTest, NoticesWaitForTheQuietTime) {
    StartOverRoot({L"a.mp3"});
    Command(kOptSetAutoRefreshWait, 120);
    WriteBytes(Library(L"c.mp3"), "x");
    ASSERT_TRUE(PumpUntil([] { return CommandsReceived(kCmdFileChanged) > 0; }, 30000));
    PumpFor(1000);
    ASSERT_TRUE(Relist());
    EXPECT_FALSE(Listed(L"c.mp3")) << "handed over before the folder was quiet for the wait";
    // The next notice restarts the quiet time with the wait now in force, and the queue goes
    // over whole: the held file comes with it.
    Command(kOptSetAutoRefreshWait, 0);
    WriteBytes(Library(L"d.mp3"), "x");
    EXPECT_TRUE(PumpUntil([this] { return Listed(L"c.mp3") && Listed(L"d.mp3"); }, 30000))
        << "list has " << ListCount() << " rows";
}

TEST_F(LiveAutoRefreshTest, RepeatedModificationsOfOneFileAreAppliedOnce) {
    StartOverRoot({L"a.mp3", L"b.mp3"});
    ASSERT_TRUE(PumpUntil([this] { return StatusText().rfind(L"2 file(s) scanned out of 2", 0) == 0; }, 20000));
    // No visible-row pass may ask for tags meanwhile: only applied notices do.
    Command(kOptSetDisableTagReading, 1);
    Command(kOptSetAutoRefreshWait, 0);
    std::map<std::wstring, int>& asked = Fake().tagRequestsByName;
    int aBefore = asked[L"a.mp3"], bBefore = asked[L"b.mp3"];
    for (int i = 0; i < 3; ++i) PostFileNotice(L"a.mp3", ChangeAction::kModified);
    ASSERT_TRUE(PumpUntil([&] { return asked[L"a.mp3"] > aBefore; }, 30000));
    // The worker applies notices in order, so once b's single one is applied, a's are too.
    PostFileNotice(L"b.mp3", ChangeAction::kModified);
    ASSERT_TRUE(PumpUntil([&] { return asked[L"b.mp3"] > bBefore; }, 30000));
    EXPECT_EQ(asked[L"a.mp3"] - aBefore, asked[L"b.mp3"] - bBefore) << "a.mp3 was read again more than once";
}

TEST_F(LiveAutoRefreshTest, AutoRefreshOffDropsNotices) {
    StartOverRoot({L"a.mp3"});
    Command(kOptSetAutoRefresh, 0);
    Command(kOptSetAutoRefreshWait, 0);
    WriteBytes(Library(L"e.mp3"), "x");
    ASSERT_TRUE(PumpUntil([] { return CommandsReceived(kCmdFileChanged) > 0; }, 30000));
    // Time for a queued notice to go over, were it queued.
    PumpFor(500);
    ASSERT_TRUE(Relist());
    EXPECT_FALSE(Listed(L"e.mp3"));
    EXPECT_EQ(ListCount(), 1);
}

// The question after a root's first scan holds the pending-update count up for as long as the
// user takes to answer; notices that come meanwhile must neither spin nor be lost.
TEST_F(LiveAutoRefreshTest, NoticesWaitWithoutSpinningWhileTheTagQuestionIsOpen) {
    StartOverRoot({L"a.mp3"});
    Command(kOptSetAutoRefreshWait, 0);
    const int kNewFiles = 3;
    std::atomic<int> noticesWhileOpen{-1};
    std::atomic<bool> answered{false};
    BoxAnswerer answer(L"Confirmation", IDYES, [&] {
        for (int i = 0; i < kNewFiles; ++i) WriteBytes(Library(L"new" + std::to_wstring(i) + L".mp3"), "x");
        for (int i = 0; i < 1500 && CommandsReceived(kCmdFileChanged) == 0; ++i) Sleep(20);
        // A window to count in, not a condition waited for: a notice bouncing between the
        // threads comes back thousands of times in it.
        Sleep(1500);
        noticesWhileOpen = CommandsReceived(kCmdFileChanged);
        answered = true;
    });
    PostCommand(kCmdOfferTagReading, PassText(Library()));
    ASSERT_TRUE(PumpUntil([&] { return answered.load(); }, 60000));
    ASSERT_EQ(answer.Join().size(), 1u);
    EXPECT_GE(noticesWhileOpen.load(), 1) << "the watcher reported nothing while the question was open";
    EXPECT_LE(noticesWhileOpen.load(), 4 * kNewFiles) << "notices bounced while the question was open";
    // Once the tag pass the answer started is over, the held notices go through.
    EXPECT_TRUE(PumpUntil([this] { return ListCount() == kNewFiles + 1; }, 30000))
        << "list has " << ListCount() << " rows";
    for (int i = 0; i < kNewFiles; ++i) EXPECT_TRUE(Listed(L"new" + std::to_wstring(i) + L".mp3")) << i;
}

}  // namespace
