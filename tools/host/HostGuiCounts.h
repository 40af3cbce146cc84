// Counts of the process's GDI and USER objects, compared before the plugin is loaded and
// after it is unloaded to show what it leaked.
#pragma once

#include <windows.h>

struct GuiCounts {
    DWORD gdi;
    DWORD user;
};

GuiCounts CountGuiObjects();
