// A file's content is replaced whole or not at all.
#include <gtest/gtest.h>
#include <windows.h>

#include "base/Path.h"
#include "base/ReplacingFile.h"
#include "support/TempFolder.h"

namespace {

TEST(ReplacingFileTest, UncommittedWriteLeavesTheTargetAndNoLeftover) {
    TempFolder folder;
    std::wstring target = folder.File(L"list.m3u");
    WriteBytes(target, "old");
    {
        ReplacingFile file(target);
        ASSERT_TRUE(file.Write("new content"));
        EXPECT_EQ(ReadBytes(target), "old");
    }
    EXPECT_EQ(ReadBytes(target), "old");
    EXPECT_FALSE(PathExists(target + L".saving"));
}

TEST(ReplacingFileTest, CommitPutsTheNewContentInPlaceKeepingAttributes) {
    TempFolder folder;
    std::wstring target = folder.File(L"list.m3u");
    WriteBytes(target, "old");
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_HIDDEN);
    ReplacingFile file(target);
    ASSERT_TRUE(file.Write("new content"));
    ASSERT_TRUE(file.Commit());
    EXPECT_EQ(ReadBytes(target), "new content");
    EXPECT_TRUE(GetFileAttributesW(target.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_FALSE(PathExists(file.NewPath()));

    std::wstring fresh = folder.File(L"fresh.m3u");
    ReplacingFile first(fresh);
    ASSERT_TRUE(first.Write("first"));
    ASSERT_TRUE(first.Commit());
    EXPECT_EQ(ReadBytes(fresh), "first");
}

TEST(ReplacingFileTest, ReadOnlyTargetIsRefusedByteForByte) {
    TempFolder folder;
    std::wstring target = folder.File(L"gen_cv.ini");
    WriteBytes(target, "[General]\r\n");
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY);
    {
        ReplacingFile file(target);
        ASSERT_TRUE(file.Write("[General]\r\nSort=3\r\n"));
        EXPECT_FALSE(file.Commit());
        EXPECT_EQ(file.Error(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    }
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadBytes(target), "[General]\r\n");
    EXPECT_FALSE(PathExists(target + L".saving"));
}

}  // namespace
