// "View file info" through the list's menu command: the host's file-information dialog for each
// selected row in list order, the row's tags read again after each dialog the host lets go on
// (answer 0) so edits made there reach the row and the cache, and the series ending at the
// first non-zero answer.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "livehost/LivePlugin.h"
#include "ui/view/CellText.h"
#include "bus/CommandCodes.h"
#include "bus/Messages.h"
#include "ui/view/ViewCommandCodes.h"

namespace {

std::wstring NameOf(const std::wstring& path) { return path.substr(path.rfind(L'\\') + 1); }

class FileInfoTest : public LivePluginTest {
protected:
    void StartOnLibrary() {
        AddLibraryFile(L"a.mp3", {{L"title", L"Alpha"}});
        AddLibraryFile(L"b.mp3", {{L"title", L"Beta"}});
        AddLibraryFile(L"c.mp3", {{L"title", L"Gamma"}});
        StoreFolderRoot(Library());
        StartPlugin();
        ASSERT_TRUE(SelectAndWaitForListing(Library()));
        ASSERT_TRUE(PumpUntil([&] { return CountInCache(L"SELECT COUNT(*) FROM Files WHERE tagged=1") == 3; }, 20000));
    }
    void SelectRows(std::initializer_list<int> rows) const {
        ListView_SetItemState(List(), -1, 0, LVIS_SELECTED);
        for (int row : rows) ListView_SetItemState(List(), row, LVIS_SELECTED, LVIS_SELECTED);
    }
    // The user edits the title in each dialog; the host lets the dialogs go on, up to the one
    // that ends the series (0: none does).
    static void EditTitlesInDialogs(size_t endingDialog = 0) {
        Fake().fileInfoAnswer = 0;
        Fake().whileFileInfoShown = [endingDialog](const std::wstring& path) {
            Fake().tags[NameOf(path)][L"title"] = L"Edited " + NameOf(path);
            if (Fake().fileInfoShown.size() == endingDialog) Fake().fileInfoAnswer = 1;
        };
    }
    long long StoredTitles(const wchar_t* title) const {
        std::wstring sql = L"SELECT COUNT(*) FROM Files WHERE title='" + std::wstring(title) + L"'";
        return CountInCache(sql.c_str());
    }
};

TEST_F(FileInfoTest, EachDialogTheHostLetsGoOnIsFollowedByAReRead) {
    StartOnLibrary();
    std::vector<std::wstring> names = ColumnTexts(kColumnFilename);
    ASSERT_EQ(names.size(), 3u);
    SelectRows({0, 1, 2});
    EditTitlesInDialogs(2);
    SendMessageW(List(), kCommandMessage, kCmdRunMenuCommand, kMenuFileInfo);
    ASSERT_TRUE(PumpUntil([&] { return CommandsReceived(kCmdFileInfo) == 1 && Fake().fileInfoShown.size() == 2; }, 20000));
    Pump();
    EXPECT_EQ(Fake().fileInfoShown, (std::vector<std::wstring>{Library(names[0]), Library(names[1])}));

    // The worker reads the row again, as it reads rows coming into sight.
    EXPECT_TRUE(PumpUntil([&] { return StoredTitles((L"Edited " + names[0]).c_str()) == 1; }, 10000));
    Pump();
    std::vector<std::wstring> titles = ColumnTexts(kColumnTitle);
    EXPECT_EQ(titles[0], L"Edited " + names[0]) << "the first row was read again";
    EXPECT_NE(titles[1], L"Edited " + names[1]) << "the dialog that ended the series is not followed by a read";
    EXPECT_EQ(StoredTitles((L"Edited " + names[0]).c_str()), 1) << "the cache has the edit";
    EXPECT_EQ(StoredTitles((L"Edited " + names[1]).c_str()), 0);
}

// The user sees the edit at once: the row is repainted after it was read again.
TEST_F(FileInfoTest, ARowReadAgainIsRepainted) {
    StartOnLibrary();
    SelectRows({1});
    EditTitlesInDialogs();
    ShowWindow(GetAncestor(List(), GA_ROOT), SW_SHOWNOACTIVATE);
    UpdateWindow(GetAncestor(List(), GA_ROOT));
    RECT before = {};
    ASSERT_FALSE(GetUpdateRect(List(), &before, FALSE)) << "nothing left to paint beforehand";
    Command(kCmdFileInfo);
    ASSERT_EQ(Fake().fileInfoShown.size(), 1u);
    RECT row = {}, update = {}, both = {};
    ListView_GetItemRect(List(), 1, &row, LVIR_BOUNDS);
    // Read by the worker; the view repaints the row when the worker says it was read. Only
    // posted and sent messages are handled meanwhile: a paint would empty the region looked at.
    bool toPaint = false;
    for (DWORD start = GetTickCount(); !toPaint && GetTickCount() - start < 10000; Sleep(10)) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_POSTMESSAGE | PM_QS_SENDMESSAGE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        toPaint = GetUpdateRect(List(), &update, FALSE) && IntersectRect(&both, &row, &update);
    }
    EXPECT_TRUE(toPaint) << "the row read again is to be painted";
}

}  // namespace
