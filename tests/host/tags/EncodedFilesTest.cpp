// Files made by lame and flac: every field a user sees in the list, for each tag version and
// text encoding the encoders write, and lengths against the true durations of the tones.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>

#include "host/tags/TagBytes.h"

namespace {

struct EncodedCase {
    const wchar_t* file;
    const wchar_t* title;
    const wchar_t* artist;
    const wchar_t* album;
    const wchar_t* year;
    const wchar_t* track;
    const wchar_t* comment;
    const wchar_t* genre;
    int lengthMs;  // the tone's true duration
    int bitrate;   // 0: checked by the average-bitrate tests instead
};

const wchar_t kBloodType[] = L"\u0413\u0440\u0443\u043f\u043f\u0430 \u043a\u0440\u043e\u0432\u0438";
const wchar_t kKino[] = L"\u041a\u0438\u043d\u043e";

const EncodedCase kEncoded[] = {
    {L"cbr-v23.mp3", L"Title A", L"Artist A", L"Album A", L"2001", L"03/12", L"A comment", L"Rock", 2000, 128},
    {L"v1-only.mp3", L"Only v1", L"Old Artist", L"Old Album", L"1999", L"7", L"v1 comment", L"Jazz", 2000, 128},
    {L"latin1.mp3", L"Caf\u00e9", L"Mot\u00f6rhead", L"Ace", L"", L"", L"", L"", 2000, 128},
    {L"utf16.mp3", L"J\u00f3ga", L"Bj\u00f6rk", L"\u5742\u672c\u9f8d\u4e00 \u041a\u0438\u043d\u043e", L"", L"",
     L"\u0421\u0438\u0433\u0443\u0440 \u0420\u00f3\u0441", L"", 2000, 128},
    {L"vbr.mp3", L"Variable", L"O'Neil", L"", L"", L"5", L"", L"", 3000, 0},
    {L"mpeg2-mono.mp3", L"Low", L"", L"", L"", L"", L"", L"", 2000, 64},
    {L"tagged.flac", kBloodType, kKino, kBloodType, L"1988", L"03/12", L"Lossless", L"Post-Punk", 3000, 0},
    {L"lower-keys.flac", L"Hopp\u00edpolla", L"Sigur R\u00f3s", L"", L"", L"4/9", L"Described", L"", 2000, 0},
    {L"untagged.flac", L"", L"", L"", L"", L"", L"", L"", 2000, 0},
};

int LengthOf(const FileTags& tags) { return _wtoi(TagValue(tags, L"length").c_str()); }

long long FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

FileTags ReadFixture(const wchar_t* name) {
    FileTags tags;
    EXPECT_TRUE(ReadFileTags(Fixture(name), tags)) << "fixture missing or unreadable";
    return tags;
}

TEST(EncodedFilesTest, EveryKeyAnswersWhatTheEncoderWrote) {
    for (const EncodedCase& c : kEncoded) {
        SCOPED_TRACE(testing::Message() << "file " << c.file);
        FileTags tags = ReadFixture(c.file);
        EXPECT_EQ(TagValue(tags, L"title"), c.title);
        EXPECT_EQ(TagValue(tags, L"artist"), c.artist);
        EXPECT_EQ(TagValue(tags, L"album"), c.album);
        EXPECT_EQ(TagValue(tags, L"year"), c.year);
        EXPECT_EQ(TagValue(tags, L"track"), c.track);
        EXPECT_EQ(TagValue(tags, L"comment"), c.comment);
        EXPECT_EQ(TagValue(tags, L"genre"), c.genre);
        // lame records its delay and padding, and FLAC counts samples, so lengths are exact
        // to the millisecond; counting lame's extra frames would be about 40 ms over.
        EXPECT_NEAR(LengthOf(tags), c.lengthMs, 2);
        if (c.bitrate) {
            EXPECT_EQ(TagValue(tags, L"bitrate"), std::to_wstring(c.bitrate));
        }
    }
}

TEST(EncodedFilesTest, AverageBitrateOfVariableAndLosslessFilesFollowsTheirSize) {
    for (const wchar_t* name : {L"vbr.mp3", L"tagged.flac"}) {
        SCOPED_TRACE(testing::Message() << "file " << name);
        FileTags tags = ReadFixture(name);
        double expected = FileSize(Fixture(name)) * 8.0 / LengthOf(tags);
        int kbps = _wtoi(TagValue(tags, L"bitrate").c_str());
        // Tags and the metadata blocks are not audio, so the answer is a little below
        // size/length.
        EXPECT_LE(kbps, expected + 1);
        EXPECT_GE(kbps, expected * 0.9);
    }
}

TEST(EncodedFilesTest, WithoutEncoderHeaderLengthComesFromSizeAndBitrate) {
    FileTags tags = ReadFixture(L"no-header-cbr.mp3");
    EXPECT_EQ(tags.bitrateKbps, 128);
    // The frames of encoder delay and padding are counted then: at most two frames more.
    EXPECT_GE(tags.lengthMs, 2000);
    EXPECT_LE(tags.lengthMs, 2000 + 2 * 27);
    EXPECT_EQ(tags.title, L"");
}

TEST(EncodedFilesTest, KeysIgnoreCaseAndUnknownKeysAreEmpty) {
    FileTags tags = ReadFixture(L"cbr-v23.mp3");
    EXPECT_EQ(TagValue(tags, L"TITLE"), L"Title A");
    EXPECT_EQ(TagValue(tags, L"Bitrate"), L"128");
    EXPECT_EQ(TagValue(tags, L"rating"), L"");
    EXPECT_EQ(TagValue(tags, nullptr), L"");
    EXPECT_EQ(TagValue(FileTags(), L"length"), L"");
}

TEST(EncodedFilesTest, NonLatinPathsAreOpened) {
    TempFolder folder;
    std::wstring dir = folder.File(L"\u041a\u0438\u043d\u043e \u5742\u672c\u9f8d\u4e00");
    ASSERT_TRUE(CreateDirectoryW(dir.c_str(), nullptr));
    std::wstring path = dir + L"\\Bj\u00f6rk \u2013 J\u00f3ga.mp3";
    ASSERT_TRUE(CopyFileW(Fixture(L"utf16.mp3").c_str(), path.c_str(), FALSE));
    FileTags tags;
    ASSERT_TRUE(ReadFileTags(path, tags));
    EXPECT_EQ(tags.artist, L"Bj\u00f6rk");
    EXPECT_NEAR(tags.lengthMs, 2000, 50);
}

TEST(EncodedFilesTest, MissingFilesAndFoldersGiveNothing) {
    TempFolder folder;
    FileTags tags;
    tags.title = L"stale";
    EXPECT_FALSE(ReadFileTags(folder.File(L"absent.mp3"), tags));
    EXPECT_EQ(tags.title, L"");
    EXPECT_FALSE(ReadFileTags(folder.path(), tags));
    EXPECT_EQ(TagValue(tags, L"length"), L"");
}

}  // namespace
