// A player that misbehaves: tag answers that fill the whole buffer without a terminator,
// numbers far outside any length, a 10,000-character title, no frame window, and notices
// (a file started, a display change, menu commands, queued keys) arriving while the plugin
// shuts down and after it has quit. None may crash, hang or corrupt what is stored.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "bus/Messages.h"
#include "db/FileRecord.h"
#include "host/HostApi.h"
#include "scan/MediaExtensions.h"
#include "livehost/LivePlugin.h"
#include "livehost/ShutdownChecks.h"

namespace {

// Only a guard against a hang: every step here ends within a second or two.
constexpr DWORD kHangMs = 60000;

class HostileHostTest : public LivePluginTest {
protected:
    std::wstring Stored(const wchar_t* column, const wchar_t* file) const {
        return std::to_wstring(CountInCache((std::wstring(L"SELECT ") + column + L" FROM Files WHERE filename='" + file + L"'").c_str()));
    }
};

// Numbers are taken up to the first non-digit and held within 32 bits; a length below zero
// adds nothing to the shown total, which would otherwise wrap round to nonsense.
TEST_F(HostileHostTest, UnterminatedAndOutOfRangeTagAnswersAreCutAndCountedSoundly) {
    AddLibraryFile(L"long.mp3", {{L"title", std::wstring(10000, L'T')}, {L"length", L"61000"}});
    AddLibraryFile(L"minus.mp3", {{L"title", L"Minus"}, {L"length", L"-1"}, {L"year", L"-2147483649"}});
    AddLibraryFile(L"huge.mp3", {{L"title", L"Huge"}, {L"length", L"-2147483648"}, {L"track", L"2147483648"},
                                 {L"bitrate", L"99999999999999999999"}});
    Fake().unterminatedTags = true;
    StoreFolderRoot(Library());
    StartPlugin();
    ASSERT_TRUE(SelectAndWaitForListing(Library()));
    ASSERT_TRUE(PumpUntil([this] { return StatusText().rfind(L"3 file(s) scanned out of 3", 0) == 0; }, 20000))
        << testing::PrintToString(StatusText());
    // "61000" repeated to fill the buffer is one long number: the largest length there is.
    EXPECT_EQ(StatusText().rfind(L"3 file(s) scanned out of 3 file(s) found (596:31:23, ", 0), 0u)
        << testing::PrintToString(StatusText());
    EXPECT_EQ(Stored(L"length(title)", L"long.mp3"), L"259") << "the buffer less its terminator";
    EXPECT_EQ(Stored(L"length(title)", L"minus.mp3"), L"259");
    EXPECT_EQ(Stored(L"length", L"minus.mp3"), L"-1");
    EXPECT_EQ(Stored(L"length", L"huge.mp3"), L"-2147483647");
    EXPECT_EQ(Stored(L"track", L"huge.mp3"), L"2147483647");
    EXPECT_EQ(Stored(L"year", L"minus.mp3"), L"-2147483647");
    HangGuard guard("closing after garbage tags", kHangMs);
    CloseAndQuit();
}

TEST_F(HostileHostTest, WithoutAFrameWindowThePluginStartsAndQuitsQuietly) {
    AddLibraryFile(L"a.mp3");
    StoreFolderRoot(Library());
    Fake().noFrame = true;
    HangGuard guard("a start and quit without a frame", kHangMs);
    ASSERT_EQ(record->init(), 0);
    started = true;
    PumpFor(2000);
    EXPECT_TRUE(Fake().frames.empty());
    CloseAndQuitAtOnce();
}

// Every notice the player may send its main window, sent and posted, before the close
// request, between it and Quit, and after Quit, when the plugin has let go of the window.
TEST_F(HostileHostTest, NoticesDuringAndAfterShutdownAreHandledQuietly) {
    AddLibraryFile(L"a.mp3");
    StoreFolderRoot(Library());
    UINT menuCommand = Fake().nextCommandId;  // the first id the plugin asks for is its menu entry's
    StartPlugin();
    std::wstring playing = Library(L"a.mp3");
    MSG queuedKey = {host, WM_SYSKEYDOWN, 'D', 0, 0, {0, 0}};
    auto notify = [&](bool post) {
        auto deliver = [post](HWND window, UINT message, WPARAM wp, LPARAM lp) {
            if (post) PostMessageW(window, message, wp, lp);
            else SendMessageW(window, message, wp, lp);
        };
        deliver(host, kHostMessage, reinterpret_cast<WPARAM>(playing.c_str()), kHostFileStarted);
        deliver(host, kHostMessage, reinterpret_cast<WPARAM>(&queuedKey), kHostQueuedMessage);
        deliver(host, WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768));
        deliver(host, WM_COMMAND, menuCommand, 0);
        deliver(host, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(Fake().mainMenu), 0);
        deliver(host, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(Fake().secondMenu), 4);
    };
    HangGuard guard("notices during shutdown", kHangMs);
    notify(false);
    notify(true);
    SendMessageW(host, WM_CLOSE, 0, 0);
    notify(false);
    notify(true);
    record->quit();
    quit = true;
    notify(false);
    notify(true);
    Pump();
    EXPECT_EQ(CountInCache(L"SELECT COUNT(*) FROM Files"), 1);
    EXPECT_GE(CountInCache(L"SELECT playcount FROM Files WHERE filename='a.mp3'"), 1) << "the play before the close";
}

// The command message on the player's window is open to any program or plugin: only a tag
// request the worker made and still waits for is read. A record nobody asked about, a stray
// number and a block of noise are all answered 0 without being read.
TEST_F(HostileHostTest, CommandWordsThatAreNoAwaitedTagRequestAreIgnoredUnread) {
    AddLibraryFile(L"a.mp3", {{L"title", L"A"}});
    StoreFolderRoot(Library());
    StartPlugin();
    Ref<FileRecord> stranger = Ref<FileRecord>::Make(Library(L"a.mp3"));
    std::string noise(64, '\xff');
    int asked = Fake().tagRequests;
    HangGuard guard("foreign command words", kHangMs);
    EXPECT_EQ(SendMessageW(host, kCommandMessage, reinterpret_cast<WPARAM>(stranger.get()), 0), 0);
    EXPECT_EQ(SendMessageW(host, kCommandMessage, 0x10, 0), 0);
    EXPECT_EQ(SendMessageW(host, kCommandMessage, reinterpret_cast<WPARAM>(noise.data()), 0), 0);
    EXPECT_EQ(Fake().tagRequests, asked);
    EXPECT_FALSE(stranger->tagged);
    CloseAndQuit();
}

// The worker asks the host for its playable extensions while the host's thread wants the same
// set: the request waits for that thread, which must not wait for the worker in turn.
TEST_F(HostileHostTest, TheExtensionRequestNeverWaitsOnTheHostsThread) {
    StartPlugin();
    ReleaseSharedMediaExtensions();
    HangGuard guard("the extension request from two threads", kHangMs);
    Ref<MediaExtensions> fromWorker;
    std::atomic<bool> answered{false};
    std::thread worker([&] {
        fromWorker = SharedMediaExtensions();
        answered = true;
    });
    ASSERT_TRUE(WaitForSentMessage(10000)) << "the other thread asks the host";
    Ref<MediaExtensions> fromHost = SharedMediaExtensions();
    EXPECT_TRUE(fromHost->Contains(L"mp3"));
    while (!answered) {
        Pump();
        Sleep(1);
    }
    worker.join();
    EXPECT_EQ(fromWorker.get(), fromHost.get()) << "one set for everybody";
    CloseAndQuit();
}

}  // namespace
