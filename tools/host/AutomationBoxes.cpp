// Message boxes under automation. A watcher thread polls this process's top-level windows,
// since the plugin shows boxes from its start-up (before the script runs) and from nested
// modal loops where no command of the script is running. Each new box is printed once and
// answered with the answer the script queued ("answer yes"). A box the script does not answer
// before it acts again (or that shows while the plugin starts or after the script ended) was
// expected by nobody: it is reported, dismissed with its most cautious button so the run can
// go on, and counted so that the host exits with a failure.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "Automation.h"
#include "AutomationCommon.h"
#include "HostApp.h"
#include "base/Text.h"
#include "base/Unique.h"
#include "logic/ScriptLine.h"

namespace {

constexpr DWORD kPollMs = 25;
constexpr DWORD kAnswerWaitMs = 10000;
constexpr int kMessageTextId = 0xFFFF;

// A button by its id ("answer yes"), or by its caption when the word names no id: boxes whose
// buttons were renamed ("answer I feel lucky").
struct QueuedAnswer {
    int button;
    std::wstring caption;
    std::shared_ptr<std::atomic<bool>> taken;
};

QueuedAnswer AnswerOfWords(const std::wstring& words) {
    int button = BoxButtonOfWord(ToLower(words));
    return {button, button ? std::wstring() : words, std::make_shared<std::atomic<bool>>(false)};
}

std::wstring WithoutAmpersands(std::wstring caption) {
    caption.erase(std::remove(caption.begin(), caption.end(), L'&'), caption.end());
    return ToLower(caption);
}

struct CaptionSearch {
    std::wstring wanted;
    int button = 0;
};

BOOL CALLBACK MatchCaption(HWND child, LPARAM lp) {
    auto* search = reinterpret_cast<CaptionSearch*>(lp);
    if (ClassNameOf(child) != L"Button" || WithoutAmpersands(WindowTextOf(child)) != search->wanted) return TRUE;
    search->button = GetDlgCtrlID(child);
    return FALSE;
}

// The id of the answer's button in this box, or 0 when it has none.
int ButtonOfAnswer(HWND box, const QueuedAnswer& answer) {
    if (answer.caption.empty()) return GetDlgItem(box, answer.button) ? answer.button : 0;
    CaptionSearch search{WithoutAmpersands(answer.caption)};
    EnumChildWindows(box, MatchCaption, reinterpret_cast<LPARAM>(&search));
    return search.button;
}

enum class ScriptPhase { kStarting, kRunning, kEnded };

struct BoxWatch {
    std::mutex lock;
    std::deque<QueuedAnswer> answers;
    // The script's leading "answer" lines, queued before the plugin starts; each is claimed by
    // the "answer" command that wrote it, which then waits for it to be taken.
    std::deque<QueuedAnswer> startupAnswers;
    std::map<HWND, bool> shown;  // boxes seen and still open: true once answered or dismissed
    ScriptPhase phase = ScriptPhase::kStarting;
    int unexpected = 0;
    std::thread watcher;
    std::atomic<bool> stopping{false};
};

BoxWatch& Watch() {
    static BoxWatch watch;
    return watch;
}

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

std::wstring BoxCaption(HWND box) {
    wchar_t caption[512] = {};
    InternalGetWindowText(box, caption, 512);
    return caption;
}

std::wstring BoxText(HWND box) {
    return BoxCaption(box) + L": " + EscapeForLine(WindowTextOf(GetDlgItem(box, kMessageTextId)));
}

int DefaultButton(HWND box) {
    DWORD_PTR result = 0;
    if (SendMessageTimeoutW(box, DM_GETDEFID, 0, 0, SMTO_NORMAL, 1000, &result) && HIWORD(result) == DC_HASDEFID)
        return LOWORD(result);
    return GetDlgItem(box, IDOK) ? IDOK : IDCANCEL;
}

// The answer that changes the least: an unexpected "Delete these files?" must not be agreed to.
int CautiousButton(HWND box) {
    for (int button : {IDCANCEL, IDNO, IDABORT, IDOK})
        if (GetDlgItem(box, button)) return button;
    return DefaultButton(box);
}

std::wstring ButtonName(int button) {
    switch (button) {
        case IDOK: return L"OK";
        case IDCANCEL: return L"Cancel";
        case IDABORT: return L"Abort";
        case IDRETRY: return L"Retry";
        case IDIGNORE: return L"Ignore";
        case IDYES: return L"Yes";
        case IDNO: return L"No";
    }
    return FormatInt(button);
}

void Click(HWND box, int button) {
    HWND control = GetDlgItem(box, button);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(control));
}

// With the lock held.
void Dismiss(BoxWatch& watch, HWND box) {
    int button = CautiousButton(box);
    ++watch.unexpected;
    watch.shown[box] = true;
    Say(L"unexpected box: no answer was given for \"" + BoxCaption(box) + L"\"; dismissed with " +
        ButtonName(button));
    Click(box, button);
}

