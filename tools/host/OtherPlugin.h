// A second plugin inside the stand-in host (--other-plugin), made as the plugins a real player
// runs beside ours are: once ours has started it subclasses the host's main window, playlist
// editor and frames and patches the common controls' scroll imports, each hook calling on to
// what it found; it quits last, after ours was unloaded, and puts back what it found. The host
// keeps using its windows and scrolling a list of its own throughout, so that whatever our
// plugin left in those chains is called.
#pragma once

#include <windows.h>

#include <vector>

#include "HostPlugin.h"

// Creates the host's list and hooks; on the user-interface thread, after the plugin's frame
// exists.
void StartOtherPlugin();
bool OtherPluginRunning();
// The windows the other plugin hooked: they carry its procedure, not the host's own.
bool OtherPluginHooked(HWND window);

// After our plugin quit: every hook of the other plugin is still in place and still hears its
// window or the list's scroll calls. Prints each one cut out and answers false.
bool OtherPluginHooksKept();
// After our plugin was unloaded: the host uses its windows and list, the other plugin quits and
// puts back what it found, and the host uses them again. Prints each window procedure or
// import entry (current, or kept by the other plugin) that leads into where the plugin was,
// and a line of what was checked; answers false when anything did.
bool OtherPluginOutlivesUnload(const ModuleRange& former);
