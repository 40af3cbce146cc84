// Path checks with a time limit, on a thread of their own for drives that may hang.
#include "db/BoundedPathCheck.h"

#include <memory>

#include "base/Path.h"
#include "base/Unique.h"

namespace {

thread_local ULONGLONG conditionDeadline = 0;
// The drive or share that last answered within the running condition's time: asked directly
// for the rest of it, rather than on a thread of its own for every row. Plain data, as a
// thread-local object with a destructor is not safe in a module that may be unloaded.
thread_local ULONGLONG answeredFor = 0;
thread_local wchar_t answeredRoot[MAX_PATH] = {};

bool AnsweredBefore(const std::wstring& root) {
    return answeredFor == conditionDeadline && conditionDeadline && root == answeredRoot;
}

void NoteAnswered(const std::wstring& root) {
    if (root.empty() || root.size() >= MAX_PATH || !conditionDeadline) return;
    root.copy(answeredRoot, root.size());
    answeredRoot[root.size()] = L'\0';
    answeredFor = conditionDeadline;
}

struct PendingCheck {
    std::wstring path;
    volatile LONG exists = 0;
};

struct CheckStart {
    std::shared_ptr<PendingCheck> check;
    HMODULE module;
};

DWORD WINAPI CheckThread(void* parameter) {
    std::unique_ptr<CheckStart> start(static_cast<CheckStart*>(parameter));
    InterlockedExchange(&start->check->exists, PathExists(start->check->path) ? 1 : 0);
    HMODULE module = start->module;
    start.reset();
    FreeLibraryAndExitThread(module, 0);
}

// Fixed drives answer at once; network paths, mapped network drives and removable media may not.
bool OnFixedDrive(const std::wstring& path) {
    if (path.size() < 3 || path[1] != L':' || path[2] != L'\\') return false;
    return GetDriveTypeW(path.substr(0, 3).c_str()) == DRIVE_FIXED;
}

}  // namespace

std::optional<bool> PathExistsWithin(const std::wstring& path, DWORD waitMs) {
    if (OnFixedDrive(path)) return PathExists(path);
    std::wstring root = VolumeRootOf(path);
    if (!root.empty() && AnsweredBefore(root)) return PathExists(path);
    if (waitMs == 0) return std::nullopt;
    // The thread runs this module's code after the caller may have unloaded it: it holds the
    // module until it ends.
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&CheckThread), &module))
        return std::nullopt;
    auto check = std::make_shared<PendingCheck>();
    check->path = path;
    auto* start = new CheckStart{check, module};
    UniqueHandle thread(CreateThread(nullptr, 0, &CheckThread, start, 0, nullptr));
    if (!thread) {
        delete start;
        FreeLibrary(module);
        return std::nullopt;
    }
    if (WaitForSingleObject(thread.get(), waitMs) != WAIT_OBJECT_0) return std::nullopt;
    NoteAnswered(root);
    return InterlockedCompareExchange(&check->exists, 0, 0) != 0;
}

ULONGLONG ConditionDeadlineOfThisThread() { return conditionDeadline; }

void SetConditionDeadlineOfThisThread(ULONGLONG deadline) { conditionDeadline = deadline; }
