// Text and path helpers that the rest of the plugin leans on.
#include <gtest/gtest.h>

#include "base/Path.h"
#include "base/Text.h"
#include "db/ListingOptions.h"

namespace {

TEST(TextTest, FormatWithIntFillsOneNumberAndNothingElse) {
    struct Case { const wchar_t* format; long long value; const wchar_t* out; };
    const Case cases[] = {
        {L"Process files %i%%...(Escape to cancel)", 66, L"Process files 66%...(Escape to cancel)"},
        {L"%d file(s) was not read properly.", 3, L"3 file(s) was not read properly."},
        {L"%s %d %d", 7, L"%s 7 %d"},  // a faulty pack's extra conversions stay text
        {L"no number", 5, L"no number"},
        {L"trailing %", 1, L"trailing %"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatWithInt(c.format, c.value), c.out) << c.format;
}

TEST(TextTest, CaseInsensitiveComparisons) {
    EXPECT_TRUE(EqualsNoCase(L"D:\\Music\\", L"d:\\MUSIC\\"));
    EXPECT_FALSE(EqualsNoCase(L"D:\\Music", L"D:\\Music\\"));
    EXPECT_TRUE(SharedPrefixEqualsNoCase(L"D:\\Music\\Rock\\", L"d:\\music\\"));
    EXPECT_FALSE(SharedPrefixEqualsNoCase(L"D:\\Music2\\", L"D:\\Music\\"));
    EXPECT_EQ(ToLower(L"\u00c9T\u00c9.MP3"), L"\u00e9t\u00e9.mp3");
    EXPECT_EQ(WideToUtf8(L"Bj\u00f6rk"), "Bj\xc3\xb6rk");
    EXPECT_EQ(Utf8ToWide("\xe5\x9d\x82\xe6\x9c\xac"), L"\u5742\u672c");
}

TEST(PathTest, JoiningAndTakingApart) {
    EXPECT_EQ(JoinPath(L"C:\\a", L"b"), L"C:\\a\\b");
    EXPECT_EQ(JoinPath(L"C:\\a\\", L"\\b"), L"C:\\a\\b");
    EXPECT_EQ(WithTrailingBackslash(L"C:\\a"), L"C:\\a\\");
    EXPECT_EQ(WithTrailingBackslash(L"C:\\a\\"), L"C:\\a\\");
    EXPECT_EQ(ParentPath(L"C:\\Player\\Plugins\\gen_cv.dll"), L"C:\\Player\\Plugins");
    EXPECT_EQ(ParentPath(L"gen_cv.dll"), L"");
    EXPECT_EQ(FileNamePart(L"C:\\a\\song.MP3"), L"song.MP3");
    EXPECT_EQ(ExtensionOf(L"C:\\a.b\\song.MP3"), L"MP3");
    EXPECT_EQ(ExtensionOf(L"C:\\a.b\\README"), L"");
}

// Paths the plain calls cannot take get the long form; every other path is left alone, since
// the long form skips the folding ("..", "/") that relative and short paths rely on.
TEST(PathTest, LongPathsTakeTheLongFormAndNothingElseDoes) {
    const std::wstring deep(300, L'x');
    struct Case { std::wstring path, expected; };
    const Case cases[] = {
        {L"C:\\Music\\a.mp3", L"C:\\Music\\a.mp3"},
        {L"C:\\" + deep, L"\\\\?\\C:\\" + deep},
        {L"\\\\nas\\music\\" + deep, L"\\\\?\\UNC\\nas\\music\\" + deep},
        {L"\\\\?\\C:\\" + deep, L"\\\\?\\C:\\" + deep},
        {L"\\\\.\\pipe\\" + deep, L"\\\\.\\pipe\\" + deep},
        {L"Music\\" + deep, L"Music\\" + deep},
        {L"", L""},
    };
    for (const Case& c : cases) EXPECT_EQ(LongPathForm(c.path), c.expected) << WideToUtf8(c.path.substr(0, 20));
}

TEST(TypeFilterTest, SplitsLowerCasesAndDropsEmptyPieces) {
    TypeFilter filter = ParseTypeFilter(L"mp3;FLAC;;Ogg;mp3");
    EXPECT_EQ(std::vector<std::wstring>(filter.begin(), filter.end()),
              (std::vector<std::wstring>{L"flac", L"mp3", L"ogg"}));
    EXPECT_TRUE(ParseTypeFilter(L"").empty());
    EXPECT_TRUE(ParseTypeFilter(L";;").empty());
}

}  // namespace

#include "base/SafeFormat.h"

namespace {

TEST(SafeFormatTest, StatusLineTemplates) {
    const wchar_t* status = L"%d file(s) scanned out of %d file(s) found (%02d:%02d:%02d%s, %.2f %CB)";
    EXPECT_EQ(SafeFormat(status, {12LL, 12LL, 0LL, 41LL, 10LL, std::wstring(), 96.5, L'M'}),
              L"12 file(s) scanned out of 12 file(s) found (00:41:10, 96.50 MB)");
    EXPECT_EQ(SafeFormat(status, {3LL, 5LL, 25LL, 0LL, 0LL, std::wstring(L"+"), 1.0, L'G'}),
              L"3 file(s) scanned out of 5 file(s) found (25:00:00+, 1.00 GB)");
    EXPECT_EQ(SafeFormat(L"%s (%s %%d ms)", {std::wstring(L"A"), std::wstring(L"Query took")}), L"A (Query took %d ms)");
}

TEST(SafeFormatTest, FaultyTemplatesNeverReadWhatWasNotPassed) {
    EXPECT_EQ(SafeFormat(L"%s %s %s", {std::wstring(L"one")}), L"one  ");
    EXPECT_EQ(SafeFormat(L"%n %p %x", {5LL}), L"%n %p %x");
    EXPECT_EQ(SafeFormat(L"%5d|%-4s|%c", {42LL, std::wstring(L"ab"), L'z'}), L"   42|ab  |z");
    EXPECT_EQ(SafeFormat(L"%03d", {-7LL}), L"-07");
    EXPECT_EQ(SafeFormat(L"trailing %", {}), L"trailing %");
}

// A pack's template may ask for any width or precision; the text built stays short (a width
// of a hundred million would take 400 MB), and digits past what an int holds do not wrap.
TEST(SafeFormatTest, HugeWidthsAndPrecisionsFromAPackAreCapped) {
    const struct {
        const wchar_t* format;
        FormatArg arg;
    } cases[] = {
        {L"%100000000d files", 5LL},
        {L"%-100000000s|", std::wstring(L"x")},
        {L"%0100000000d", -3LL},
        {L"%99999999999999999999d", 1LL},
        {L"%.100000000f", 1e300},
        {L"%100000000.100000000f", 2.5},
        {L"%4294967297c", L'z'},
    };
    for (const auto& c : cases) {
        std::wstring text = SafeFormat(c.format, {c.arg});
        EXPECT_LE(text.size(), 1024u) << c.format;
        EXPECT_GE(text.size(), 1u) << c.format;
    }
    EXPECT_EQ(SafeFormat(L"%.100000000f", {1.5}).substr(0, 4), L"1.50");
    EXPECT_EQ(SafeFormat(L"%99999999999999999999d", {7LL}).back(), L'7');
}

// The volume a repair or a bounded check asks about: a drive, a share, or nothing to ask.
TEST(PathTest, VolumeRootsOfDrivesAndSharesOnly) {
    EXPECT_EQ(VolumeRootOf(L"D:\\Music\\a.mp3"), L"D:\\");
    EXPECT_EQ(VolumeRootOf(L"\\\\server\\share\\x\\a.mp3"), L"\\\\server\\share\\");
    EXPECT_EQ(VolumeRootOf(L"\\\\server\\share"), L"");
    EXPECT_EQ(VolumeRootOf(L"\\\\?\\D:\\a.mp3"), L"");
    EXPECT_EQ(VolumeRootOf(L"Music\\a.mp3"), L"");
}

}  // namespace
