// A host that answers a tag request only after the worker gave up on it: the record it writes
// into by then may belong to no list any more. The record must outlive the request and take
// none of the late answers, and nothing else in memory or in the cache may change.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>

#include "db/roots/RootRows.h"
#include "host/HostApi.h"
#include "scan/TagRequest.h"
#include "bus/Messages.h"
#include "bus/WindowRegistry.h"
#include "WorkerFixture.h"

namespace {

// A host window on the test's thread that reads tags the way the plugin's own window over the
// player's does (ReadTags, key by key), holding back the first answer for one file until a
// condition holds. Meanwhile only posted messages are handled, as behind a busy input plugin.
class SlowTagHost {
public:
    SlowTagHost() : previous_(GetWindow(kHostWindowId)) {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"CvSlowTagHost";
        RegisterClassW(&wc);
        window_ = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        RegisterWindow(kHostWindowId, window_);
    }
    ~SlowTagHost() {
        RegisterWindow(kHostWindowId, previous_);
        DestroyWindow(window_);
    }
    SlowTagHost(const SlowTagHost&) = delete;
    SlowTagHost& operator=(const SlowTagHost&) = delete;

    std::wstring slowFile;
    std::function<bool()> answerWhen;
    std::function<void()> beforeLateAnswer;
    int lateAnswers = 0;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
        auto* self = reinterpret_cast<SlowTagHost*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self && message == kCommandMessage && wp) return ReadTags(window, *reinterpret_cast<FileRecord*>(wp)) ? 1 : 0;
        if (self && message == kHostMessage && lp == kHostExtendedFileInfo)
            return self->Answer(*reinterpret_cast<HostFileInfoRequest*>(wp));
        return DefWindowProcW(window, message, wp, lp);
    }
    LRESULT Answer(HostFileInfoRequest& request) {
        std::wstring path = request.path, key = request.key;
        std::wstring name = path.substr(path.rfind(L'\\') + 1);
        bool late = name == slowFile;
        if (late && key == L"title") Hold();
        std::wstring value = key == L"title" ? (late ? L"Late " : L"Title ") + name : key == L"year" ? L"1999" : L"";
        lstrcpynW(request.buffer, value.c_str(), request.bufferLength);
        return 1;
    }
    void Hold() {
        DWORD start = GetTickCount();
        while (answerWhen && !answerWhen() && GetTickCount() - start < 60000) {
            MSG msg;
            if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_POSTMESSAGE)) DispatchMessageW(&msg);
            else MsgWaitForMultipleObjectsEx(0, nullptr, 20, QS_POSTMESSAGE, MWMO_INPUTAVAILABLE);
        }
        if (beforeLateAnswer) beforeLateAnswer();
        ++lateAnswers;
    }

    HWND previous_;
    HWND window_ = nullptr;
};

class AbandonedTagReadTest : public ScanWorkerTest {};

// The last row shown is given up after two seconds; its answer comes only once the pass has
// ended and let go of its list, and new listings have been made, likely in the memory the list
// had. A late answer stored into a freed record would show up in one of them.
TEST_F(AbandonedTagReadTest, AnAnswerAfterTheListIsGoneChangesNothing) {
    MakeLibrary();
    InsertRootRow(*database, 1, true, Music(), std::nullopt);
    StartWorker();
    Ref<RowList> rows = StoredRows();
    ASSERT_EQ(rows->rows.size(), 3u);
    std::wstring slow(rows->rows[2]->FileName());
    std::vector<Ref<RowList>> later;
    {
        SlowTagHost host;
        host.slowFile = slow;
        const WPARAM marker = 5998;
        bool markerSent = false;
        host.answerWhen = [&] {
            if (harness.Count(kCmdRowTagsRead) < 3) return false;
            // Work items run in order: once the marker is back, the pass has returned.
            if (!markerSent) markerSent = worker->Post(kWorkForwardCommand, marker, 0);
            return harness.Received(marker);
        };
        host.beforeLateAnswer = [&] {
            for (int i = 0; i < 8; ++i) later.push_back(StoredRows());
        };
        harness.commands.clear();
        PostWork(kWorkVisibleTags, reinterpret_cast<WPARAM>(new VisibleRange{0, 3, 0}),
                 reinterpret_cast<LPARAM>(rows.Detach()));
        ASSERT_TRUE(harness.PumpUntil([&] { return host.lateAnswers == 1; }, 30000));
        harness.Pump(50);
    }
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM Files WHERE tagged=1"), 2) << "the rows before it were read";
    EXPECT_EQ(Count(L"SELECT COUNT(*) FROM Files WHERE title LIKE 'Late%'"), 0);
    for (const Ref<RowList>& list : later) {
        for (const auto& row : list->rows) {
            std::wstring title(row->Tag(TagField::kTitle).value_or(L""));
            if (row->FileName() == slow) {
                EXPECT_FALSE(row->tagged) << "the late answer reached a listing made after it was given up";
                EXPECT_EQ(title, L"");
            } else {
                EXPECT_EQ(title, L"Title " + std::wstring(row->FileName()));
            }
        }
    }
}

}  // namespace
