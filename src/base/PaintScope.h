// One WM_PAINT's painting: begun on construction and ended, validating the area, on leaving.
#pragma once

#include <windows.h>

class PaintScope {
public:
    explicit PaintScope(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintScope() {
        if (dc_) EndPaint(window_, &paint_);
    }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;

    HDC Dc() const { return dc_; }
    const RECT& Area() const { return paint_.rcPaint; }
    // Set when nobody erased the background before the paint.
    bool MustErase() const { return paint_.fErase != FALSE; }

private:
    HWND window_;
    PAINTSTRUCT paint_ = {};
    HDC dc_;
};
