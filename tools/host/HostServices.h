// The host's service manager and its application service, through which the plugin has its
// accelerators translated in the host's message loop.
#pragma once

#include <windows.h>

// Translates msg through the accelerator tables plugins registered, as their modes ask.
bool TranslateRegisteredAccelerators(MSG& msg);

LRESULT OnServiceManager(WPARAM);

// After the plugin quit: prints what it kept of the services (an interface not given back to
// its factory, accelerators still registered) and answers whether it gave everything back.
bool ReportServicesLeft();
