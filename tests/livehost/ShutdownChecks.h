// What the tests of the plugin's shutdown need besides the stand-in player: a guard that turns
// a deadlock into a failed test program instead of a hang, the threads of this process, and a
// way to hold another thread inside its send to this one.
#pragma once

#include <windows.h>

#include <set>
#include <thread>

#include "base/Unique.h"
#include "support/HangGuard.h"

// The ids of the threads of this process running now.
std::set<DWORD> ThreadsOfThisProcess();
// The threads running now that were not running before.
std::set<DWORD> ThreadsStartedSince(const std::set<DWORD>& before);

// Waits, without answering it, until another thread has sent this thread a message: the
// sender stays inside its send until this thread next handles sent messages.
bool WaitForSentMessage(DWORD timeoutMs);
// Delivers the next message posted to the window within the range, and nothing after it: a
// message another thread sends once that one is handled stays unanswered.
bool DeliverOnePosted(HWND window, UINT first, UINT last);
