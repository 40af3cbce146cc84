// The player reports the file it plays (code 1072): the row shows the new play count at once,
// as the cache has it, and a later listing shows the same count.
#include <gtest/gtest.h>

#include <algorithm>

#include "base/TextObject.h"
#include "bus/CommandCodes.h"
#include "livehost/LivePlugin.h"
#include "ui/view/CellText.h"

namespace {

class PlayingRowTest : public LivePluginTest {
protected:
    std::wstring PlayCountOf(const wchar_t* name) const {
        std::vector<std::wstring> names = ColumnTexts(kColumnFilename);
        auto row = std::find(names.begin(), names.end(), name);
        return row == names.end() ? L"<no row>" : ColumnTexts(kColumnPlaycount)[static_cast<size_t>(row - names.begin())];
    }
    void Play(const wchar_t* name) const { Command(kCmdPlayingFileChanged, PassText(Library(name))); }
};

TEST_F(PlayingRowTest, ThePlayingRowShowsItsPlayAtOnce) {
    for (const wchar_t* name : {L"a.mp3", L"b.mp3"}) AddLibraryFile(name);
    StoreFolderRoot(Library());
    StartPlugin();
    ASSERT_TRUE(SelectAndWaitForListing(Library()));
    ASSERT_EQ(PlayCountOf(L"a.mp3"), L"0");

    Play(L"a.mp3");
    EXPECT_EQ(PlayCountOf(L"a.mp3"), L"1");
    EXPECT_EQ(PlayCountOf(L"b.mp3"), L"0");
    EXPECT_EQ(CountInCache(L"SELECT COUNT(*) FROM Files WHERE filename='a.mp3' AND playcount=1"), 1);
    Play(L"b.mp3");
    Play(L"a.mp3");
    EXPECT_EQ(PlayCountOf(L"a.mp3"), L"2");
    EXPECT_EQ(PlayCountOf(L"b.mp3"), L"1");

    ASSERT_TRUE(SelectAndWaitForListing(L""));
    ASSERT_TRUE(SelectAndWaitForListing(Library()));
    EXPECT_EQ(PlayCountOf(L"a.mp3"), L"2") << "the cache counted the same plays";
    EXPECT_EQ(PlayCountOf(L"b.mp3"), L"1");
}

}  // namespace
