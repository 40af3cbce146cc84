// Copies of what a device shows, for screenshots and pixel checks: a 32-bit top-down bitmap
// the size of the area, drawn into and then read back.
#pragma once

#include <windows.h>

#include <vector>

#include "base/Gdi.h"

class CaptureBitmap {
public:
    // Made compatible with the device the pixels will come from.
    CaptureBitmap(HDC source, int width, int height);
    ~CaptureBitmap();
    CaptureBitmap(const CaptureBitmap&) = delete;
    CaptureBitmap& operator=(const CaptureBitmap&) = delete;

    explicit operator bool() const { return bits_ != nullptr; }
    // Draw into this; the bitmap is selected into it while the object lives.
    HDC Dc() const { return dc_.get(); }
    // After drawing: 0x00RRGGBB values, row by row from the top.
    const DWORD* Pixels() const;

private:
    UniqueMemoryDc dc_;
    UniqueBitmap bitmap_;
    DWORD* bits_ = nullptr;
    HGDIOBJ original_ = nullptr;
};

// The screen's pixels of an area in screen coordinates, row by row, as 0x00RRGGBB.
bool ReadScreen(const RECT& area, std::vector<DWORD>& pixels);
