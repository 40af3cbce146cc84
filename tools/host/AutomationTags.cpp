// Commands that make the host as awkward as the real player can be: tag requests answered late
// or never, the file-information dialog letting the plugin go on, and playback that moves to
// the next entry by itself.
#include <windows.h>

#include "AutomationCommon.h"
#include "HostApp.h"
#include "HostPlayback.h"
#include "HostTagDelay.h"
#include "HostTasks.h"
#include "base/Text.h"
#include "logic/ScriptLine.h"

namespace {

// tag-delay MS|never [FILE]. Not run on the user-interface thread: it may be hung in a
// request this very command is to end.
void OnTagDelay(const std::wstring& argument) {
    std::vector<std::wstring> words = SplitWords(argument);
    TagDelay delay;
    if (words.empty() || words.size() > 2 || !ParseTagDelay(words[0], delay))
        return Say(L"tag-delay: expected milliseconds or never, and a file name");
    SetTagDelay(delay, words.size() > 1 ? words[1] : L"");
}

void OnFileInfoAnswer(const std::wstring& argument) {
    unsigned answer = 0;
    if (!ParseUnsigned(argument, answer)) return Say(L"file-info-answer: expected a number");
    RunOnUi([answer] { Host().options.fileInfoAnswer = answer; });
}

void OnAdvance(const std::wstring&) {
    RunOnUi([] { AdvancePlayback(); });
    SettleUi();
}

// Polls the host's playback on its thread until the condition holds; answers whether it did.
bool WaitForPlayback(const std::wstring& argument, bool (*done)()) {
    int limit = 10000;
    if (!argument.empty() && (!ParseInt(argument, limit) || limit < 0)) return false;
    DWORD start = GetTickCount();
    while (GetTickCount() - start < static_cast<DWORD>(limit)) {
        bool holds = false;
        RunOnUi([&] { holds = done(); });
        if (holds) {
            SettleUi();
            return true;
        }
        Sleep(50);
    }
    return false;
}

// wait-playing [MS]: until the host has told the plugin which file started; prints it.
void OnWaitPlaying(const std::wstring& argument) {
    if (!WaitForPlayback(argument, [] { return !StartedPath().empty(); })) return Say(L"timeout");
    std::wstring path;
    RunOnUi([&] { path = StartedPath(); });
    Say(L"playing " + path);
}

// wait-stopped [MS]: until playback has stopped, as after the last entry ended by itself.
void OnWaitStopped(const std::wstring& argument) {
    bool stopped = WaitForPlayback(argument, [] { return CurrentPlayback() == PlaybackState::kStopped; });
    Say(stopped ? L"stopped" : L"timeout");
}

}  // namespace

extern const CommandEntry kTagCommands[] = {
    {L"tag-delay", &OnTagDelay},
    {L"file-info-answer", &OnFileInfoAnswer},
    {L"advance", &OnAdvance},
    {L"wait-playing", &OnWaitPlaying},
    {L"wait-stopped", &OnWaitStopped},
    {nullptr, nullptr},
};
