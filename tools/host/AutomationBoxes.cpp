// Message boxes under automation. A watcher thread polls this process's top-level windows,
// since the plugin shows boxes from its start-up (before the script runs) and from nested
// modal loops where no command of the script is running. Each new box is printed once and
// answered with the answer the script queued ("answer yes"), or with its default button when
// none was queued within 300 ms, so a script never hangs on a box it did not expect.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "Automation.h"
#include "AutomationCommon.h"
#include "HostApp.h"
#include "base/Unique.h"
#include "logic/ScriptLine.h"

namespace {

constexpr DWORD kPollMs = 25;
constexpr DWORD kDefaultAnswerMs = 300;
constexpr DWORD kAnswerWaitMs = 10000;
constexpr int kMessageTextId = 0xFFFF;

struct QueuedAnswer {
    int button;
    std::shared_ptr<std::atomic<bool>> taken;
};

std::mutex lock;
std::deque<QueuedAnswer> answers;
std::map<HWND, DWORD> shownAt;  // boxes seen and not yet answered, with the tick they appeared
std::thread watcher;
std::atomic<bool> stopping{false};

bool IsBoxButton(int id) { return id >= IDOK && id <= IDCONTINUE; }

BOOL CALLBACK CheckBoxChild(HWND child, LPARAM result) {
    auto* verdict = reinterpret_cast<int*>(result);
    std::wstring cls = ClassNameOf(child);
    int id = GetDlgCtrlID(child);
    if (cls == L"Static") {
        if (id == kMessageTextId) *verdict |= 1;
    } else if (cls == L"Button" && IsBoxButton(id)) {
        *verdict |= 2;
    } else {
        *verdict |= 4;
    }
    return TRUE;
}

struct BoxList {
    std::vector<HWND> boxes;
};

BOOL CALLBACK CollectBoxes(HWND window, LPARAM list) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && IsWindowVisible(window) && IsMessageBox(window))
        reinterpret_cast<BoxList*>(list)->boxes.push_back(window);
    return TRUE;
}

std::wstring BoxText(HWND box) {
    wchar_t caption[512] = {};
    InternalGetWindowText(box, caption, 512);
    return std::wstring(caption) + L": " + EscapeForLine(WindowTextOf(GetDlgItem(box, kMessageTextId)));
}

int DefaultButton(HWND box) {
    DWORD_PTR result = 0;
    if (SendMessageTimeoutW(box, DM_GETDEFID, 0, 0, SMTO_NORMAL, 1000, &result) && HIWORD(result) == DC_HASDEFID)
        return LOWORD(result);
    return GetDlgItem(box, IDOK) ? IDOK : IDCANCEL;
}

void Click(HWND box, int button) {
    HWND control = GetDlgItem(box, button);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(control));
}

void Answer(HWND box, DWORD age) {
    std::unique_lock<std::mutex> guard(lock);
    if (!answers.empty()) {
        QueuedAnswer answer = answers.front();
        answers.pop_front();
        answer.taken->store(true);
        guard.unlock();
        if (GetDlgItem(box, answer.button)) {
            Click(box, answer.button);
        } else {
            Say(L"answer: the box has no such button; default taken");
            Click(box, DefaultButton(box));
        }
    } else if (age >= kDefaultAnswerMs) {
        guard.unlock();
        Click(box, DefaultButton(box));
    } else {
        return;
    }
    std::lock_guard<std::mutex> again(lock);
    shownAt[box] = 0;  // answered: keep it known until it closes, so it is not printed twice
}

void Poll() {
    BoxList list;
    EnumWindows(CollectBoxes, reinterpret_cast<LPARAM>(&list));
    DWORD now = GetTickCount();
    std::vector<std::pair<HWND, DWORD>> waiting;
    {
        std::lock_guard<std::mutex> guard(lock);
        for (auto it = shownAt.begin(); it != shownAt.end();) {
            if (!IsWindow(it->first) || !IsWindowVisible(it->first)) it = shownAt.erase(it);
            else ++it;
        }
        for (HWND box : list.boxes) {
            auto found = shownAt.find(box);
            if (found == shownAt.end()) {
                Say(L"box: " + BoxText(box));
                shownAt[box] = now ? now : 1;
                waiting.emplace_back(box, 0);
            } else if (found->second != 0) {
                waiting.emplace_back(box, now - found->second);
            }
        }
    }
    for (const auto& box : waiting) Answer(box.first, box.second);
}

void Watch() {
    while (!stopping.load()) {
        Poll();
        Sleep(kPollMs);
    }
}

int ButtonOf(const std::wstring& word) {
    if (word == L"yes") return IDYES;
    if (word == L"no") return IDNO;
    if (word == L"cancel") return IDCANCEL;
    if (word == L"ok") return IDOK;
    if (word == L"retry") return IDRETRY;
    if (word == L"ignore") return IDIGNORE;
    if (word == L"abort") return IDABORT;
    return 0;
}

void OnAnswer(const std::wstring& argument) {
    std::wstring word;
    for (wchar_t c : argument) word += static_cast<wchar_t>(towlower(c));
    int button = ButtonOf(word);
    if (!button) {
        Say(L"answer: expected yes, no, cancel or ok");
        return;
    }
    auto taken = std::make_shared<std::atomic<bool>>(false);
    {
        std::lock_guard<std::mutex> guard(lock);
        answers.push_back({button, taken});
    }
    DWORD start = GetTickCount();
    while (!taken->load() && GetTickCount() - start < kAnswerWaitMs) Sleep(kPollMs);
    if (taken->load()) return;
    std::lock_guard<std::mutex> guard(lock);
    for (auto it = answers.begin(); it != answers.end(); ++it) {
        if (it->taken == taken) {
            answers.erase(it);
            break;
        }
    }
    Say(L"answer: no message box appeared");
}

}  // namespace

bool IsMessageBox(HWND window) {
    if (ClassNameOf(window) != L"#32770" || (GetWindowLongW(window, GWL_STYLE) & WS_CHILD))
        return false;
    int verdict = 0;
    EnumChildWindows(window, CheckBoxChild, reinterpret_cast<LPARAM>(&verdict));
    return verdict == 3;
}

int PendingMessageBoxes() {
    std::lock_guard<std::mutex> guard(lock);
    return static_cast<int>(shownAt.size());
}

void StartMessageBoxWatcher() { watcher = std::thread(Watch); }

void StopMessageBoxWatcherThread() {
    stopping.store(true);
    if (watcher.joinable()) watcher.join();
}

extern const CommandEntry kBoxCommands[] = {
    {L"answer", &OnAnswer},
    {nullptr, nullptr},
};
