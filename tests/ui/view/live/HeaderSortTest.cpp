// Header clicks sort the list through the view's real sort path: up then down with empty values
// last, and again and again while the worker reads the tags of the same rows from a slow
// player, for the rows in sight and for the whole list (F6), losing and miscounting nothing.
#include <gtest/gtest.h>

#include <string>

#include "bus/CommandCodes.h"
#include "livehost/LivePlugin.h"
#include "ui/view/CellText.h"

namespace {

class HeaderSortTest : public LivePluginTest {
protected:
    static constexpr int kFiles = 200;

    // f000.mp3 to f199.mp3, titled "Song 000" on, file k lasting k + 1 seconds: 20,100 s in all.
    void MakeLibrary() {
        for (int k = 0; k < kFiles; ++k) {
            wchar_t number[8];
            wsprintfW(number, L"%03d", k);
            AddLibraryFile(std::wstring(L"f") + number + L".mp3",
                           {{L"title", std::wstring(L"Song ") + number}, {L"length", std::to_wstring((k + 1) * 1000)}});
        }
    }

    void StartOnLibrary() {
        StoreFolderRoot(Library());
        StartPlugin();
        ASSERT_TRUE(SelectAndWaitForListing(Library()));
        ASSERT_EQ(ListCount(), kFiles);
    }

    // A row whose tags were not read shows its file name as its title.
    int FirstUntaggedRow() const {
        std::vector<std::wstring> titles = ColumnTexts(kColumnTitle);
        for (size_t i = 0; i < titles.size(); ++i)
            if (titles[i].rfind(L"f", 0) == 0) return static_cast<int>(i);
        return -1;
    }

    // Scrolls the row to the top and asks for the tags in sight, as scrolling does.
    void ShowAtTop(int row) const {
        ListView_EnsureVisible(List(), ListCount() - 1, FALSE);
        ListView_EnsureVisible(List(), row, FALSE);
        PostCommand(kCmdReadVisibleTags);
    }

