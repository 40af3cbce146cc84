// How much processor time the plugin's own threads (its worker and folder watchers) have used:
// work a script waits for that changes nothing on screen for a while (a scan under load, a tag
// pass starting) still shows there.
#pragma once

#include <windows.h>

// The sum of user and kernel time, in 100 ns units, of this process's threads that started in
// the module's code. Threads the module started through its runtime start there too.
ULONGLONG PluginThreadsTime(HMODULE module);
