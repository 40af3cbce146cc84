// The host's service manager and its application service, through which the plugin has its
// accelerators translated in the host's message loop.
#pragma once

#include <windows.h>

// Translates msg through the accelerator tables registered for its window or an ancestor.
bool TranslateRegisteredAccelerators(MSG& msg);

LRESULT OnServiceManager(WPARAM);
