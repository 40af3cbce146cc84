// Closing the player while the worker is waiting for the interface thread to answer it, and
// Quit with or without a close before it: each ends promptly, leaves no thread of the plugin
// running, loses nothing stored or remembered, and gives the host's windows back.
#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>

#include "base/TextObject.h"
#include "bus/CommandCodes.h"
#include "bus/Messages.h"
#include "bus/WindowRegistry.h"
#include "livehost/LivePlugin.h"
#include "livehost/ShutdownChecks.h"
#include "scan/MediaExtensions.h"
#include "ui/view/ViewCommandCodes.h"

namespace {

// Only a guard against a hang: a prompt shutdown takes well under a second.
constexpr DWORD kPromptMs = 10000;

class ShutdownTest : public LivePluginTest {
protected:
    // Two folders of files under the library.
    void MakeLibrary() {
        CreateDirectoryW(Library().c_str(), nullptr);
        CreateDirectoryW(Library(L"Live").c_str(), nullptr);
        for (const wchar_t* name : {L"a.mp3", L"b.mp3", L"Live\\c.mp3"}) WriteBytes(Library(name), "x");
    }

    // Init and the start-up command alone: the view and the worker exist, and the worker is
    // held inside its first send (it asks the host for the playable extensions) until this
    // thread answers sent messages.
    void StartUntilWorkerSends() {
        // Whatever an earlier plugin life in this program left, this start-up asks the host.
        ReleaseSharedMediaExtensions();
        ASSERT_EQ(record->init(), 0);
        started = true;
        ASSERT_TRUE(DeliverOnePosted(host, kCommandMessage, kCommandMessage)) << "the start-up command";
        ASSERT_NE(View(), nullptr);
        ASSERT_TRUE(WaitForSentMessage(20000)) << "the worker asks the host at start-up";
    }

