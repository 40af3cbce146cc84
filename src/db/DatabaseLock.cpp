// The process-wide database lock, created on first use.
#include "db/DatabaseLock.h"

CriticalSection& DatabaseLock() {
    static CriticalSection lock;
    return lock;
}
