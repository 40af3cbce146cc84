// Taking playlist text apart: line ends of every kind, blank lines, headerless files, long
// lines, and which entry an #EXTINF title and length belong to.
#include <gtest/gtest.h>

#include "playlists/PlaylistLines.h"

namespace {

std::vector<std::wstring> Texts(const std::vector<PlaylistLine>& lines) {
    std::vector<std::wstring> texts;
    for (const PlaylistLine& line : lines) texts.push_back(line.text);
    return texts;
}

using Texts_ = std::vector<std::wstring>;

TEST(PlaylistLinesTest, EveryKindOfLineEndSeparatesEntries) {
    EXPECT_EQ(Texts(SplitPlaylistText(L"#EXTM3U\r\na.mp3\r\nb.mp3\r\n")), (Texts_{L"a.mp3", L"b.mp3"}));
    EXPECT_EQ(Texts(SplitPlaylistText(L"#EXTM3U\na.mp3\nb.mp3")), (Texts_{L"a.mp3", L"b.mp3"})) << "no final line end";
    EXPECT_EQ(Texts(SplitPlaylistText(L"# This is a comment\rabc.mp3\rdef.mp3")), (Texts_{L"abc.mp3", L"def.mp3"}))
        << "lone CR, as old Macs wrote";
    EXPECT_EQ(Texts(SplitPlaylistText(L"a.mp3\r\rb.mp3\n\r\nc.mp3")), (Texts_{L"a.mp3", L"b.mp3", L"c.mp3"}));
}

TEST(PlaylistLinesTest, AFirstLineThatIsNoHeaderIsAnEntryAndBlankLinesAreSkipped) {
    EXPECT_EQ(Texts(SplitPlaylistText(L"first.mp3\n\n   \n\t\nsecond.mp3\n\n\n\n")),
              (Texts_{L"first.mp3", L"second.mp3"}));
    EXPECT_EQ(Texts(SplitPlaylistText(L"#EXTM3U\n#EXTM3U\n")), Texts_{}) << "a second header is no entry";
    EXPECT_EQ(Texts(SplitPlaylistText(L"")), Texts_{});
}

TEST(PlaylistLinesTest, BlanksAroundEntriesAndDirectivesGo) {
    std::vector<PlaylistLine> lines =
        SplitPlaylistText(L"    #EXTINF:10,\n http://example.com/1.ts \n\t\t#EXTINF:-1,Indented\n\thttp://x/2.ts\n");
    ASSERT_EQ(Texts(lines), (Texts_{L"http://example.com/1.ts", L"http://x/2.ts"}));
    EXPECT_EQ(lines[0].title, std::wstring());
    EXPECT_EQ(lines[1].title, L"Indented");
    // A NUL ends a line's text; the blanks before it go too, or the entry would not read the
    // same once written back without them.
    EXPECT_EQ(Texts(SplitPlaylistText(std::wstring(L"a.mp3 \t\0junk\n\0\nb.mp3", 20))), (Texts_{L"a.mp3", L"b.mp3"}));
}

TEST(PlaylistLinesTest, ALineLongerThan511BytesIsOneEntry) {
    std::wstring longName = L"C:\\" + std::wstring(700, L'x') + L".mp3";
    std::wstring longTitle(600, L't');
    std::vector<PlaylistLine> lines = SplitPlaylistText(L"#EXTINF:5," + longTitle + L"\r\n" + longName + L"\r\nb.mp3\r\n");
    ASSERT_EQ(Texts(lines), (Texts_{longName, L"b.mp3"}));
    EXPECT_EQ(lines[0].title, longTitle);
    EXPECT_EQ(lines[1].title, std::nullopt);
}

struct InfoCase {
    const char* what;
    const wchar_t* text;
    std::optional<std::wstring> title;
    int seconds;
};

TEST(PlaylistLinesTest, InfoLinesGiveTheNextEntryItsTitleAndLength) {
    const InfoCase cases[] = {
        {"the written layout", L"#EXTINF:123,Artist - Title\na.mp3", L"Artist - Title", 123},
        {"unknown length", L"#EXTINF:-1,Radio\nhttp://r/x", L"Radio", -1},
        {"space after the comma is kept", L"#EXTINF:111, Title\na.mp3", L" Title", 111},
        {"a comma inside the title", L"#EXTINF:-1,O G Money, Snoop Dogg\na.mp3", L"O G Money, Snoop Dogg", -1},
        {"fractional length", L"#EXTINF:10.000,\nmovie1.ts", L"", 10},
        {"no comma: no title", L"#EXTINF:1\na.mp3", std::nullopt, 1},
        {"attributes with quoted commas", L"#EXTINF:-1 tvg-name=\"The Good, the Bad\",The Good, the Bad\nm.m3u8",
         L"The Good, the Bad", -1},
        {"spaces around the length", L"#EXTINF: -1, name,with comma\nhttp://x", L" name,with comma", -1},
        {"a comment in between keeps the title", L"#EXTINF:-1,Song #1\n# test, with a comma\nsong1.mp3", L"Song #1", -1},
        {"other directives in between", L"#EXTINF:0,TV\n#EXTVLCOPT:a=1,b=2\n#EXTGRP:x\nrtsp://tv/1", L"TV", 0},
        {"no length at all", L"#EXTINF:,Only title\na.mp3", L"Only title", -1},
        {"a later info line replaces an unused one", L"#EXTINF:1,First\n#EXTINF:2,Second\na.mp3", L"Second", 2},
    };
    for (const InfoCase& c : cases) {
        std::vector<PlaylistLine> lines = SplitPlaylistText(c.text);
        ASSERT_EQ(lines.size(), 1u) << c.what;
        EXPECT_EQ(lines[0].title, c.title) << c.what;
        EXPECT_EQ(lines[0].seconds, c.seconds) << c.what;
    }
}

TEST(PlaylistLinesTest, ATitleBelongsToTheNextEntryOnly) {
    std::vector<PlaylistLine> lines = SplitPlaylistText(L"#EXTINF:5,One\na.mp3\nb.mp3\n#EXTINF:7,Three\nc.mp3\n");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].title, L"One");
    EXPECT_EQ(lines[1].title, std::nullopt);
    EXPECT_EQ(lines[1].seconds, -1);
    EXPECT_EQ(lines[2].title, L"Three");
    EXPECT_EQ(lines[2].seconds, 7);
}

}  // namespace