// With the lock held: the queued answer, or the verdict of the script's phase, or nothing yet.
void Settle(BoxWatch& watch, HWND box) {
    if (!watch.answers.empty()) {
        QueuedAnswer answer = watch.answers.front();
        watch.answers.pop_front();
        answer.taken->store(true);
        watch.shown[box] = true;
        if (int button = ButtonOfAnswer(box, answer)) {
            Click(box, button);
        } else {
            Say(L"answer: the box has no such button; default taken");
            Click(box, DefaultButton(box));
        }
    } else if (watch.phase != ScriptPhase::kRunning) {
        // While the plugin starts, the script cannot answer; after it ended, nothing will.
        Dismiss(watch, box);
    }
}

void Poll(BoxWatch& watch) {
    BoxList list;
    EnumWindows(CollectBoxes, reinterpret_cast<LPARAM>(&list));
    std::lock_guard<std::mutex> guard(watch.lock);
    // A box is forgotten only once it is destroyed: one answered a moment ago is hidden first,
    // and may still be in the list taken above, half torn down, when it would pass for new.
    for (auto it = watch.shown.begin(); it != watch.shown.end();) {
        if (!IsWindow(it->first)) it = watch.shown.erase(it);
        else ++it;
    }
    for (HWND box : list.boxes) {
        if (!IsWindowVisible(box)) continue;
        auto found = watch.shown.find(box);
        if (found == watch.shown.end()) {
            Say(L"box: " + BoxText(box));
            watch.shown[box] = false;
        } else if (found->second) {
            continue;
        }
        Settle(watch, box);
    }
}

void WatchBoxes() {
    BoxWatch& watch = Watch();
    while (!watch.stopping.load()) {
        Poll(watch);
        Sleep(kPollMs);
    }
}

void OnAnswer(const std::wstring& argument) {
    QueuedAnswer answer = AnswerOfWords(argument);
    if (argument.empty()) {
        Say(L"answer: expected yes, no, cancel, ok, retry, ignore, abort or a button's caption");
        return;
    }
    BoxWatch& watch = Watch();
    std::shared_ptr<std::atomic<bool>> taken;
    {
        std::lock_guard<std::mutex> guard(watch.lock);
        if (!watch.startupAnswers.empty()) {
            taken = watch.startupAnswers.front().taken;
            watch.startupAnswers.pop_front();
        } else {
            taken = answer.taken;
            watch.answers.push_back(answer);
        }
    }
    DWORD start = GetTickCount();
    while (!taken->load() && GetTickCount() - start < kAnswerWaitMs) Sleep(kPollMs);
    std::lock_guard<std::mutex> guard(watch.lock);
    if (taken->load()) return;
    for (auto it = watch.answers.begin(); it != watch.answers.end(); ++it) {
        if (it->taken == taken) {
            watch.answers.erase(it);
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

// Boxes answered but not yet destroyed are remembered; only those still showing count.
int PendingMessageBoxes() {
    std::lock_guard<std::mutex> guard(Watch().lock);
    return static_cast<int>(std::count_if(Watch().shown.begin(), Watch().shown.end(),
                                          [](const auto& box) { return IsWindowVisible(box.first) != FALSE; }));
}

bool UnansweredMessageBox() {
    std::lock_guard<std::mutex> guard(Watch().lock);
    for (const auto& box : Watch().shown)
        if (!box.second && IsWindowVisible(box.first)) return true;
    return false;
}

void ScriptActs() {
    BoxWatch& watch = Watch();
    // A box the last command opened may not have been polled yet; it is showing, so it counts.
    Poll(watch);
    std::lock_guard<std::mutex> guard(watch.lock);
    watch.phase = ScriptPhase::kRunning;
    for (auto& box : watch.shown)
        if (!box.second && IsWindowVisible(box.first)) Dismiss(watch, box.first);
}

void ScriptRuns() {
    std::lock_guard<std::mutex> guard(Watch().lock);
    Watch().phase = ScriptPhase::kRunning;
}

void ScriptEnded() {
    ScriptActs();
    std::lock_guard<std::mutex> guard(Watch().lock);
    Watch().phase = ScriptPhase::kEnded;
}

void StartMessageBoxWatcher() {
    BoxWatch& watch = Watch();
    for (const std::wstring& word : LeadingScriptAnswers()) {
        if (word.empty()) break;  // the command itself reports the missing word when it runs
        QueuedAnswer answer = AnswerOfWords(word);
        watch.answers.push_back(answer);
        watch.startupAnswers.push_back(answer);
    }
    watch.watcher = std::thread(WatchBoxes);
}

int UnexpectedMessageBoxes() {
    std::lock_guard<std::mutex> guard(Watch().lock);
    return Watch().unexpected;
}

void StopMessageBoxWatcherThread() {
    BoxWatch& watch = Watch();
    watch.stopping.store(true);
    if (watch.watcher.joinable()) watch.watcher.join();
}

extern const CommandEntry kBoxCommands[] = {
    {L"answer", &OnAnswer},
    {nullptr, nullptr},
};
