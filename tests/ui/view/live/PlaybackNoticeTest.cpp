// The host reports each file it starts, not only inside the plugin's own Play command: a short
// while after it, and again whenever an entry ends and the next one begins by itself. The view
// counts each play in its row and in the cache as the notices come.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "livehost/LivePlugin.h"
#include "ui/view/CellText.h"
#include "bus/CommandCodes.h"
#include "bus/Messages.h"

namespace {

class PlaybackNoticeTest : public LivePluginTest {
protected:
    std::wstring PlayCountOf(const std::wstring& path) const {
        std::vector<std::wstring> names = ColumnTexts(kColumnFilename);
        for (size_t row = 0; row < names.size(); ++row)
            if (Library(names[row]) == path) return ColumnTexts(kColumnPlaycount)[row];
        return L"<no row>";
    }
    long long StoredPlays(const std::wstring& path) const {
        std::wstring sql = L"SELECT playcount FROM Files WHERE filename='" + path.substr(path.rfind(L'\\') + 1) + L"'";
        return CountInCache(sql.c_str());
    }
    std::vector<std::wstring> PlayCounts() const {
        std::vector<std::wstring> counts;
        for (const std::wstring& path : Fake().playlist) counts.push_back(PlayCountOf(path));
        return counts;
    }
};

TEST_F(PlaybackNoticeTest, PlaysAreCountedAsTheHostMovesFromEntryToEntry) {
    for (const wchar_t* name : {L"a.mp3", L"b.mp3", L"c.mp3"}) AddLibraryFile(name);
    StoreFolderRoot(Library());
    StartPlugin();
    ASSERT_TRUE(SelectAndWaitForListing(Library()));
    Fake().startDelayMs = 200;
    ListView_SetItemState(List(), -1, LVIS_SELECTED, LVIS_SELECTED);
    SendMessageW(List(), kCommandMessage, kCmdRunMenuCommand, kMenuPlay);
    ASSERT_TRUE(PumpUntil([] { return Fake().playbackState == 1; }, 20000)) << "the rows are played";
    ASSERT_EQ(Fake().playlist.size(), 3u);

    // The notice comes from the host's own loop once the file has started.
    ASSERT_TRUE(PumpUntil([&] { return PlayCountOf(Fake().playlist[0]) == L"1"; }, 20000));
    EXPECT_EQ(PlayCounts(), (std::vector<std::wstring>{L"1", L"0", L"0"}));
    EXPECT_EQ(StoredPlays(Fake().playlist[0]), 1);

    // The first entry ends: the host goes on with the next by itself.
    AdvanceFakePlayback();
    EXPECT_EQ(PlayCounts(), (std::vector<std::wstring>{L"1", L"1", L"0"}));
    EXPECT_EQ(StoredPlays(Fake().playlist[1]), 1);
    AdvanceFakePlayback();
    EXPECT_EQ(PlayCounts(), (std::vector<std::wstring>{L"1", L"1", L"1"}));
    // After the last entry the host stops; nothing more is counted.
    AdvanceFakePlayback();
    Pump();
    EXPECT_EQ(Fake().playbackState, 0);
    EXPECT_EQ(PlayCounts(), (std::vector<std::wstring>{L"1", L"1", L"1"}));
    EXPECT_EQ(CountInCache(L"SELECT SUM(playcount) FROM Files"), 3);
}

}  // namespace
