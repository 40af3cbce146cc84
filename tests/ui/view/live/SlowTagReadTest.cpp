// A host that reads one file too slowly for the plugin: the rows the user sees give the file up
// after two seconds and a whole-list pass (F6) after ten, each going on with the next file; the
// file stays unread in the row, the status line and the cache, the next pass tries it again,
// and a pass that gave files up says how many.
#include <gtest/gtest.h>

#include <memory>
#include <utility>

#include "livehost/LivePlugin.h"
#include "ui/view/CellText.h"
#include "bus/CommandCodes.h"

namespace {

const wchar_t kCountTagged[] = L"SELECT COUNT(*) FROM Files WHERE tagged=1";
const wchar_t kSlowTagged[] = L"SELECT COUNT(*) FROM Files WHERE filename='b.mp3' AND tagged=1";
// Twice the plugin's wait for a row the user sees.
constexpr DWORD kVisibleRowsGaveUpMs = 4000;

class SlowTagReadTest : public LivePluginTest {
protected:
    void MakeLibrary() {
        AddLibraryFile(L"a.mp3", {{L"title", L"Alpha"}, {L"length", L"1000"}});
        AddLibraryFile(L"b.mp3", {{L"title", L"Beta"}, {L"length", L"1000"}});
        AddLibraryFile(L"c.mp3", {{L"title", L"Gamma"}, {L"length", L"1000"}});
        StoreFolderRoot(Library());
    }
    // b.mp3 is answered only once the plugin has moved on to c.mp3, or, where it may stop at b
    // instead (a visible-rows pass gives way to other work), well after it stopped waiting:
    // always too late. The host handles c's request while it holds b's, as a player busy
    // reading a file still answers what other threads send it. A message sent meanwhile is no
    // sign of giving up: the test's own box watcher reads window texts across threads.
    static void HostAnswersBTooLate(DWORD atLatestMs = INFINITE) {
        Fake().slowFile = L"b.mp3";
        struct Hold { int read = -1, cAsked = 0; DWORD start = 0; };
        auto hold = std::make_shared<Hold>();
        Fake().answerSlowReadWhen = [hold, atLatestMs] {
            int asked = Fake().tagRequestsByName[L"c.mp3"];
            if (hold->read != Fake().slowReads) *hold = {Fake().slowReads, asked, GetTickCount()};
            return asked > hold->cAsked || GetTickCount() - hold->start > atLatestMs;
        };
    }
    bool WaitForStatus(const std::wstring& text) const {
        return PumpUntil([&] { return StatusText().rfind(text, 0) == 0; }, 20000);
    }
    std::wstring TitleShownFor(const wchar_t* name) const {
        std::vector<std::wstring> names = ColumnTexts(kColumnFilename);
        for (size_t row = 0; row < names.size(); ++row)
            if (names[row] == name) return ColumnTexts(kColumnTitle)[row];
        return L"<no row>";
    }
};

TEST_F(SlowTagReadTest, AVisibleRowAnsweredTooLateStaysUnreadUntilTheNextPass) {
    MakeLibrary();
    HostAnswersBTooLate(kVisibleRowsGaveUpMs);
    StartPlugin();
    ASSERT_TRUE(SelectAndWaitForListing(Library()));
    ASSERT_TRUE(PumpUntil([&] { return CountInCache(kCountTagged) == 2; }, 30000))
        << "a and c are read; " << CountInCache(kCountTagged) << " tagged";
    EXPECT_GE(Fake().slowReads, 1);
    EXPECT_TRUE(WaitForStatus(L"2 file(s) scanned out of 3 file(s) found"))
        << "the late answer is not counted: " << testing::PrintToString(StatusText());
    EXPECT_EQ(CountInCache(kSlowTagged), 0);
    EXPECT_NE(TitleShownFor(L"b.mp3"), L"Beta") << "the row is left as it was";
    EXPECT_EQ(TitleShownFor(L"c.mp3"), L"Gamma") << "the pass went on with the next file";

    // The host is quick again: scrolling reads the row that was given up.
    Fake().slowFile.clear();
    PostCommand(kCmdReadVisibleTags);
    EXPECT_TRUE(PumpUntil([&] { return CountInCache(kSlowTagged) == 1; }, 20000)) << "b is read again";
    EXPECT_TRUE(WaitForStatus(L"3 file(s) scanned out of 3 file(s) found")) << testing::PrintToString(StatusText());
    EXPECT_EQ(TitleShownFor(L"b.mp3"), L"Beta");
}

// The one ten-second wait of the tests: F6 over three files, the middle one answered too late.
TEST_F(SlowTagReadTest, AWholeListPassCountsTheFileItGaveUpAndReadsTheRest) {
    MakeLibrary();
    for (const wchar_t* part : {L"docs", L"docs\\Crateview"}) CreateDirectoryW(folder.File(part).c_str(), nullptr);
    // Only F6 reads: the rows shown are not read by themselves.
    WritePrivateProfileStringW(L"General", L"Disable tag reading", L"1", SettingsPath().c_str());
    StartPlugin();
    ASSERT_TRUE(SelectAndWaitForListing(Library()));
    ASSERT_EQ(ListCount(), 3);
    HostAnswersBTooLate();
    int listings = Listings();
    {
        BoxAnswerer yes(L"Confirmation", IDYES);
        SendMessageW(View(), WM_KEYDOWN, VK_F6, 0);
        ASSERT_EQ(yes.Join().size(), 1u);
    }
    BoxAnswerer report(L"Error", IDOK);
    ASSERT_TRUE(PumpUntil([&] { return report.Done(); }, 90000));
    std::vector<std::wstring> texts = report.Join();
    ASSERT_EQ(texts.size(), 1u) << "the pass reports what it gave up";
    EXPECT_EQ(texts[0], L"1 file(s) was not read properly.");
    EXPECT_EQ(Fake().slowReads, 1);
    EXPECT_GT(Fake().tagRequestsByName[L"c.mp3"], 0) << "the pass went on with the next file";
    EXPECT_EQ(CountInCache(kCountTagged), 2);
    EXPECT_EQ(CountInCache(kSlowTagged), 0);
    ASSERT_TRUE(PumpUntil([&] { return Listings() > listings; }, 20000)) << "listed again after the pass";
    EXPECT_EQ(TitleShownFor(L"a.mp3"), L"Alpha");
    EXPECT_NE(TitleShownFor(L"b.mp3"), L"Beta");
}

}  // namespace
