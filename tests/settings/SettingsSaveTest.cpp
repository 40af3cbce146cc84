// Saving settings never leaves the file half-written: each key replaces the whole file at once,
// and a write that cannot be made leaves the file exactly as it was.
#include <gtest/gtest.h>
#include <windows.h>

#include <thread>

#include "base/Path.h"
#include "base/Unique.h"
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

// A file edited by hand, or in place by the profile functions, may end without a line break
// and use either line end. Each key written, also one written with the value it already held
// (which leaves the profile functions nothing to write), must reach the file with the rest kept.
TEST(SettingsSaveTest, HandEditedFilesSaveWhateverTheirLineEnds) {
    const char* const files[] = {
        "[General]\r\nSort=1\r\n[Window]\r\nDivider=250",
        "[General]\nSort=1\n[Window]\nDivider=250\n",
        "[General]\nSort=1\n[Window]\nDivider=250",
        "[General]\r\nSort=1\n[Window]\r\nDivider=250\r",
    };
    for (const char* text : files) {
        TempFolder folder;
        std::wstring path = folder.File(L"gen_cv.ini");
        WriteBytes(path, text);
        SettingsFile file(path);
        EXPECT_TRUE(file.WriteInt(settings::kWindowDivider, 250)) << text;
        EXPECT_TRUE(file.WriteInt(settings::kSort, 4)) << text;
        EXPECT_TRUE(file.WriteText(settings::kTreeFolder, L"C:\\\u00c5\u6771")) << text;
        EXPECT_TRUE(file.WriteInt(settings::kWindowDivider, 250)) << text;
        EXPECT_EQ(file.ReadInt(settings::kSort), 4) << text;
        EXPECT_EQ(file.ReadInt(settings::kWindowDivider), 250) << text;
        EXPECT_EQ(file.ReadText(settings::kTreeFolder), L"C:\\\u00c5\u6771") << text;
    }
}

std::vector<DWORD> reported;
void Remember(const std::wstring&, DWORD error) { reported.push_back(error); }

// Another program holds the file open as it would to scan or index it, denying its
// replacement, and lets go after heldFor milliseconds or when the holder goes.
class Holder {
public:
    Holder(const std::wstring& path, DWORD heldFor)
        : file_(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                            nullptr)),
          done_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
          thread_([this, heldFor] {
              WaitForSingleObject(done_.get(), heldFor);
              file_.Reset();
          }) {}
    ~Holder() {
        SetEvent(done_.get());
        thread_.join();
    }
    bool Holds() const { return static_cast<bool>(file_); }

private:
    UniqueFileHandle file_;
    UniqueHandle done_;
    std::thread thread_;
};

// A hold of a moment is waited out; a hold that outlasts the wait loses the write, which is
// reported once for the whole run of failing writes (a shutdown writes some thirty keys), and
// those later writes do not wait again. The next write that succeeds ends the run.
TEST(SettingsSaveTest, FileHeldByAnotherProgramIsWaitedForThenReportedOnce) {
    TempFolder folder;
    std::wstring path = folder.File(L"gen_cv.ini");
    WriteBytes(path, kUserFile);
    SettingsFile file(path);
    reported.clear();
    SettingsFile::SetWriteReport(&Remember);
    {
        Holder holder(path, 150);
        ASSERT_TRUE(holder.Holds());
        EXPECT_TRUE(file.WriteInt(settings::kWindowDivider, 7));
    }
    EXPECT_EQ(file.ReadInt(settings::kWindowDivider), 7);
    EXPECT_TRUE(reported.empty());
    {
        Holder holder(path, 5000);
        EXPECT_FALSE(file.WriteInt(settings::kWindowDivider, 8));
        DWORD start = GetTickCount();
        for (int i = 0; i < 10; ++i) EXPECT_FALSE(file.WriteInt(settings::kSort, i));
        EXPECT_LT(GetTickCount() - start, 2000u) << "the later writes of the run do not wait";
        EXPECT_EQ(reported.size(), 1u);
    }
    EXPECT_EQ(file.ReadInt(settings::kWindowDivider), 7);
    EXPECT_EQ(StoredValue(path, "Tree", "Folder"), "C:\\Music\\");
    EXPECT_TRUE(file.WriteInt(settings::kWindowDivider, 9));
    {
        Holder holder(path, 5000);
        EXPECT_FALSE(file.WriteInt(settings::kWindowDivider, 10));
    }
    EXPECT_EQ(reported.size(), 2u) << "a new run after a success is reported again";
    SettingsFile::SetWriteReport(nullptr);
}

}  // namespace
