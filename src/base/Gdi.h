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
using UniqueRegion = Unique<HRGN, DeleteObjectFree>;

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

// Puts back every setting of a device context (colours, modes, selected objects) that a
// drawing routine changed on a context it was lent, such as one handed over for painting.
class SavedDcState {
public:
    explicit SavedDcState(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    ~SavedDcState() {
        if (saved_) RestoreDC(dc_, saved_);
    }
    SavedDcState(const SavedDcState&) = delete;
    SavedDcState& operator=(const SavedDcState&) = delete;

private:
    HDC dc_;
    int saved_;
};
