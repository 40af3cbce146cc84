// Script lines, numbers, words, key chords and the command line as scripts and make give them.
#include <gtest/gtest.h>

#include <windows.h>

#include "logic/HostOptions.h"
#include "logic/KeyNames.h"
#include "logic/ScriptLine.h"

namespace {

TEST(ScriptLineTest, NameIsLowerCasedAndArgumentKeepsInnerSpaces) {
    ScriptLine line = ParseScriptLine(L"  Search   hello  world \r");
    EXPECT_EQ(L"search", line.name);
    EXPECT_EQ(L"hello  world", line.argument);
}

TEST(ScriptLineTest, BlankAndCommentLinesHaveNoCommand) {
    EXPECT_TRUE(ParseScriptLine(L"").name.empty());
    EXPECT_TRUE(ParseScriptLine(L"   \t").name.empty());
    EXPECT_TRUE(ParseScriptLine(L"# select My Library").name.empty());
    EXPECT_EQ(L"quit", ParseScriptLine(L"quit").name);
}

TEST(ScriptLineTest, IndexLists) {
    std::vector<int> rows;
    ASSERT_TRUE(ParseIndexList(L"0,3, 5", rows));
    EXPECT_EQ((std::vector<int>{0, 3, 5}), rows);
    EXPECT_FALSE(ParseIndexList(L"", rows));
    EXPECT_FALSE(ParseIndexList(L"1,,2", rows));
    EXPECT_FALSE(ParseIndexList(L"1,x", rows));
    int value = 0;
    EXPECT_TRUE(ParseInt(L"-1", value));
    EXPECT_EQ(-1, value);
    EXPECT_FALSE(ParseInt(L"99999999999", value));
}

TEST(ScriptLineTest, QuotedWordsKeepTheirSpaces) {
    std::vector<std::wstring> words = SplitWords(L"tree:Rock \"C:\\My Music\\a b.mp3\" C:\\x.mp3");
    ASSERT_EQ(3u, words.size());
    EXPECT_EQ(L"tree:Rock", words[0]);
    EXPECT_EQ(L"C:\\My Music\\a b.mp3", words[1]);
    EXPECT_EQ(L"C:\\x.mp3", words[2]);
}

TEST(ScriptLineTest, EscapingPutsTextOnOneLine) {
    EXPECT_EQ(L"one\\ntwo\\nthree\\tfour", EscapeForLine(L"one\r\ntwo\nthree\tfour"));
    EXPECT_EQ(L"C:\\music\\", EscapeForLine(L"C:\\music\\"));
}

TEST(ScriptLineTest, AnswerWordsNameTheBoxButtons) {
    EXPECT_EQ(IDYES, BoxButtonOfWord(L"yes"));
    EXPECT_EQ(IDNO, BoxButtonOfWord(L"no"));
    EXPECT_EQ(IDCANCEL, BoxButtonOfWord(L"cancel"));
    EXPECT_EQ(IDOK, BoxButtonOfWord(L"ok"));
    EXPECT_EQ(IDRETRY, BoxButtonOfWord(L"retry"));
    EXPECT_EQ(0, BoxButtonOfWord(L"maybe"));
    EXPECT_EQ(0, BoxButtonOfWord(L""));
}

struct RowClickCase {
    const wchar_t* text;
    std::vector<RowClick> clicks;
};

bool SameClicks(const std::vector<RowClick>& a, const std::vector<RowClick>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].row != b[i].row || a[i].ctrl != b[i].ctrl || a[i].shift != b[i].shift) return false;
    return true;
}

// A user selects with a click, adds with Ctrl, extends from the mark with Shift.
TEST(ScriptLineTest, RowListsBecomeTheClicksAUserMakes) {
    const RowClickCase cases[] = {
        {L"2", {{2, false, false}}},
        {L"0,3", {{0, false, false}, {3, true, false}}},
        {L"1-4", {{1, false, false}, {4, false, true}}},
        {L"0, 3-5", {{0, false, false}, {3, true, false}, {5, true, true}}},
        {L"5-2", {{5, false, false}, {2, false, true}}},
    };
    for (const RowClickCase& c : cases) {
        std::vector<RowClick> clicks;
        ASSERT_TRUE(ParseRowClicks(c.text, clicks)) << c.text;
        EXPECT_TRUE(SameClicks(c.clicks, clicks)) << c.text;
    }
    std::vector<RowClick> clicks;
    for (const wchar_t* bad : {L"", L"1,", L"a", L"1-", L"-", L"1-2-3", L"1,,2"})
        EXPECT_FALSE(ParseRowClicks(bad, clicks)) << bad;
}

