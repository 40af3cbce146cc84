// The units learnt to be inert for the system's case-blind comparison, and the in-place search
// they allow: no inert unit vanishes or stands for ASCII letters, and the term test finds a
// word exactly where the system's substring search does, for texts of every kind.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlwapi.h>

#include <random>
#include <string>
#include <vector>

#include "db/MatchTerms.h"
#include "db/SearchInertUnits.h"
#include "db/StripAccent.h"

namespace {

const std::wstring kAlnum = L"0123456789abcdefghijklmnopqrstuvwxyz";

bool Equal(const std::wstring& a, const std::wstring& b) { return StrCmpIW(a.c_str(), b.c_str()) == 0; }

// Units a case-blind comparison may read as ASCII letters, as several of them, or as nothing:
// ligatures, sharp s, long s, Turkish and Kelvin letters, signs that spell letters, full-width,
// superscript and circled letters, Roman numerals, soft hyphen, zero-width and format units.
const std::wstring kTricky =
    L"\u00df\u1e9e\ufb00\ufb01\ufb02\ufb03\ufb04\ufb05\ufb06\u017f\u0130\u0131\u212a\u212b\u2122\u2120\u2116"
    L"\u00aa\u00ba\u00b9\u00b2\u2160\u216b\u24d0\u00c6\u00e6\u0152\u0153\u01c6\u01c4\u0132\u0133\u00bd\u3392"
    L"\uff21\uff41\uff10\u00ad\u200b\u200c\u200d\u2060\ufeff\u034f\u0308\u0301\u00a0\u2011\u00b7\u02bc";

// Every unit learnt inert, among the tricky ones and the Latin, Greek and Cyrillic blocks, against
// every word of one and two letters or digits and the three-letter words its own first letters
// start; and next to a letter it never goes unseen.
TEST(SearchInertUnitsTest, NoInertUnitVanishesOrStandsForAsciiLetters) {
    InertUnits units;
    std::wstring checked = kTricky;
    for (wchar_t unit = 0xA0; unit < 0x500; ++unit) checked += unit;
    int inert = 0, expanding = 0;
    for (wchar_t unit : checked) {
        std::wstring alone(1, unit);
        bool spellsTwo = false;
        for (wchar_t a : kAlnum)
            for (wchar_t b : kAlnum) spellsTwo = spellsTwo || Equal(alone, std::wstring{a, b});
        if (spellsTwo) ++expanding;
        if (!units.IsInert(unit)) continue;
        ++inert;
        EXPECT_FALSE(spellsTwo) << static_cast<int>(unit);
        EXPECT_FALSE(Equal(L"a" + alone, L"a") || Equal(alone + L"b", L"b") || Equal(alone, L"")) << static_cast<int>(unit);
        for (wchar_t a : kAlnum) {
            ASSERT_FALSE(Equal(alone, std::wstring(1, a))) << static_cast<int>(unit);
            for (wchar_t b : kAlnum)
                for (wchar_t c : std::wstring(L"fisl")) ASSERT_FALSE(Equal(alone, std::wstring{c, a, b})) << static_cast<int>(unit);
        }
    }
    // Without units the comparison reads as two letters, the test would not show that they are
    // kept out; without inert units, nothing would be searched in place.
    EXPECT_GT(expanding, 0);
    EXPECT_GT(inert, 100);
    for (wchar_t unit : {L'a', L'Z', L'0', L' ', L'\t', L'\0', L'\x7f', L'\x85', L'\xd800', L'\xdfff'})
        EXPECT_FALSE(units.IsInert(unit)) << static_cast<int>(unit);
}

TEST(SearchInertUnitsTest, AsciiWordsAndInPlaceSearch) {
    for (const wchar_t* word : {L"a", L"Love", L"b52", L"ZZ9"}) EXPECT_TRUE(IsAsciiWord(word));
    for (const wchar_t* word : {L"", L"o'b", L"100%", L"a b", L"caf\u00e9", L"\uff21"}) EXPECT_FALSE(IsAsciiWord(word));
    struct Case {
        std::wstring text, word;
        bool holds;
    };
    const Case cases[] = {
        {L"Midnight Love", L"LOVE", true},   {L"Midnight Love", L"night", true}, {L"Mid", L"midnight", false},
        {L"", L"a", false},                  {L"lov", L"love", false},          {L"lo ve", L"love", false},
        {L"xLOVEx", L"love", true},          {L"l-ove", L"love", false},        {L"[love]", L"LoVe", true},
    };
    for (const Case& c : cases) EXPECT_EQ(HoldsAsciiWord(c.text, c.word), c.holds) << c.text.size();
    EXPECT_FALSE(HoldsAsciiWord(std::wstring(L"ab\0cd", 5), L"cd"));
}

// Texts of plain words, accented letters and every tricky unit, each searched for plain words,
// with and without folded accents: the term test agrees with the system's substring search.
TEST(SearchInertUnitsTest, TermTestAgreesWithTheSystemSubstringSearch) {
    const std::vector<std::wstring> pieces = {
        L"fire", L"Strasse", L"stra\u00dfe", L"\ufb01re", L"fi\u00adre", L"f\u200bire", L"F\u0130RE", L"f\u0131re",
        L"\u212aelvin", L"Kelvin", L"Bj\u00f6rk", L"Bjork", L"Mo\u0308tley", L"Caf\u00e9", L"\u00c6ther", L"aether",
        L"\uff46\uff49\uff52\uff45", L"\u2122", L"tm", L"Night", L"\u017ftar", L"star", L" ", L"-", L"\u00e9",
        L"\u0395\u03bb\u03bb\u03ac\u03b4\u03b1", L"\u041c\u043e\u0441\u043a\u0432\u0430", L"x1", L"\u00bd", L"12",
        L"\ufb01\u00adre", L"stra\u00df\u200be", L"\u00ad", L"\u200b", L"\ufeff", L"\ufb03", L"\u00df", L"\u0130"};
    const std::vector<std::wstring> words = {L"fire", L"strasse", L"ss", L"i", L"kelvin", L"k", L"bjork", L"motley",
                                             L"cafe", L"aether", L"ae", L"tm", L"night", L"star", L"st", L"ire",
                                             L"x1", L"12", L"e", L"a"};
    std::mt19937 random(20261208);
    InertUnits units;
    int checked = 0;
    for (int i = 0; i < 600; ++i) {
        std::wstring text;
        for (int n = 1 + static_cast<int>(random() % 3); n > 0; --n) text += pieces[random() % pieces.size()];
        for (size_t w = 0; w < words.size(); ++w) {
            const std::wstring& word = words[w];
            for (int flags : {0, static_cast<int>(kMatchFoldAccents)}) {
                bool fold = flags != 0;
                std::wstring comparedText = fold ? StripAccentText(text) : text;
                std::wstring comparedWord = fold ? StripAccentText(word) : word;
                bool expected = StrStrIW(comparedText.c_str(), comparedWord.c_str()) != nullptr;
                MatchFields fields{};
                fields.title = text;
                TermMatcher matcher({word}, 0, flags, i % 2 ? &units : nullptr);
                ASSERT_EQ(matcher.Matches(fields), expected) << "text " << i << " word " << w << " flags " << flags;
                ++checked;
            }
        }
    }
    EXPECT_EQ(checked, 600 * 20 * 2);
}

}  // namespace
