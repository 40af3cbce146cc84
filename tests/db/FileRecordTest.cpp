// File records keep their path and tags whatever order they are set in, absent apart from empty.
#include <gtest/gtest.h>

#include "db/FileRecord.h"

namespace {

TEST(FileRecordTest, PathSplitsIntoFolderAndName) {
    FileRecord record(L"C:\\Music\\Bj\u00f6rk\\01 Army of Me.mp3");
    EXPECT_EQ(record.FolderPath(), L"C:\\Music\\Bj\u00f6rk\\");
    EXPECT_EQ(record.FileName(), L"01 Army of Me.mp3");
    EXPECT_EQ(record.Path(), L"C:\\Music\\Bj\u00f6rk\\01 Army of Me.mp3");
    EXPECT_TRUE(record.HasPath(L"c:\\MUSIC\\bj\u00d6rk\\01 army of me.MP3"));
    EXPECT_FALSE(record.HasPath(L"C:\\Music\\Bj\u00f6rk\\01 Army of Me.mp"));
    EXPECT_FALSE(record.HasPath(L"C:\\Music\\Bj\u00f6rk01 Army of Me.mp3\\"));
    FileRecord bare(L"http://radio/stream");
    EXPECT_EQ(bare.Path(), L"http://radio/stream");
    FileRecord empty;
    EXPECT_EQ(empty.Path(), L"");
    EXPECT_FALSE(empty.Tag(TagField::kTitle));
}

TEST(FileRecordTest, TagsAndNameSurviveEachOthersChanges) {
    auto folder = Ref<TextObject>::Make(L"D:\\A\\");
    FileRecord record;
    record.SetPath(folder, L"x.flac");
    TagTexts tags;
    tags[static_cast<int>(TagField::kTitle)] = L"T";
    tags[static_cast<int>(TagField::kGenre)] = L"";
    record.SetTags(tags);
    EXPECT_EQ(record.FileName(), L"x.flac");
    EXPECT_EQ(record.Tag(TagField::kTitle).value_or(L"?"), L"T");
    EXPECT_EQ(record.Tag(TagField::kGenre).value_or(L"?"), L"");
    EXPECT_FALSE(record.Tag(TagField::kArtist)) << "never read is not the same as empty";

    record.SetPath(L"E:\\B\\y.mp3");
    EXPECT_EQ(record.Path(), L"E:\\B\\y.mp3");
    EXPECT_EQ(record.Tag(TagField::kTitle).value_or(L"?"), L"T");
    EXPECT_EQ(record.TagOrEmpty(TagField::kComment), L"");
}

TEST(FileRecordTest, RecordsOfOneFolderShareItsPath) {
    auto folder = Ref<TextObject>::Make(L"D:\\Shared\\");
    FileRecord a, b;
    a.SetPath(folder, L"a.mp3");
    b.SetPath(folder, L"b.mp3");
    EXPECT_EQ(a.FolderPath().data(), b.FolderPath().data());
    EXPECT_EQ(folder->RefCount(), 3);
}

TEST(FileRecordTest, OverlongTextIsCutNotOverrun) {
    FileRecord record(L"C:\\f.mp3");
    TagTexts tags;
    tags[static_cast<int>(TagField::kComment)] = std::wstring(70000, L'c');
    tags[static_cast<int>(TagField::kAlbum)] = L"after";
    record.SetTags(tags);
    EXPECT_EQ(record.Tag(TagField::kComment)->size(), 0xFFFEu);
    EXPECT_EQ(record.Tag(TagField::kAlbum).value_or(L"?"), L"after");
}

}  // namespace
