// The host's message loop.
#pragma once

#include <windows.h>

// Runs until the host quits; answers the exit code.
int RunHostMessageLoop();
