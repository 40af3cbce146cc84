// Waiting on the interface thread for another thread that may send to it: sent messages are
// answered while waiting, so neither thread can end up waiting for the other.
#pragma once

#include <windows.h>

// Waits without limit until the object is signalled, handling only messages other threads
// send to this one; posted messages stay queued for the thread's own loop. Answers false when
// the wait itself fails.
bool WaitAnsweringSentMessages(HANDLE object);
