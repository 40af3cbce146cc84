// Saving settings never leaves the file half-written: each key replaces the whole file at once,
// and a write that cannot be made leaves the file exactly as it was.
#include <gtest/gtest.h>
#include <windows.h>

#include "base/Path.h"
#include "settings/IniText.h"
#include "settings/SettingKeys.h"
#include "settings/SettingsFile.h"
#include "support/TempFolder.h"

namespace {

const char kUserFile[] =
    "; kept by hand\r\n[General]\r\nFile types=mp3;flac;\r\nShow delete=1\r\n[Window]\r\nDivider=250\r\n"
    "[Tree]\r\nFolder=C:\\Music\\\r\n";

// The profile functions may keep a parsed copy of the file: each value must be read back from
// what is on disk even when writes follow each other within one clock tick.
TEST(SettingsSaveTest, ManyWritesInARowAllReachTheFileAndKeepTheRest) {
    TempFolder folder;
    std::wstring path = folder.File(L"gen_cv.ini");
    WriteBytes(path, kUserFile);
    SettingsFile file(path);
    for (int i = 0; i < 40; ++i) {
        ASSERT_TRUE(file.WriteInt(settings::kWindowDivider, i));
        ASSERT_TRUE(file.WriteText(settings::kLastSearch, L"search " + std::to_wstring(i)));
        ASSERT_EQ(file.ReadInt(settings::kWindowDivider), i);
        ASSERT_EQ(file.ReadText(settings::kLastSearch), L"search " + std::to_wstring(i));
    }
    EXPECT_EQ(StoredValue(path, "General", "File types"), "mp3;flac;");
    EXPECT_EQ(StoredValue(path, "Tree", "Folder"), "C:\\Music\\");
    EXPECT_FALSE(PathExists(path + L".saving"));
}

TEST(SettingsSaveTest, ReadOnlyFileIsLeftByteForByte) {
    TempFolder folder;
    std::wstring path = folder.File(L"gen_cv.ini");
    WriteBytes(path, kUserFile);
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(SettingsFile(path).WriteInt(settings::kWindowDivider, 99));
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadBytes(path), kUserFile);
    EXPECT_FALSE(PathExists(path + L".saving"));
}

// The new file cannot be made beside the old one (here a folder is in the way; on a full disk
// its writing fails): the old file is kept and the write answers false.
TEST(SettingsSaveTest, WriteThatCannotBeMadeKeepsTheOldFile) {
    TempFolder folder;
    std::wstring path = folder.File(L"gen_cv.ini");
    WriteBytes(path, kUserFile);
    CreateDirectoryW((path + L".saving").c_str(), nullptr);
    EXPECT_FALSE(SettingsFile(path).WriteText(settings::kLastSearch, L"lost"));
    EXPECT_EQ(ReadBytes(path), kUserFile);
    RemoveDirectoryW((path + L".saving").c_str());
}

TEST(SettingsSaveTest, FirstWriteCreatesTheFile) {
    TempFolder folder;
    std::wstring path = folder.File(L"gen_cv.ini");
    EXPECT_TRUE(SettingsFile(path).WriteText(settings::kMainViewFileTypes, L"mp3;"));
    EXPECT_EQ(StoredValue(path, "General", "File types"), "mp3;");
}

}  // namespace
