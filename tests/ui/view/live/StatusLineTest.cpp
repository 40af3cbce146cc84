// The status line's numbers through the real view: sizes in megabytes cut (not rounded) to two
// decimals below 2^30 bytes and in gigabytes from there, hours never wrapped at a day, and a
// row whose tags could not be read not counted as scanned.
#include <gtest/gtest.h>

#include "bus/CommandCodes.h"
#include "bus/WindowRegistry.h"
#include "livehost/LivePlugin.h"
#include "ui/view/ViewCommandCodes.h"

namespace {

// A file of the given size that takes no room on disk.
void MakeSparseFile(const std::wstring& path, long long size) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    LARGE_INTEGER end;
    end.QuadPart = size;
    EXPECT_TRUE(SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file));
    CloseHandle(file);
}

class StatusLineTest : public LivePluginTest {
protected:
    bool WaitForStatus(const std::wstring& text) const {
        return PumpUntil([&] { return StatusText().rfind(text, 0) == 0; }, 20000);
    }
};

TEST_F(StatusLineTest, SizesAndHoursFollowTheirRules) {
    CreateDirectoryW(Library().c_str(), nullptr);
    for (const wchar_t* folder : {L"under", L"exact"}) CreateDirectoryW(Library(folder).c_str(), nullptr);
    MakeSparseFile(Library(L"under\\a.mp3"), (1LL << 30) - 1);
    MakeSparseFile(Library(L"exact\\b.mp3"), 1LL << 30);
    // 25 hours: a day and an hour, shown as hours.
    Fake().tags[L"a.mp3"] = {{L"title", L"Long"}, {L"length", L"90000000"}};
    StoreFolderRoot(Library());
    StartPlugin();

    ASSERT_TRUE(SelectAndWaitForListing(Library(L"under\\")));
    EXPECT_TRUE(WaitForStatus(L"1 file(s) scanned out of 1 file(s) found (25:00:00, 1023.99 MB)"))
        << "a byte short of 2^30, once its tags are read: " << testing::PrintToString(StatusText());
    ASSERT_TRUE(SelectAndWaitForListing(Library(L"exact\\")));
    EXPECT_TRUE(WaitForStatus(L"1 file(s) scanned out of 1 file(s) found (00:00:00, 1.00 GB)"))
        << "exactly 2^30: " << testing::PrintToString(StatusText());
    ASSERT_TRUE(SelectAndWaitForListing(Library(L"under\\")));
    EXPECT_TRUE(WaitForStatus(L"1 file(s) scanned out of 1 file(s) found (25:00:00, 1023.99 MB)"))
        << "listed with its tags from the cache: " << testing::PrintToString(StatusText());
}

// A player that cannot be reached fails every read; the worker still reports each row.
TEST_F(StatusLineTest, RowsWhoseTagsWereNotReadAreNotCountedAsScanned) {
    for (const wchar_t* name : {L"a.mp3", L"b.mp3", L"c.mp3"}) AddLibraryFile(name);
    for (const wchar_t* part : {L"docs", L"docs\\Crateview"}) CreateDirectoryW(folder.File(part).c_str(), nullptr);
    WritePrivateProfileStringW(L"General", L"Disable tag reading", L"1", SettingsPath().c_str());
    StoreFolderRoot(Library());
    StartPlugin();
    ASSERT_TRUE(SelectAndWaitForListing(Library()));
    ASSERT_TRUE(WaitForStatus(L"0 file(s) scanned out of 3 file(s) found"));

    Command(kOptSetDisableTagReading, 0);
    HWND player = GetWindow(kHostWindowId);
    RegisterWindow(kHostWindowId, nullptr);
    int notices = RowNotices();
    PostCommand(kCmdReadVisibleTags);
    bool reported = PumpUntil([&] { return RowNotices() >= notices + 3; }, 20000);
    RegisterWindow(kHostWindowId, player);
    ASSERT_TRUE(reported) << "each row's failed read is reported";
    EXPECT_TRUE(StatusText().rfind(L"0 file(s) scanned out of 3 file(s) found (00:00:00+", 0) == 0)
        << testing::PrintToString(StatusText());

    PostCommand(kCmdReadVisibleTags);
    EXPECT_TRUE(WaitForStatus(L"3 file(s) scanned out of 3 file(s) found (00:00:00, 0.00 MB)"))
        << "read once the player answers: " << testing::PrintToString(StatusText());
}

}  // namespace
