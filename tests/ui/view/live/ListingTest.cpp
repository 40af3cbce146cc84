// The view lists a stored root's folder with the tags the player reports for its files.
#include <gtest/gtest.h>

#include "livehost/LivePlugin.h"

namespace {

class LiveListingTest : public LivePluginTest {};

TEST_F(LiveListingTest, FolderListsItsFilesWithTheirTags) {
    CreateDirectoryW(Library().c_str(), nullptr);
    for (const wchar_t* name : {L"b.mp3", L"a.mp3", L"c.mp3"}) WriteBytes(Library(name), "x");
    Fake().tags[L"a.mp3"] = {{L"title", L"Alpha"}, {L"length", L"61000"}};
    Fake().tags[L"b.mp3"] = {{L"title", L"Beta"}, {L"length", L"1000"}};
    StoreFolderRoot(Library());
    StartPlugin();
    ASSERT_TRUE(SelectAndWaitForListing(Library(L"")));
    ASSERT_EQ(ListCount(), 3);
    // Tags arrive for the rows shown; the titles sort the next listing (by default by title,
    // descending, with rows without a title last).
    EXPECT_TRUE(PumpUntil([this] { return StatusText().rfind(L"3 file(s) scanned out of 3", 0) == 0; }, 20000))
        << "status: " << testing::PrintToString(StatusText());
    ASSERT_TRUE(SelectAndWaitForListing(L""));
    ASSERT_TRUE(SelectAndWaitForListing(Library(L"")));
    EXPECT_EQ(ColumnTexts(1), (std::vector<std::wstring>{L"Beta", L"Alpha", L"c.mp3"}));
}

}  // namespace
