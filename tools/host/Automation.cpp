// The script runner: reads the script, echoes each command, finds it in the families' tables
// and runs it on its own thread, which acts on the plugin's windows through the user-interface
// thread. A script that ends without "quit" quits the same way.
#include "Automation.h"

#include <atomic>
#include <thread>

#include "AutomationCommon.h"
#include "HostApp.h"
#include "HostFrames.h"
#include "HostOutput.h"
#include "HostTasks.h"
#include "base/Text.h"
#include "base/Unique.h"
#include "logic/ScriptLine.h"

namespace {

const CommandEntry* const kFamilies[] = {kViewCommands, kInputCommands, kMenuCommands,
                                         kDialogCommands, kDropCommands, kHostCommands, kBoxCommands, kTagCommands,
                                         kPixelCommands, kScrollbarCommands, kContrastCommands};

std::thread scriptThread;

std::vector<std::wstring> ReadScriptLines(const std::wstring& path) {
    std::vector<std::wstring> lines;
    UniqueFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return lines;
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0) bytes.append(buffer, read);
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
    return SplitLines(Utf8ToWide(bytes));
}

// Commands that only look or wait: a box that showed before them may still be answered by the
// next line. Every other command acts as a user would, which a user facing a box cannot.
bool OnlyLooks(const std::wstring& name) {
    static const wchar_t* const kLooking[] = {L"answer", L"wait-idle", L"sleep", L"list", L"tree",
                                              L"status", L"wait-status", L"playlist", L"settings", L"screenshot", L"dialog",
                                              L"pixels", L"top-row"};
    for (const wchar_t* looking : kLooking)
        if (name == looking) return true;
    return false;
}

CommandHandler FindCommand(const std::wstring& name) {
    for (const CommandEntry* family : kFamilies)
        for (const CommandEntry* entry = family; entry->name; ++entry)
            if (name == entry->name) return entry->handler;
    return nullptr;
}

void RunScript(std::wstring path) {
    std::vector<std::wstring> lines = ReadScriptLines(path);
    if (lines.empty()) Say(L"host: cannot read the script " + path);
    ScriptRuns();
    for (const std::wstring& raw : lines) {
        ScriptLine line = ParseScriptLine(raw);
        if (line.name.empty()) continue;
        Say(L"> " + (line.argument.empty() ? line.name : line.name + L" " + line.argument));
        if (!OnlyLooks(line.name)) ScriptActs();
        // A screenshot shows the open menu; anything else a user does first closes it.
        if (line.name != L"choose" && line.name != L"screenshot" && MenuIsOpen()) CancelOpenMenu();
        if (line.name == L"quit") break;
        if (CommandHandler handler = FindCommand(line.name)) {
            handler(line.argument);
        } else {
            Say(L"unknown command: " + line.name);
        }
    }
    ScriptEnded();
    FindCommand(L"quit")(L"");
}

}  // namespace

std::vector<std::wstring> LeadingScriptAnswers() {
    std::vector<std::wstring> words;
    if (Host().options.script.empty()) return words;
    for (const std::wstring& raw : ReadScriptLines(Host().options.script)) {
        ScriptLine line = ParseScriptLine(raw);
        if (line.name.empty()) continue;
        if (line.name != L"answer") break;
        words.push_back(line.argument);
    }
    return words;
}

void Say(const std::wstring& line) { OutputLine(line); }
void SayUnsupported() { Say(L"unsupported"); }

std::wstring WindowTextOf(HWND window) {
    wchar_t text[4096] = {};
    DWORD_PTR ignored = 0;
    if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId())
        GetWindowTextW(window, text, 4096);
    else
        SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 2000, &ignored);
    return text;
}

std::wstring ClassNameOf(HWND window) {
    wchar_t name[128] = {};
    GetClassNameW(window, name, 128);
    return name;
}

HWND FindFrame() {
    std::vector<HWND> frames = HostFrames();
    return frames.empty() ? nullptr : frames.front();
}

namespace {

// Dialog 101 is known by its template, which leaves no trace on the window: it is the dialog
// in the frame that holds the view's tree, list or search box.
BOOL CALLBACK FindViewDialogIn(HWND window, LPARAM found) {
    if (ClassNameOf(window) != L"#32770") return TRUE;
    for (int id : {kTreeId, kListId, kSearchId}) {
        if (GetDlgItem(window, id)) {
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        }
    }
    return TRUE;
}

}  // namespace

HWND FindViewDialog() {
    HWND dialog = nullptr;
    for (HWND frame : HostFrames()) {
        EnumChildWindows(frame, FindViewDialogIn, reinterpret_cast<LPARAM>(&dialog));
        if (dialog) break;
    }
    return dialog;
}

HWND FindViewControl(int id) {
    HWND dialog = FindViewDialog();
    return dialog ? GetDlgItem(dialog, id) : nullptr;
}

HWND FindViewTarget(const std::wstring& name) {
    static const struct {
        const wchar_t* name;
        int id;
    } kControls[] = {{L"clear", kClearId}, {L"search", kSearchId}, {L"tree", kTreeId}, {L"list", kListId}};
    for (const auto& control : kControls)
        if (name == control.name) return FindViewControl(control.id);
    if (name == L"view") return FindViewDialog();
    if (name == L"frame") return FindFrame();
    return nullptr;
}

HWND ViewControlFromScript(int id) {
    HWND control = nullptr;
    RunOnUi([&] { control = FindViewControl(id); });
    return control;
}

void SettleUi(DWORD timeoutMs) {
    UniqueHandle delivered(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    RunOnUi([&] {
        HANDLE copy = nullptr;
        DuplicateHandle(GetCurrentProcess(), delivered.get(), GetCurrentProcess(), &copy, 0, FALSE,
                        DUPLICATE_SAME_ACCESS);
        PostMessageW(TaskWindow(), kMsgSignal, 0, reinterpret_cast<LPARAM>(copy));
    });
    WaitForSingleObject(delivered.get(), timeoutMs);
}

void StartScript(const std::wstring& path) { scriptThread = std::thread(RunScript, path); }

void StopAutomation() {
    if (scriptThread.joinable()) scriptThread.join();
    StopMessageBoxWatcherThread();
}
