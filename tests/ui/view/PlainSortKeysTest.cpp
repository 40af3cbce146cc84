// Keys put together for plain texts must be byte for byte the locale's own, and any text
// that is not plain must be left to the locale.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "ui/view/PlainSortKeys.h"

namespace {

const LCID kEnglish = MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT);

std::vector<unsigned char> LocaleKey(LCID locale, const std::wstring& text) {
    wchar_t buffer[1024];
    int bytes = LCMapStringW(locale, LCMAP_SORTKEY | NORM_IGNORECASE, text.data(), static_cast<int>(text.size()),
                             buffer, static_cast<int>(sizeof(buffer)));
    auto* start = reinterpret_cast<unsigned char*>(buffer);
    return std::vector<unsigned char>(start, start + std::max(bytes, 0));
}

std::vector<unsigned char> Made(const PlainSortKeys& keys, const std::wstring& text) {
    std::vector<unsigned char> out(PlainSortKeys::MaxBytes(text.size()));
    out.resize(keys.Make(text, out.data()));
    return out;
}

TEST(PlainSortKeysTest, KeysOfPlainTextsAreTheLocalesOwn) {
    const std::wstring texts[] = {L"a", L"Z", L"Song 12345", L"ZEBRA zebra", L"  spaced  ", L" ", L"9",
                                  L"abcdefghijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXYZ 0123456789",
                                  std::wstring(300, L'x')};
    std::vector<std::wstring_view> samples(std::begin(texts), std::end(texts));
    PlainSortKeys keys(kEnglish, samples);
    ASSERT_TRUE(keys.Usable());
    for (const std::wstring& text : texts) EXPECT_EQ(Made(keys, text), LocaleKey(kEnglish, text)) << text.size();
}

TEST(PlainSortKeysTest, TextsWithOtherCharactersAreLeftToTheLocale) {
    PlainSortKeys keys(kEnglish, {});
    for (const wchar_t* text : {L"", L"caf\u00e9", L"don't", L"a-b", L"tab\there", L"(live)", L"x.mp3", L"\u00c5sa"})
        EXPECT_TRUE(Made(keys, text).empty()) << text;
}

int Sign(int value) { return value < 0 ? -1 : value > 0 ? 1 : 0; }

// Once the locale is shown to order plain texts letter by letter, a pair that differs at a
// character is settled exactly as the comparison would have it; anything else is left to it.
TEST(PlainSortKeysTest, SettledOrdersAreTheComparisonsAndTheRestIsLeftToIt) {
    PlainSortKeys keys(kEnglish, {});
    EXPECT_EQ(keys.SettledOrder(L"Song 1", L"Song 2"), 0) << "nothing is settled before the proof";
    ASSERT_TRUE(keys.ProveOrder(kEnglish));
    const std::pair<const wchar_t*, const wchar_t*> settled[] = {
        {L"Song 1", L"Song 2"}, {L"song 2", L"Song 10"}, {L"a b", L"ab"}, {L"Zebra", L"apple"},
        {L"9", L"10"},          {L"x y", L"x1"},         {L"ABC", L"abd"}};
    for (const auto& [a, b] : settled) {
        int expected = Sign(CompareStringW(kEnglish, NORM_IGNORECASE, a, -1, b, -1) - CSTR_EQUAL);
        EXPECT_EQ(keys.SettledOrder(a, b), expected) << a << " | " << b;
        EXPECT_EQ(keys.SettledOrder(b, a), -expected) << b << " | " << a;
    }
    const std::pair<const wchar_t*, const wchar_t*> leftOpen[] = {
        {L"Song", L"song"},      // equal but for case
        {L"Song 1", L"Song 10"}, // one the start of the other
        {L"caf\u00e9", L"cafe"}, {L"a-b", L"ab"}, {L"don't", L"dont"}, {L"x.mp3", L"x"}, {L"", L"a"}};
    for (const auto& [a, b] : leftOpen) EXPECT_EQ(keys.SettledOrder(a, b), 0) << a << " | " << b;
}

// Czech sorts "ch" as a letter of its own after "h": character by character, "Chata" would go
// before "Cibule". No proof for such a locale, so the comparison decides every pair.
TEST(PlainSortKeysTest, ALocaleThatJoinsLettersIsNotProven) {
    const LCID czech = MAKELCID(MAKELANGID(LANG_CZECH, SUBLANG_CZECH_CZECH_REPUBLIC), SORT_DEFAULT);
    PlainSortKeys keys(czech, {});
    ASSERT_TRUE(keys.Usable());
    EXPECT_FALSE(keys.ProveOrder(czech));
    EXPECT_EQ(keys.SettledOrder(L"Chata", L"Cibule"), 0);
}

}  // namespace
