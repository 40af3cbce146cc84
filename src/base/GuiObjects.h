// Counting the GDI and window-manager objects a process holds, so tests and the stand-in host
// can show that opening and closing something leaves none behind. Wine answers 0 to the usual
// question, so under Wine the handle table is walked instead.
#pragma once

#include <windows.h>

#include <map>
#include <vector>

struct GuiObjectCounts {
    DWORD gdi = 0;
    DWORD user = 0;
    bool operator==(const GuiObjectCounts& o) const { return gdi == o.gdi && user == o.user; }
};

GuiObjectCounts CountGuiObjects();
// The live GDI handles, for telling which kind of object a leak is.
std::vector<HGDIOBJ> LiveGdiObjects();
// Object type -> count among the handles in after that are not in before.
std::map<DWORD, int> NewGdiObjectTypes(const std::vector<HGDIOBJ>& before, const std::vector<HGDIOBJ>& after);
