// The text of every file-list column for the records a user meets: numbers that mean "unknown",
// lengths around the hour, sizes below a kilobyte, titles of untagged files and playlist
// entries, and dates of remote entries.
#include <gtest/gtest.h>

#include <functional>

#include "ui/view/CellText.h"

namespace {

Ref<FileRecord> Record(const std::wstring& path, std::function<void(FileRecord&)> fill = {}) {
    auto record = Ref<FileRecord>::Make(path);
    if (fill) fill(*record);
    return record;
}

void SetTag(FileRecord& record, TagField field, const std::wstring& text) {
    TagTexts tags;
    for (int i = 0; i < kTagFieldCount; ++i)
        if (auto old = record.Tag(static_cast<TagField>(i))) tags[i] = std::wstring(*old);
    tags[static_cast<int>(field)] = text;
    record.SetTags(tags);
}

struct CellCase {
    const char* what;
    int column;
    std::function<void(FileRecord&)> fill;
    const wchar_t* expected;
    bool hideKbps = false;
    int row = 0;
};

TEST(CellTextTest, EachColumnFormatsItsValue) {
    const CellCase cases[] = {
        {"artist", kColumnArtist, [](FileRecord& r) { SetTag(r, TagField::kArtist, L"Nina Simone"); }, L"Nina Simone"},
        {"artist never read", kColumnArtist, {}, L""},
        {"album", kColumnAlbum, [](FileRecord& r) { SetTag(r, TagField::kAlbum, L"Pastel Blues"); }, L"Pastel Blues"},
        {"genre", kColumnGenre, [](FileRecord& r) { SetTag(r, TagField::kGenre, L"Jazz"); }, L"Jazz"},
        {"comment", kColumnComment, [](FileRecord& r) { SetTag(r, TagField::kComment, L"live"); }, L"live"},
        {"track", kColumnTrack, [](FileRecord& r) { r.track = 7; }, L"7"},
        {"track 0", kColumnTrack, {}, L""},
        {"year", kColumnYear, [](FileRecord& r) { r.year = 1965; }, L"1965"},
        {"year 0", kColumnYear, {}, L""},
        {"length 0", kColumnLength, {}, L""},
        {"length unknown to the host", kColumnLength, [](FileRecord& r) { r.length = -1000; }, L""},
        {"length under a minute", kColumnLength, [](FileRecord& r) { r.length = 59999; }, L"00:59"},
        {"length of minutes", kColumnLength, [](FileRecord& r) { r.length = 185000; }, L"03:05"},
        {"length of an hour", kColumnLength, [](FileRecord& r) { r.length = 3600000; }, L"01:00:00"},
        {"length over an hour", kColumnLength, [](FileRecord& r) { r.length = 3725000; }, L"01:02:05"},
        {"bitrate", kColumnBitrate, [](FileRecord& r) { r.bitrate = 192; }, L"192 kbps"},
        {"bitrate, kbps hidden", kColumnBitrate, [](FileRecord& r) { r.bitrate = 192; }, L"192", true},
        {"bitrate 0", kColumnBitrate, {}, L""},
        {"play count 0", kColumnPlaycount, {}, L"0"},
        {"play count", kColumnPlaycount, [](FileRecord& r) { r.playCount = 12; }, L"12"},
        {"size under a kilobyte", kColumnFilesize, [](FileRecord& r) { r.size = 1023; }, L"0 kb"},
        {"size truncated", kColumnFilesize, [](FileRecord& r) { r.size = 2047; }, L"1 kb"},
        {"size past 4 GB", kColumnFilesize, [](FileRecord& r) { r.size = 5LL << 30; }, L"5242880 kb"},
        {"path", kColumnFilepath, {}, L"C:\\Music\\Nina\\01 Sinnerman.mp3"},
        {"file name", kColumnFilename, {}, L"01 Sinnerman.mp3"},
        {"remote date", kColumnLastChanged,
         [](FileRecord& r) { r.remote = true; r.changed = 132000000000000000LL; }, L"n/a"},
        {"no date", kColumnLastChanged, {}, L"n/a"},
        {"outside the columns", kColumnCount, {}, L""},
        {"row number counts from 1", kColumnNumber, {}, L"1"},
        {"row number", kColumnNumber, {}, L"42", false, 41},
    };
    for (const CellCase& c : cases) {
        auto record = Record(L"C:\\Music\\Nina\\01 Sinnerman.mp3", c.fill);
        CellContext context;
        context.hideKbps = c.hideKbps;
        context.row = c.row;
        EXPECT_EQ(CellText(*record, c.column, context), c.expected) << c.what;
    }
}

struct TitleCase {
    const char* what;
    const wchar_t* path;
    bool tagged;
    bool remote;
    std::optional<std::wstring> title;
    std::optional<std::wstring_view> playlistTitle;
    const wchar_t* expected;
};

TEST(CellTextTest, TitleFallsBackToPlaylistTitlePathOrFileName) {
    const TitleCase cases[] = {
        {"read title", L"C:\\M\\a.mp3", true, false, L"Song", std::nullopt, L"Song"},
        {"read but empty", L"C:\\M\\a.mp3", true, false, L"", std::nullopt, L"a.mp3"},
        {"not read yet", L"C:\\M\\a.mp3", false, false, L"Stale", std::nullopt, L"a.mp3"},
        {"local playlist entry, untagged", L"C:\\M\\a.mp3", false, false, std::nullopt, L"From list", L"a.mp3"},
        {"URL without playlist title", L"http://radio.example/live", false, true, std::nullopt, std::nullopt,
         L"http://radio.example/live"},
        {"URL with playlist title", L"http://radio.example/live", false, true, std::nullopt, L"Radio", L"Radio"},
        {"URL with empty playlist title", L"http://radio.example/live", false, true, std::nullopt, L"",
         L"http://radio.example/live"},
        {"remote entry with read title", L"\\\\server\\m\\b.mp3", true, true, L"Tagged", L"Radio", L"Tagged"},
        // Read from a playlist file: the #EXTINF title travels as the untagged record's title.
        {"URL with the title its playlist line gave", L"http://radio.example/live", false, true, L"Radio One",
         std::nullopt, L"Radio One"},
        {"URL whose playlist line gave an empty title", L"http://radio.example/live", false, true, L"", std::nullopt,
         L"http://radio.example/live"},
    };
    for (const TitleCase& c : cases) {
        auto record = Record(c.path, [&](FileRecord& r) {
            r.tagged = c.tagged;
            r.remote = c.remote;
            if (c.title) SetTag(r, TagField::kTitle, *c.title);
        });
        CellContext context;
        context.playlistTitle = c.playlistTitle;
        EXPECT_EQ(CellText(*record, kColumnTitle, context), c.expected) << c.what;
    }
}

long long FileTimeOf(WORD year, WORD month, WORD day, WORD hour, WORD minute) {
    SYSTEMTIME time = {year, month, 0, day, hour, minute, 0, 0};
    FILETIME file;
    EXPECT_TRUE(SystemTimeToFileTime(&time, &file));
    return static_cast<long long>((static_cast<ULONGLONG>(file.dwHighDateTime) << 32) | file.dwLowDateTime);
}

std::wstring UserDateTime(WORD year, WORD month, WORD day, WORD hour, WORD minute) {
    SYSTEMTIME time = {year, month, 0, day, hour, minute, 0, 0};
    wchar_t date[64], clock[64];
    GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, date, 64);
    GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &time, nullptr, clock, 64);
    return std::wstring(date) + L" " + clock;
}

TEST(CellTextTest, DateIsTheUsersShortDateAndTimeInLocalTime) {
    TIME_ZONE_INFORMATION zone = {};
    zone.Bias = -120;  // two hours east of UTC, no daylight saving
    auto record = Record(L"C:\\a.mp3", [](FileRecord& r) { r.changed = FileTimeOf(2021, 3, 4, 23, 5); });
    CellContext context;
    context.zone = &zone;
    EXPECT_EQ(CellText(*record, kColumnLastChanged, context), UserDateTime(2021, 3, 5, 1, 5))
        << "a file written late in the evening UTC was written after midnight locally";
}

}  // namespace
