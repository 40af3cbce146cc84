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