    long long FileRows() const { return CountInCache(L"SELECT COUNT(*) FROM Files"); }
    long long RootRows() const { return CountInCache(L"SELECT COUNT(*) FROM Roots"); }
};

TEST_F(ShutdownTest, ClosingWhileStartUpAsksTheHostEndsPromptlyAndKeepsTheCache) {
    MakeLibrary();
    StoreFolderRoot(Library());
    StartPlugin();
    CloseAndQuit();
    ASSERT_EQ(FileRows(), 3) << "the first life stores the library";

    BeginNextLife();
    std::set<DWORD> before = ThreadsOfThisProcess();
    StartUntilWorkerSends();
    SetWindowTextW(Search(), L"river");
    EXPECT_LT(CloseAndQuitAtOnce(), kPromptMs);
    EXPECT_EQ(ThreadsStartedSince(before), std::set<DWORD>{});
    EXPECT_EQ(Fake().extensionRequests, 1) << "the worker's question was answered while Quit waited";
    EXPECT_EQ(RootRows(), 1);
    EXPECT_EQ(FileRows(), 3);
    EXPECT_EQ(ReadIni(SettingsPath(), L"General", L"Last search"), L"river");
}

// The user adds a folder while start-up is still asking the host, and the player closes at
// once: the added root is kept for the next start, which scans it.
TEST_F(ShutdownTest, ClosingWithAnAddedRootQueuedEndsPromptlyAndKeepsTheRoot) {
    MakeLibrary();
    std::set<DWORD> before = ThreadsOfThisProcess();
    StartUntilWorkerSends();
    Command(kCmdAddFolderRootPath, PassText(Library()));
    EXPECT_LT(CloseAndQuitAtOnce(), kPromptMs);
    EXPECT_EQ(ThreadsStartedSince(before), std::set<DWORD>{}) << "the worker and any watcher";
    EXPECT_EQ(RootRows(), 1);
    EXPECT_EQ(ReadIni(SettingsPath(), L"Window", L"Visible"), L"0");

    BeginNextLife();
    StartPlugin();
    CloseAndQuit();
    EXPECT_EQ(FileRows(), 3);
}

// The host closes before its loop has delivered the start-up command: no frame is asked of a
// host that is shutting down, and no view or worker is made only to be stopped.
TEST_F(ShutdownTest, AHostClosingBeforeStartUpIsAskedForNoFrame) {
    ASSERT_EQ(record->init(), 0);
    started = true;
    SendMessageW(host, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_EQ(Fake().embed, nullptr);
    EXPECT_EQ(View(), nullptr);
    EXPECT_LT(CloseAndQuitAtOnce(false), kPromptMs);
}

// A closing host may already be letting go of what reads the files: the worker's pending tag
// request is answered without asking it.
TEST_F(ShutdownTest, ATagRequestPendingAtCloseIsNotPutToTheHost) {
    CreateDirectoryW(Library().c_str(), nullptr);
    for (int i = 0; i < 40; ++i) WriteBytes(Library(L"track" + std::to_wstring(i) + L".mp3"), "x");
    StartPlugin();
    BoxAnswerer readTags(L"Confirmation", IDYES);
    PostCommand(kCmdAddFolderRootPath, PassText(Library()));
    ASSERT_TRUE(PumpUntil([] { return Fake().tagRequests > 0; }, 30000)) << "the new root's tags are being read";
    readTags.Join();
    ASSERT_TRUE(WaitForSentMessage(20000)) << "the worker asks for the next file's tags";
    int asked = Fake().tagRequests;
    EXPECT_LT(CloseAndQuitAtOnce(), kPromptMs);
    EXPECT_EQ(Fake().tagRequests, asked);
}

// A host that calls Quit without its close request: the close sequence runs all the same.
TEST_F(ShutdownTest, QuitWithoutCloseGivesTheEditorBackAndSavesWhatTheViewRemembers) {
    Fake().editor = CreateFakeFrame(L"editor", RECT{0, 0, 100, 100});
    LONG_PTR editorProc = GetWindowLongPtrW(Fake().editor, GWLP_WNDPROC);
    MakeLibrary();
    StoreFolderRoot(Library());
    std::set<DWORD> before = ThreadsOfThisProcess();
    StartUntilWorkerSends();
    ASSERT_NE(GetWindowLongPtrW(Fake().editor, GWLP_WNDPROC), editorProc) << "the editor's menu is hooked";
    SetWindowTextW(Search(), L"river");

    EXPECT_LT(CloseAndQuitAtOnce(false), kPromptMs);
    EXPECT_EQ(ThreadsStartedSince(before), std::set<DWORD>{});
    EXPECT_EQ(FileRows(), 0) << "the start-up scan was called off, not run to its end while Quit waited";
    EXPECT_EQ(GetWindowLongPtrW(Fake().editor, GWLP_WNDPROC), editorProc) << "the editor's own procedure is back";
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, kHostPlaylistMenuFirstItem, L"Play");
    for (UINT id = 1; id < 12; ++id) AppendMenuW(menu, MF_STRING, 50000 + id, L"Item");
    SendMessageW(Fake().editor, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
    EXPECT_EQ(GetMenuItemCount(menu), 12) << "no \"Send to\" once the plugin has quit";
    DestroyMenu(menu);
    EXPECT_EQ(ReadIni(SettingsPath(), L"General", L"Last search"), L"river");
    EXPECT_EQ(ReadIni(SettingsPath(), L"Window", L"Visible"), L"0");
    EXPECT_NE(ReadIni(SettingsPath(), L"List", L"Title"), L"<none>");
}

// The player writes a frame's rectangle into its record for as long as the frame lives, and a
// frame may well be showing when Quit comes: the record must outlive the frame, and the place
// saved is where the frame was.
TEST_F(ShutdownTest, AFrameShowingAtQuitKeepsItsRecordUntilItIsGone) {
    StartPlugin();
    HWND frame = GetWindow(kFrameWindowId);
    ASSERT_NE(frame, nullptr);
    PostMessageW(frame, kCommandMessage, kCmdShowFrame, 0);
    ASSERT_TRUE(PumpUntil([frame] { return IsWindowVisible(frame) != FALSE; }, 10000));
    MoveWindow(frame, 20, 30, 400, 300, TRUE);

    EXPECT_LT(CloseAndQuitAtOnce(false), kPromptMs);
    DestroyFakeHost();
    EXPECT_FALSE(IsWindow(frame));
    EXPECT_EQ(Fake().writesIntoFreedRecord, 0) << "the host wrote into a record the plugin had freed";
    EXPECT_EQ(ReadIni(SettingsPath(), L"Window", L"Left"), L"20");
    EXPECT_EQ(ReadIni(SettingsPath(), L"Window", L"Bottom"), L"330");
}

// The player may load the plugin again without the process ending, in a host that plays other
// types: the second life scans what the second host plays.
TEST_F(ShutdownTest, ASecondLifeCollectsTheSecondHostsExtensions) {
    CreateDirectoryW(Library().c_str(), nullptr);
    for (const wchar_t* name : {L"a.mp3", L"b.ogg"}) WriteBytes(Library(name), "x");
    StoreFolderRoot(Library());
    ReleaseSharedMediaExtensions();
    Fake().playableExtensions = {L"mp3"};
    StartPlugin();
    CloseAndQuit();
    ASSERT_EQ(CountInCache(L"SELECT COUNT(*) FROM Files WHERE filename='b.ogg'"), 0);

    BeginNextLife();
    Fake().playableExtensions = {L"mp3", L"ogg"};
    StartPlugin();
    CloseAndQuit();
    EXPECT_EQ(Fake().extensionRequests, 1);
    EXPECT_EQ(CountInCache(L"SELECT COUNT(*) FROM Files WHERE filename='b.ogg' AND file_exists=1"), 1);
    EXPECT_EQ(CountInCache(L"SELECT COUNT(*) FROM Files WHERE file_exists=1"), 2);
}

}  // namespace
