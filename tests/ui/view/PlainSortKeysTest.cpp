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

}  // namespace
