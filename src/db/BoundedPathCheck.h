// Whether a path exists, asked of a drive that may not answer. A condition calling FileExists()
// on every row runs under the database lock, which the player's thread waits for: a share that
// is offline keeps the system call blocked for tens of seconds, far past the bound the other
// parts of a condition keep.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

// The answer, or none when the drive did not give one within waitMs. A local fixed drive is
// asked directly, and so is a drive or share that already answered in time for the condition
// running on this thread; any other path on a thread of its own, which is left to finish by
// itself (holding the module loaded) when the wait ends first.
std::optional<bool> PathExistsWithin(const std::wstring& path, DWORD waitMs);

// The moment (GetTickCount64) by which the condition running on this thread must end, or 0
// when no bounded condition runs on it.
ULONGLONG ConditionDeadlineOfThisThread();
void SetConditionDeadlineOfThisThread(ULONGLONG deadline);
