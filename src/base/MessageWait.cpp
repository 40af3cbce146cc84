// The waiting loop that keeps answering sent messages.
#include "base/MessageWait.h"

bool WaitAnsweringSentMessages(HANDLE object) {
    for (;;) {
        // Handles every message sent so far, and only those: a posted message dispatched here
        // could run a handler of an object that is half torn down.
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        DWORD woken = MsgWaitForMultipleObjectsEx(1, &object, INFINITE, QS_SENDMESSAGE, MWMO_INPUTAVAILABLE);
        if (woken == WAIT_OBJECT_0) return true;
        if (woken != WAIT_OBJECT_0 + 1) return false;
    }
}
