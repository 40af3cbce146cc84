// F6 reads the tags of the listed files after asking: plain F6 and the tree menu's "Read tags"
// ask about the unread ones, Ctrl+F6 about all of them; the list then shows the tags; No
// leaves everything alone; Escape stops a pass that is under way and lists the rows again.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "KeyboardFixture.h"
#include "bus/CommandCodes.h"
#include "ui/view/CellText.h"

namespace {

using Texts = std::vector<std::wstring>;

const wchar_t kUnreadQuestion[] = L"Read all unread tags in current listview?";
const wchar_t kAllQuestion[] = L"Read all tags in current listview";

class ReadTagsKeyTest : public KeyboardTest {
protected:
    // Files whose tags the host knows but the list has not read.
    void StartOverUnreadFiles(int count) {
        WriteSetting(L"General", L"Disable tag reading", L"1");
        for (int i = 0; i < count; ++i)
            AddLibraryFile(L"f" + std::to_wstring(i) + L".mp3", {{L"title", L"Title " + std::to_wstring(i)}});
        StoreFolderRoot(Library());
        StartPlugin();
        ASSERT_TRUE(SelectAndWaitForListing(Library()));
        ASSERT_EQ(ListCount(), count);
    }

    Texts SortedTitles() const {
        Texts titles = ColumnTexts(kColumnTitle);
        std::sort(titles.begin(), titles.end());
        return titles;
    }

    int RequestsFor(const wchar_t* name) const {
        auto found = Fake().tagRequestsByName.find(name);
        return found == Fake().tagRequestsByName.end() ? 0 : found->second;
    }

    // Presses F6 with the modifiers, answers Yes and waits for the list that follows the pass.
    std::wstring ReadTagsAnsweringYes(Modifiers held) {
        BoxAnswerer yes(L"Confirmation", IDYES);
        int passes = CommandsReceived(kCmdTagPassDone);
        int before = Listings();
        Press(List(), VK_F6, held);
        EXPECT_TRUE(PumpUntil([&] { return yes.Done() && CommandsReceived(kCmdTagPassDone) > passes && Listings() > before; }, 30000));
        Texts asked = yes.Join();
        return asked.empty() ? L"" : asked.front();
    }
};

TEST_F(ReadTagsKeyTest, F6ReadsTheUnreadTagsAndCtrlF6EveryFile) {
    StartOverUnreadFiles(2);
    EXPECT_EQ(SortedTitles(), (Texts{L"f0.mp3", L"f1.mp3"}));
    EXPECT_EQ(ReadTagsAnsweringYes({}), kUnreadQuestion);
    EXPECT_TRUE(PumpUntil([this] { return SortedTitles() == Texts{L"Title 0", L"Title 1"}; }, 10000))
        << testing::PrintToString(SortedTitles());
    // The host is asked once per tag of a file read.
    int perFile = RequestsFor(L"f0.mp3");
    EXPECT_GT(perFile, 0);
    EXPECT_EQ(RequestsFor(L"f1.mp3"), perFile);

    ReadTagsAnsweringYes({});
    EXPECT_EQ(RequestsFor(L"f0.mp3"), perFile) << "no file was left unread";
    EXPECT_EQ(ReadTagsAnsweringYes(kCtrl), kAllQuestion);
    EXPECT_EQ(RequestsFor(L"f0.mp3"), 2 * perFile);
    EXPECT_EQ(RequestsFor(L"f1.mp3"), 2 * perFile);
}

TEST_F(ReadTagsKeyTest, NoLeavesTheListAndTheTreeMenuAsksAboutUnreadTagsOnly) {
    StartOverUnreadFiles(1);
    BoxAnswerer no(L"Confirmation", IDNO, 2);
    Press(List(), VK_F6, kCtrl);
    // The tree menu's "Read tags" posts F6 with 1 to the view, here with Ctrl held.
    PostKeyDown(View(), VK_F6, 1, kCtrl);
    ASSERT_TRUE(PumpUntil([&] { return no.Done(); }, 30000));
    EXPECT_EQ(no.Join(), (Texts{kAllQuestion, kUnreadQuestion}));
    Pump();
    EXPECT_EQ(Fake().tagRequests, 0);
    EXPECT_EQ(ListCount(), 1);
    EXPECT_TRUE(IsWindowEnabled(Tree()));
}

// Escape is pressed while the host answers the first file's tags: the pass must end there.
class EscapeDuringTagsTest : public ReadTagsKeyTest {
protected:
    static EscapeDuringTagsTest* current;
    static WNDPROC hostProc;
    bool escaped = false;

    static LRESULT CALLBACK EscapeOnFirstRequest(HWND window, UINT message, WPARAM wp, LPARAM lp) {
        if (message == kHostMessage && lp == kHostExtendedFileInfo && current && !current->escaped) {
            current->escaped = true;
            current->PressOnly(current->List(), VK_ESCAPE);
        }
        return CallWindowProcW(hostProc, window, message, wp, lp);
    }

    void EscapeWhenTagsAreAsked() {
        current = this;
        hostProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(host, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EscapeOnFirstRequest)));
    }

    void TearDown() override {
        current = nullptr;
        ReadTagsKeyTest::TearDown();
    }
};

EscapeDuringTagsTest* EscapeDuringTagsTest::current = nullptr;
WNDPROC EscapeDuringTagsTest::hostProc = nullptr;

TEST_F(EscapeDuringTagsTest, EscapeStopsThePassAndListsTheRowsAgain) {
    StartOverUnreadFiles(12);
    EscapeWhenTagsAreAsked();
    BoxAnswerer yes(L"Confirmation", IDYES);
    int before = Listings();
    Press(List(), VK_F6);
    ASSERT_TRUE(PumpUntil([&] { return yes.Done() && CommandsReceived(kCmdTagPassDone) > 0 && Listings() > before; }, 30000));
    EXPECT_TRUE(escaped);
    EXPECT_EQ(Fake().tagRequestsByName.size(), 1u) << "files read after Escape";
    EXPECT_TRUE(PumpUntil([this] { return ListCount() == 12; }, 10000)) << "the rows are listed again";
    EXPECT_TRUE(IsWindowEnabled(Tree()));
}

}  // namespace
