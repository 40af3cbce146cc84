// The task window: a message-only window of the user-interface thread that runs functions
// handed over by the automation threads.
#include "HostTasks.h"

#include <memory>

#include "HostApp.h"
#include "base/Unique.h"

namespace {

constexpr wchar_t kTaskClass[] = L"CvHostTasks";

struct Task {
    std::function<void()> run;
    UniqueHandle done{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
};

HWND taskWindow;

// Posted input is handled in queue order, so holding and releasing keys by posted messages
// around it puts the keys down for exactly the messages between them.
void HoldKeys(WPARAM held) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    auto hold = [&](bool down, std::initializer_list<int> codes) {
        for (int code : codes) keys[code] = down ? 0x80 : 0;
    };
    hold(held & kHoldCtrl, {VK_CONTROL, VK_LCONTROL});
    hold(held & kHoldShift, {VK_SHIFT, VK_LSHIFT});
    hold(held & kHoldAlt, {VK_MENU, VK_LMENU});
    hold(held & kHoldLeftButton, {VK_LBUTTON});
    SetKeyboardState(keys);
}

void RestoreKeyboard() {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    for (int key : {VK_SHIFT, VK_LSHIFT, VK_RSHIFT, VK_CONTROL, VK_LCONTROL, VK_RCONTROL, VK_MENU,
                    VK_LMENU, VK_RMENU, VK_LBUTTON})
        keys[key] = 0;
    SetKeyboardState(keys);
}

LRESULT CALLBACK TaskProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    switch (message) {
        case kMsgRunTask: {
            std::unique_ptr<std::shared_ptr<Task>> task(reinterpret_cast<std::shared_ptr<Task>*>(lp));
            try {
                (*task)->run();
            } catch (...) {
            }
            SetEvent((*task)->done.get());
            return 0;
        }
        case kMsgFinishQuit:
            PostQuitMessage(0);
            return 0;
        case kMsgHoldKeys:
            HoldKeys(wp);
            return 0;
        case kMsgReleaseKeys:
            RestoreKeyboard();
            return 0;
        case kMsgSignal:
            SetEvent(reinterpret_cast<HANDLE>(lp));
            CloseHandle(reinterpret_cast<HANDLE>(lp));
            return 0;
    }
    return DefWindowProcW(window, message, wp, lp);
}

}  // namespace

void CreateTaskWindow(HINSTANCE instance) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = TaskProc;
    wc.hInstance = instance;
    wc.lpszClassName = kTaskClass;
    RegisterClassW(&wc);
    taskWindow = CreateWindowW(kTaskClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
}

void DestroyTaskWindow() {
    if (taskWindow) DestroyWindow(taskWindow);
    taskWindow = nullptr;
}

HWND TaskWindow() { return taskWindow; }

void RunOnUi(std::function<void()> run) {
    if (GetCurrentThreadId() == Host().uiThreadId) {
        run();
        return;
    }
    auto task = std::make_shared<Task>();
    task->run = std::move(run);
    auto* handed = new std::shared_ptr<Task>(task);
    if (!SendNotifyMessageW(taskWindow, kMsgRunTask, 0, reinterpret_cast<LPARAM>(handed))) {
        delete handed;
        return;
    }
    WaitForSingleObject(task->done.get(), INFINITE);
}

void PostToUi(std::function<void()> run) {
    auto task = std::make_shared<Task>();
    task->run = std::move(run);
    auto* handed = new std::shared_ptr<Task>(task);
    if (!PostMessageW(taskWindow, kMsgRunTask, 0, reinterpret_cast<LPARAM>(handed))) delete handed;
}
