// The repair's own thread against a real cache: the calling (view's) thread keeps handling its
// messages while a lookup waits for the database, and a view that closes or quits meanwhile is
// shown no question.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <memory>
#include <thread>

#include "base/Unique.h"
#include "db/CacheDatabase.h"
#include "db/DatabaseLock.h"
#include "support/TempFolder.h"
#include "ui/view/RepairThread.h"

namespace {

// A window of this thread that signals its event when it handles WM_APP.
LRESULT CALLBACK SignalOnApp(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (message == WM_APP) SetEvent(reinterpret_cast<HANDLE>(GetWindowLongPtrW(window, GWLP_USERDATA)));
    return DefWindowProcW(window, message, wp, lp);
}

class RepairThreadTest : public testing::Test {
protected:
    void SetUp() override {
        db = std::make_unique<CacheDatabase>(folder.File(L"cache"));
        ASSERT_TRUE(db->CreateSchema());
        CreateDirectoryW(folder.File(L"New").c_str(), nullptr);
        WriteBytes(folder.File(L"New\\a.mp3"), "x");
        Statement& sql = db->Sql();
        sql.SetSql(L"INSERT INTO Folder (folderid, path, folder_exists) VALUES (1, ?, 1)");
        sql.BindText((folder.File(L"New") + L"\\").c_str(), 1);
        ASSERT_EQ(sql.Execute(), Statement::kOk);
        sql.SetSql(L"INSERT INTO Files (folderid, filename, file_exists) VALUES (1, 'a.mp3', 1)");
        ASSERT_EQ(sql.Execute(), Statement::kOk);
        playlist->SetEntries({Ref<FileRecord>::Make(std::wstring_view(folder.File(L"Old\\a.mp3")))});
    }

    PlaylistRepair::AskUser CountingAsk(RepairAnswer answer) {
        return [this, answer](const std::wstring&) {
            ++asked;
            return answer;
        };
    }

    TempFolder folder;
    std::unique_ptr<CacheDatabase> db;
    Ref<Playlist> playlist = Ref<Playlist>::Make();
    int asked = 0;
};

// The lookup is held up by the database lock, taken by another thread until a message posted
// to this thread was handled (or half a minute passed, when it never is).
TEST_F(RepairThreadTest, TheCallingThreadHandlesMessagesWhileTheLookupWaits) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = &SignalOnApp;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"CvRepairThreadTest";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowW(L"CvRepairThreadTest", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    UniqueHandle handled(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    UniqueHandle locked(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(handled.get()));
    std::atomic<bool> handledWhileLocked{false};
    std::thread holder([&] {
        Lock lock(DatabaseLock());
        SetEvent(locked.get());
        handledWhileLocked = WaitForSingleObject(handled.get(), 30000) == WAIT_OBJECT_0;
    });
    WaitForSingleObject(locked.get(), INFINITE);
    PostMessageW(window, WM_APP, 0, 0);

    PlaylistRepair repair(playlist);
    bool finished = RunRepairOnThread(repair, db->SharedConnection(), CountingAsk(RepairAnswer::kYes), [] { return true; });
    holder.join();
    DestroyWindow(window);
    EXPECT_TRUE(handledWhileLocked) << "the thread stood still while the lookup waited";
    EXPECT_TRUE(finished);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(repair.Counter(), 1);
    EXPECT_EQ(playlist->CopyEntries()[0]->Path(), folder.File(L"New\\a.mp3"));
}

TEST_F(RepairThreadTest, AViewNoLongerThereIsAskedNothingAndTheRunIsCancelled) {
    PlaylistRepair repair(playlist);
    EXPECT_FALSE(RunRepairOnThread(repair, db->SharedConnection(), CountingAsk(RepairAnswer::kYes), [] { return false; }));
    EXPECT_EQ(asked, 0);
    EXPECT_TRUE(repair.Cancelled());
    EXPECT_EQ(playlist->CopyEntries()[0]->Path(), folder.File(L"Old\\a.mp3"));
}

TEST_F(RepairThreadTest, AQuitAsksNothingAndIsPostedAgainForTheRealLoop) {
    PostQuitMessage(7);
    PlaylistRepair repair(playlist);
    EXPECT_FALSE(RunRepairOnThread(repair, db->SharedConnection(), CountingAsk(RepairAnswer::kYes), [] { return true; }));
    EXPECT_EQ(asked, 0);
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 7u);
}

}  // namespace
