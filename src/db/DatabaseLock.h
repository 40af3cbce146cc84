// The one process-wide lock around every use of either database connection, so that the
// user-interface thread and the scan worker never run SQLite at the same time.
#pragma once

#include "base/CriticalSection.h"

// Recursive: an operation that holds it may call others that take it again. Never hold it
// while waiting for a window or the user.
CriticalSection& DatabaseLock();
