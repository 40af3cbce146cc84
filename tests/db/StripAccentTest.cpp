// Checks accent folding against hand-picked characters users search for and, unit by unit,
// against what libunac itself returns, since a search that folds differently misses rows.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <thread>
#include <vector>

#include "db/StripAccent.h"

namespace unac_reference {
// libunac's output for unit u alone: kUnits[kOffsets[u] .. kOffsets[u + 1]).
extern const unsigned kOffsets[65537];
extern const wchar_t kUnits[];
}  // namespace unac_reference

namespace {

struct FoldCase {
    const wchar_t* input;
    const wchar_t* expected;
};

const FoldCase kFolded[] = {
    {L"\x00E9", L"e"},         {L"\x00C9", L"E"},         {L"\x00C6", L"AE"},
    {L"\x00E6", L"ae"},        {L"\x00F8", L"o"},         {L"\x00D8", L"O"},
    {L"\x0110", L"D"},         {L"\x0111", L"d"},         {L"\x00F1", L"n"},
    {L"\x00E7", L"c"},         {L"\x00FC", L"u"},         {L"\x00C5", L"A"},
    {L"\x0141", L"L"},         {L"\x0142", L"l"},         {L"\xFB01", L"fi"},
    {L"\x00BD", L"1\x2044" L"2"}, {L"\x00B2", L"2"},     {L"\x2122", L"TM"},
    {L"\x00A0", L" "},         {L"\x2460", L"1"},         {L"\xFF21", L"A"},
};

// Letters that look foldable but are letters of their own, combining marks (kept: folding
// never removes a unit), and surrogates, which are folded one unit at a time like the rest.
const wchar_t* const kUnchanged[] = {
    L"\x00DF", L"\x0153", L"\x0152", L"\x00DE", L"\x00FE", L"\x00D0", L"\x00F0", L"\x0131",
    L"\x0300", L"\x0301", L"\x0308", L"\x0327", L"\x036F", L"e\x0301",
    L"\xD800", L"\xDBFF", L"\xDC00", L"\xDFFF", L"\xD834\xDD1E",
    L"AC/DC - Back In Black (1980).mp3",
};

std::wstring Reference(unsigned unit) {
    return std::wstring(unac_reference::kUnits + unac_reference::kOffsets[unit],
                        unac_reference::kUnits + unac_reference::kOffsets[unit + 1]);
}

TEST(StripAccentTest, FoldsAccentedAndCompatibilityCharacters) {
    for (const FoldCase& c : kFolded)
        EXPECT_EQ(StripAccentText(c.input), c.expected) << "U+" << std::hex << unsigned(c.input[0]);
    EXPECT_EQ(StripAccentText(L"\x00BD").size(), 3u);
}

TEST(StripAccentTest, LeavesOtherCharactersAlone) {
    for (const wchar_t* text : kUnchanged) {
        std::wstring out = L"previous";
        EXPECT_FALSE(StripAccentInto(text, out)) << "U+" << std::hex << unsigned(text[0]);
        EXPECT_EQ(out, L"previous");
        EXPECT_EQ(StripAccentText(text), text);
    }
}

TEST(StripAccentTest, FoldsEveryCharacterOfLongerText) {
    EXPECT_EQ(StripAccentText(L"\x00C6r\x00F8"), L"AEro");
    EXPECT_EQ(StripAccentText(L"Sigur R\x00F3s - \x00C1g\x00E6tis byrjun"), L"Sigur Ros - Agaetis byrjun");
    EXPECT_EQ(StripAccentText(L"\x00BD\x00BD"), L"1\x2044" L"21\x2044" L"2");
    EXPECT_EQ(StripAccentText(std::wstring(L"a\0\x00E9", 3)), std::wstring(L"a\0e", 3));
    EXPECT_EQ(StripAccentText(L""), L"");
}

TEST(StripAccentTest, IntoReplacesWhatOutHeld) {
    std::wstring out = L"a much longer leftover from the previous row";
    EXPECT_TRUE(StripAccentInto(L"Mot\x00F6rhead", out));
    EXPECT_EQ(out, L"Motorhead");
    EXPECT_TRUE(StripAccentInto(L"\x00E9", out));
    EXPECT_EQ(out, L"e");
}

TEST(StripAccentTest, GrowsFarPastTheInputLength) {
    const std::wstring input(5000, L'\xFDFA');  // one unit that folds to eighteen
    const std::wstring expected = Reference(0xFDFA);
    ASSERT_EQ(expected.size(), 18u);
    const std::wstring out = StripAccentText(input);
    ASSERT_EQ(out.size(), input.size() * 18);
    for (size_t i = 0; i < out.size(); i += 18)
        ASSERT_EQ(out.compare(i, 18, expected), 0) << "at " << i;
}

TEST(StripAccentTest, MatchesLibunacOnEveryCodeUnit) {
    std::map<size_t, unsigned> replacedByLength;
    for (unsigned unit = 0; unit < 0x10000; ++unit) {
        const std::wstring input(1, static_cast<wchar_t>(unit));
        const std::wstring out = StripAccentText(input);
        ASSERT_EQ(out, Reference(unit)) << "U+" << std::hex << unit;
        if (out != input)
            ++replacedByLength[out.size()];
    }
    const std::map<size_t, unsigned> expected = {
        {1, 2976}, {2, 586}, {3, 362}, {4, 66}, {5, 16}, {6, 3}, {7, 1}, {8, 1}, {18, 1}};
    EXPECT_EQ(replacedByLength, expected);
}

// Two connections search at once; a buffer shared between calls would mix their rows.
TEST(StripAccentTest, FoldsOnSeveralThreadsAtOnce) {
    const FoldCase jobs[] = {
        {L"Bj\x00F6rk - J\x00F3ga", L"Bjork - Joga"},
        {L"\x00C6r\x00F8 \x00BD \x2122", L"AEro 1\x2044" L"2 TM"},
    };
    std::vector<int> mismatches(2, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 2; ++t)
        threads.emplace_back([&, t] {
            std::wstring out;
            for (int i = 0; i < 20000; ++i)
                if (!StripAccentInto(jobs[t].input, out) || out != jobs[t].expected)
                    ++mismatches[t];
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(mismatches, std::vector<int>(2, 0));
}

}  // namespace
