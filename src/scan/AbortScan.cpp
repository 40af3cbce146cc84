// The abort-scan flag and its own lock.
#include "scan/AbortScan.h"

#include "base/CriticalSection.h"

namespace {
struct AbortFlag {
    CriticalSection lock;
    bool raised = false;
};
AbortFlag& Flag() {
    static AbortFlag flag;
    return flag;
}
}  // namespace

void RaiseAbortScan() {
    Lock lock(Flag().lock);
    Flag().raised = true;
}

void LowerAbortScan() {
    Lock lock(Flag().lock);
    Flag().raised = false;
}

bool AbortScanRaised() {
    Lock lock(Flag().lock);
    return Flag().raised;
}
