// Single owners of GDI objects and device contexts, and the guard that puts a selected
// object back.
#pragma once

#include <windows.h>

#include "base/Unique.h"

struct DeleteObjectFree { void operator()(HGDIOBJ o) const { DeleteObject(o); } };
struct DeleteDcFree { void operator()(HDC dc) const { DeleteDC(dc); } };

using UniqueBitmap = Unique<HBITMAP, DeleteObjectFree>;
using UniqueFont = Unique<HFONT, DeleteObjectFree>;
using UniqueBrush = Unique<HBRUSH, DeleteObjectFree>;
using UniquePen = Unique<HPEN, DeleteObjectFree>;
using UniqueMemoryDc = Unique<HDC, DeleteDcFree>;

class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~SelectGuard() { SelectObject(dc_, old_); }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};