    static constexpr wchar_t kCountTagged[] = L"SELECT COUNT(*) FROM Files WHERE tagged=1";
    static constexpr wchar_t kAllRead[] = L"200 file(s) scanned out of 200 file(s) found (05:35:00, 0.00 MB)";
    bool StatusSays(const wchar_t* text) const { return StatusText().rfind(text, 0) == 0; }
};

TEST_F(HeaderSortTest, ClicksSortUpThenDownWithEmptyValuesLast) {
    AddLibraryFile(L"a.mp3", {{L"title", L"Alpha"}, {L"length", L"61000"}});
    AddLibraryFile(L"b.mp3", {{L"title", L"Beta"}, {L"length", L"1000"}});
    AddLibraryFile(L"c.mp3");
    StoreFolderRoot(Library());
    StartPlugin();
    ASSERT_TRUE(SelectAndWaitForListing(Library()));
    ASSERT_TRUE(PumpUntil([this] { return StatusSays(L"3 file(s) scanned out of 3"); }, 20000)) << "tags read";

    using Texts = std::vector<std::wstring>;
    ClickHeader(kColumnTitle);
    EXPECT_EQ(ColumnTexts(kColumnTitle), (Texts{L"Alpha", L"Beta", L"c.mp3"}));
    EXPECT_EQ(Command(kCmdCurrentSortKey), -kColumnTitle);
    ClickHeader(kColumnTitle);
    EXPECT_EQ(ColumnTexts(kColumnTitle), (Texts{L"Beta", L"Alpha", L"c.mp3"})) << "no title stays last";
    EXPECT_EQ(Command(kCmdCurrentSortKey), kColumnTitle);

    ClickHeader(kColumnLength);
    EXPECT_EQ(ColumnTexts(kColumnTitle), (Texts{L"Beta", L"Alpha", L"c.mp3"})) << "shortest first, no length last";
    ClickHeader(kColumnLength);
    EXPECT_EQ(ColumnTexts(kColumnTitle), (Texts{L"Alpha", L"Beta", L"c.mp3"})) << "longest first, no length last";
    ClickHeader(kColumnNumber);
    EXPECT_EQ(ColumnTexts(kColumnTitle), (Texts{L"Beta", L"Alpha", L"c.mp3"})) << "\"#\" reverses the order";
    EXPECT_TRUE(StatusSays(L"3 file(s) scanned out of 3 file(s) found (00:01:02, 0.00 MB)")) << testing::PrintToString(StatusText());
}

// Each click comes right after the player answered for one row, while the worker still holds
// that row's notice or its next row. The view must neither reorder the rows under the worker
// nor count a notice against a row of the new order: the total time would then be wrong.
TEST_F(HeaderSortTest, SortingWhileTheRowsInSightAreReadKeepsEveryRowAndTheCounts) {
    MakeLibrary();
    Fake().tagDelayMs = 1;
    StartOnLibrary();
    for (int click = 0; click < 40; ++click) {
        int row = FirstUntaggedRow();
        if (row < 0) break;
        int asked = Fake().tagRequests;
        ShowAtTop(row);
        ASSERT_TRUE(PumpEachUntil([&] { return Fake().tagRequests > asked; }, 20000)) << "click " << click;
        ClickHeader(kColumnFilename);
    }
    for (int row = FirstUntaggedRow(); row >= 0; row = FirstUntaggedRow()) {
        ShowAtTop(row);
        ASSERT_TRUE(PumpEachUntil([&] { return FirstUntaggedRow() != row; }, 20000)) << "row " << row;
    }
    // The notices of the last rows may still be on their way.
    EXPECT_TRUE(PumpUntil([this] { return StatusSays(kAllRead); }, 20000)) << testing::PrintToString(StatusText());
    EXPECT_TRUE(PumpUntil([this] { return CountInCache(kCountTagged) == kFiles; }, 20000))
        << CountInCache(kCountTagged) << " rows tagged in the cache";
    ASSERT_TRUE(SelectAndWaitForListing(L""));
    ASSERT_TRUE(SelectAndWaitForListing(Library()));
    EXPECT_TRUE(StatusSays(kAllRead)) << "listed again: " << testing::PrintToString(StatusText());
}

// The user sorts while the player is still answering for a row: the view counts the rows of the
// new order before that row is read, and the read lands in the list just replaced. It must still
// count, or the status line stays a file short for good.
TEST_F(HeaderSortTest, ARowReadAcrossAHeaderClickStillCounts) {
    AddLibraryFile(L"a.mp3", {{L"title", L"Alpha"}, {L"length", L"1000"}});
    AddLibraryFile(L"b.mp3", {{L"title", L"Beta"}, {L"length", L"1000"}});
    AddLibraryFile(L"c.mp3", {{L"title", L"Gamma"}, {L"length", L"1000"}});
    StoreFolderRoot(Library());
    bool clicked = false;
    Fake().slowFile = L"b.mp3";
    Fake().answerSlowReadWhen = [&] {
        if (!clicked && ListCount() == 3) {
            clicked = true;
            ClickHeader(kColumnFilename);
        }
        return clicked;
    };
    StartPlugin();
    ASSERT_TRUE(SelectAndWaitForListing(Library()));
    ASSERT_TRUE(PumpUntil([this] { return CountInCache(kCountTagged) == 3; }, 20000))
        << CountInCache(kCountTagged) << " rows tagged in the cache";
    EXPECT_TRUE(clicked);
    EXPECT_TRUE(PumpUntil([this] { return StatusSays(L"3 file(s) scanned out of 3 file(s) found (00:00:03, "); }, 20000))
        << testing::PrintToString(StatusText());
}

// F6 hands the shown rows to the worker, which reads them by index; a click reverses their
// order after each row it reads.
TEST_F(HeaderSortTest, SortingWhileTheWholeListIsReadReadsEveryRow) {
    MakeLibrary();
    Fake().tagDelayMs = 1;
    StartOnLibrary();
    int listings = Listings();
    {
        BoxAnswerer yes(L"Confirmation", IDYES);
        SendMessageW(View(), WM_KEYDOWN, VK_F6, 0);
        std::vector<std::wstring> asked = yes.Join();
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_EQ(asked[0], L"Read all unread tags in current listview?");
    }
    EXPECT_EQ(ListCount(), 0) << "the list stands empty while the pass runs";
    for (int click = 0; click < 40 && Listings() == listings; ++click) {
        int asked = Fake().tagRequests;
        PumpEachUntil([&] { return Fake().tagRequests > asked || Listings() > listings; }, 20000);
        ClickHeader(kColumnFilename);
    }
    ASSERT_TRUE(PumpUntil([&] { return Listings() > listings; }, 60000)) << "listed again when the pass ended";
    EXPECT_EQ(CountInCache(kCountTagged), kFiles);
    EXPECT_TRUE(StatusSays(kAllRead)) << testing::PrintToString(StatusText());
}

}  // namespace
