// The waits of a slow or hanging host, first as the command line sets them. "Never" still ends: when the script changes the setting
// or quits, or, as a last resort for a run nobody watches, after two minutes, far beyond any
// time-out of the plugin.
#include "HostTagDelay.h"

#include <windows.h>

#include "HostApp.h"

namespace {

constexpr DWORD kNeverLimitMs = 120000;

// A critical section with the condition the waits sleep on; one per process.
class DelayState {
public:
    DelayState(TagDelay delay, const std::wstring& onlyFile) : delay_(delay), onlyFile_(onlyFile) {
        InitializeCriticalSection(&lock_);
    }
    ~DelayState() { DeleteCriticalSection(&lock_); }
    DelayState(const DelayState&) = delete;
    DelayState& operator=(const DelayState&) = delete;

    void Set(TagDelay delay, const std::wstring& onlyFile) {
        EnterCriticalSection(&lock_);
        delay_ = delay;
        onlyFile_ = onlyFile;
        ++generation_;
        LeaveCriticalSection(&lock_);
        WakeAllConditionVariable(&changed_);
    }

    void ReleaseForGood() {
        EnterCriticalSection(&lock_);
        released_ = true;
        LeaveCriticalSection(&lock_);
        WakeAllConditionVariable(&changed_);
    }

    void Wait(const wchar_t* path, bool onlyNewFile) {
        EnterCriticalSection(&lock_);
        std::wstring asked = path ? path : L"";
        bool newFile = asked != lastPath_;
        if (onlyNewFile) lastPath_ = asked;
        if (Applies(asked) && (newFile || !onlyNewFile)) WaitLocked();
        LeaveCriticalSection(&lock_);
    }

private:
    bool Applies(const std::wstring& path) const {
        if (released_ || (!delay_.never && delay_.ms == 0)) return false;
        if (onlyFile_.empty()) return true;
        size_t slash = path.find_last_of(L"\\/");
        std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
        return CompareStringOrdinal(name.c_str(), -1, onlyFile_.c_str(), -1, TRUE) == CSTR_EQUAL;
    }

    void WaitLocked() {
        unsigned generation = generation_;
        DWORD limit = delay_.never ? kNeverLimitMs : delay_.ms;
        DWORD start = GetTickCount();
        for (;;) {
            DWORD waited = GetTickCount() - start;
            if (released_ || generation != generation_ || waited >= limit) return;
            SleepConditionVariableCS(&changed_, &lock_, limit - waited);
        }
    }

    CRITICAL_SECTION lock_;
    CONDITION_VARIABLE changed_ = CONDITION_VARIABLE_INIT;
    TagDelay delay_;
    std::wstring onlyFile_;
    std::wstring lastPath_;
    unsigned generation_ = 0;
    bool released_ = false;
};

DelayState& State() {
    static DelayState state(Host().options.tagDelay, Host().options.tagDelayFile);
    return state;
}

}  // namespace

void SetTagDelay(TagDelay delay, const std::wstring& onlyFile) { State().Set(delay, onlyFile); }
void DelayFileRead(const wchar_t* path) { State().Wait(path, true); }
void DelayTitleRequest(const wchar_t* path) { State().Wait(path, false); }
void ReleaseTagDelays() { State().ReleaseForGood(); }