TEST(ScriptLineTest, RightClickTargets) {
    ClickTarget target;
    ASSERT_TRUE(ParseClickTarget(L"tree:Rock\\Live", target));
    EXPECT_EQ(L"tree", target.control);
    EXPECT_EQ(L"Rock\\Live", target.detail);
    ASSERT_TRUE(ParseClickTarget(L"tree", target));
    EXPECT_TRUE(target.detail.empty());
    ASSERT_TRUE(ParseClickTarget(L" list:12 ", target));
    EXPECT_EQ(12, target.index);
    ASSERT_TRUE(ParseClickTarget(L"list", target));
    EXPECT_EQ(-1, target.index);
    ASSERT_TRUE(ParseClickTarget(L"header:2", target));
    EXPECT_EQ(2, target.index);
    for (const wchar_t* bad : {L"", L"status", L"list:x", L"list:-1", L"header:first"})
        EXPECT_FALSE(ParseClickTarget(bad, target)) << bad;
}

struct ChordCase {
    const wchar_t* text;
    unsigned key;
    bool ctrl, shift, alt;
};

TEST(KeyNamesTest, ChordsFromTheTable) {
    const ChordCase cases[] = {
        {L"F5", VK_F5, false, false, false},          {L"Ctrl+A", 'A', true, false, false},
        {L"alt+d", 'D', false, false, true},          {L"Shift+Enter", VK_RETURN, false, true, false},
        {L"Ctrl+Shift+Tab", VK_TAB, true, true, false}, {L"Esc", VK_ESCAPE, false, false, false},
        {L"Alt+3", '3', false, false, true},          {L"Ctrl+Down", VK_DOWN, true, false, false},
        {L"F12", VK_F12, false, false, false},        {L"Apps", VK_APPS, false, false, false},
    };
    for (const ChordCase& c : cases) {
        KeyChord chord;
        ASSERT_TRUE(ParseKeyChord(c.text, chord)) << c.text;
        EXPECT_EQ(c.key, chord.virtualKey) << c.text;
        EXPECT_EQ(c.ctrl, chord.ctrl) << c.text;
        EXPECT_EQ(c.shift, chord.shift) << c.text;
        EXPECT_EQ(c.alt, chord.alt) << c.text;
    }
}

TEST(KeyNamesTest, BadChordsAreRefused) {
    KeyChord chord;
    for (const wchar_t* text : {L"", L"Ctrl", L"Ctrl+", L"Hyper+A", L"A+B", L"F25", L"Ctrl++"})
        EXPECT_FALSE(ParseKeyChord(text, chord)) << text;
    std::vector<KeyChord> chords;
    EXPECT_TRUE(ParseKeySequence(L"Down Down Shift+Enter", chords));
    EXPECT_EQ(3u, chords.size());
    EXPECT_FALSE(ParseKeySequence(L"Down Nope", chords));
}

TEST(HostOptionsTest, VersionIsHexadecimalAndPluginIsRequired) {
    HostOptions options = ParseHostOptions({L"--plugin", L"gen_cv.dll", L"--version", L"5032", L"--no-services"});
    EXPECT_TRUE(options.error.empty());
    EXPECT_EQ(0x5032u, options.version);
    EXPECT_FALSE(options.services);
    EXPECT_EQ(0x5036u, ParseHostOptions({L"--plugin", L"p.dll"}).version);
    EXPECT_EQ(0x5033u, ParseHostOptions({L"--plugin", L"p.dll", L"--version", L"0x5033"}).version);
    EXPECT_FALSE(ParseHostOptions({L"--version", L"5036"}).error.empty());
    EXPECT_FALSE(ParseHostOptions({L"--plugin", L"p.dll", L"--version", L"53g"}).error.empty());
    EXPECT_FALSE(ParseHostOptions({L"--plugin"}).error.empty());
    EXPECT_FALSE(ParseHostOptions({L"--plugin", L"p.dll", L"--verbose"}).error.empty());
}

}  // namespace
